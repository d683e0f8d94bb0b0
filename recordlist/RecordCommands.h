#pragma once
// The record list's commands without their window: the new-record choices and "Modifier un
// relevé" turn into an explicit request for the record window, after the user's confirmation;
// "Supprimer un relevé" sets aside exactly the files selected. Boxes go through the platform's
// dialogs, titled with the program's name (the deletion's with its own title).

#include "record/RecordRequest.h"
#include "record/RecordStore.h"
#include "record/SurveyRecord.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace recordlist {

// What the record window is asked to open (the record core's type).
using RecordRequest = record::RecordRequest;

// The three choices of the new-record frame, by their index.
enum class NewRecordChoice : int { NewSite = 0, NewPassage = 1, NextWinter = 2 };

struct NewRecordAnswer
{
    std::optional<RecordRequest> request; // nothing: the user said No, or no site was chosen
    bool siteMissing = false;             // the site list must get the focus
};

// "Valider": a new passage or a new winter needs a site (empty: none chosen), told by "Veuillez
// choisir un carré"; each choice is then confirmed by a Yes/No question.
NewRecordAnswer confirmNewRecord(NewRecordChoice choice, const QString& site);

// "Modifier un relevé" on a line: nothing for a line without a file or whose site is "NON
// ATTRIBUE"; otherwise the confirmation, and the request to open the file.
std::optional<RecordRequest> confirmModify(const QString& fileName, const QString& siteName);

// The question asked before setting aside the files: their number, or the name of the only one,
// and how the files are renamed.
QString deletionQuestion(const QStringList& fileNames);
inline const QString kDeletionTitle = QStringLiteral("SHOC - Suppression d'un relevé");

struct DeletionOutcome
{
    bool confirmed = false;
    QStringList setAside; // the files set aside, under their former names
    QStringList failures; // why a file could not be set aside, one text per file
    bool listChanged() const { return !setAside.isEmpty(); }
};

// "Supprimer un relevé" on the selected files: the question, then each file set aside (its "-"
// turned into "@"; a name already taken is never replaced), then one box telling the result.
DeletionOutcome deleteRecords(const record::RecordStore& store, const QStringList& fileNames);

} // namespace recordlist
