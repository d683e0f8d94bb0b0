#include "recordlist/RecordCommands.h"

#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "recordlist/RecordListing.h"

namespace recordlist {

namespace mb = platform::mb;

namespace {

bool yes(const QString& text, int icon = 0)
{
    return platform::dialogs().ask(text, mb::YesNo | icon, common::kProgramName) == mb::Yes;
}

} // namespace

NewRecordAnswer confirmNewRecord(NewRecordChoice choice, const QString& site)
{
    NewRecordAnswer out;
    if (choice == NewRecordChoice::NewSite) {
        if (yes(QStringLiteral("Confirmez votre intention de créer un nouveau site"), mb::Exclamation))
            out.request = RecordRequest{record::RecordMode::New, {}, {}};
        return out;
    }
    if (site.isEmpty()) {
        platform::dialogs().ask(QStringLiteral("Veuillez choisir un carré"), mb::OKOnly,
                                common::kProgramName);
        out.siteMissing = true;
        return out;
    }
    if (yes(QStringLiteral("Confirmez votre intention d'ajouter un relevé dans le site ") + site)) {
        const auto mode = choice == NewRecordChoice::NewPassage ? record::RecordMode::NewPassage
                                                                : record::RecordMode::NextWinter;
        out.request = RecordRequest{mode, {}, site};
    }
    return out;
}

std::optional<RecordRequest> confirmModify(const QString& fileName, const QString& siteName)
{
    if (fileName.isEmpty() || siteName == kUnassignedSite)
        return std::nullopt;
    if (!yes(QStringLiteral("Confirmez votre intention de modifier l'EPS ") + fileName))
        return std::nullopt;
    return RecordRequest{record::RecordMode::Update, fileName, siteName};
}

QString deletionQuestion(const QStringList& fileNames)
{
    const QString what =
        fileNames.size() == 1
            ? QStringLiteral("Confirmez votre intention de supprimer le relevé SHOC ") + fileNames.first()
            : QStringLiteral("Confirmez votre intention de supprimer %1 relevés SHOC").arg(fileNames.size());
    return what +
           QStringLiteral("\n\nNota : la suppression consiste en fait au changement de nom du fichier qui "
                          "sera renommé selon la règle suivante : les tirets inclus dans le nom du "
                          "fichier seront remplacés par des @");
}

DeletionOutcome deleteRecords(const record::RecordStore& store, const QStringList& fileNames)
{
    DeletionOutcome out;
    if (fileNames.isEmpty())
        return out;
    if (platform::dialogs().ask(deletionQuestion(fileNames), mb::YesNo | mb::Question, kDeletionTitle) !=
        mb::Yes)
        return out;
    out.confirmed = true;
    for (const QString& name : fileNames) {
        const record::SetAsideResult r = store.setAside(name);
        if (r.result.ok)
            out.setAside << name;
        else
            out.failures << r.result.error;
    }
    if (out.failures.isEmpty())
        platform::dialogs().ask(QStringLiteral("Suppression effectuée"), mb::OKOnly | mb::Information,
                                kDeletionTitle);
    else
        platform::dialogs().ask(QStringLiteral("Erreur de suppression : ") + out.failures.join(u'\n'),
                                mb::OKOnly | mb::Critical, kDeletionTitle);
    return out;
}

} // namespace recordlist
