#pragma once
// The departments of the user's study area, kept as the setting "Paramètres"/"Départements
// d'étude": "%" for every department, otherwise codes separated by ";", sorted, without
// duplicates ("07;26;38"). A code is one or two digits with a value other than zero, written
// with two digits, or "2A" / "2B" for Corsica.

#include <QString>

namespace mainwindow {

inline const QString kStudyDepartmentsValue = QStringLiteral("Départements d'étude");
inline const QString kStudyDepartmentsTitle = QStringLiteral("Sélection des départements d'étude");
// The input box's prompt.
QString studyDepartmentsPrompt();
// The message for a wrong item, the item as typed.
QString wrongDepartmentMessage(const QString& item);

struct DepartmentList
{
    bool valid = true;
    // The normalised list; empty when every item was blank or when the list is not valid.
    QString list;
    // The first wrong item, as typed, when the list is not valid.
    QString wrongItem;
};

// Checks and normalises a typed list. Items are split at ";". A blank item is dropped; "%"
// (blanks around it allowed) is kept as "%". Any other item must be at most two characters
// long as typed and, without its blanks, one or two digits of non-zero value (written back with
// two digits) or 2A / 2B in either case (written in capitals); the first item that is not
// makes the list invalid. Items are then sorted by their text and duplicates dropped.
DepartmentList normaliseDepartments(const QString& typed);

enum class StudyDepartmentsOutcome { Saved, Cancelled, Empty, WriteFailed };

// The "Départements d'étude" item: asks for the list, proposing the stored one (default "%"),
// refuses a wrong item with its message and asks again with the typed answer; saves the
// normalised list. An empty answer (Cancel) leaves the setting unchanged, and so does a list
// of blank items only.
StudyDepartmentsOutcome askStudyDepartments();

} // namespace mainwindow
