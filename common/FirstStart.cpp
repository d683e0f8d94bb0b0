#include "common/FirstStart.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

namespace mb = platform::mb;

namespace {

const QString kAucunDossier = QStringLiteral("????????");
const QChar kLineFeed = QLatin1Char('\n');

bool isSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

void stampVersion()
{
    // A failed write is told by the settings layer.
    static_cast<void>(
        sub_Reg_Write_HKLM(common::kVersionSection, QStringLiteral("Version"), common::kProgramVersion));
    static_cast<void>(
        sub_Reg_Write_HKLM(common::kVersionSection, QStringLiteral("Release"), common::kProgramRelease));
}

void tell(const QString& texte, int style = mb::OKOnly | mb::Exclamation)
{
    platform::dialogs().ask(texte, style, common::kProgramName);
}

// Proposes to move a folder recorded before this version to the standard folder.
void proposeRename(const QString& enregistre)
{
    const QString standard = common::proposedDataFolder();
    if (standard == enregistre)
        return;
    const QString titre = QStringLiteral("Nouvelle version de Tessilon");
    const QString texte =
        titre + kLineFeed + kLineFeed +
        QStringLiteral("A l'occasion du premier démarrage de Tessilon sur votre ordinateur, et "
                       "dans un soucis de standardisation,") +
        kLineFeed +
        QStringLiteral("nous vous proposons de normaliser le dossier de stockage de vos "
                       "fichiers EPS ") +
        kLineFeed + enregistre + QStringLiteral(" en le nommant ") + standard + kLineFeed + kLineFeed +
        QStringLiteral("Acceptez-vous cette modificaition ?");
    if (platform::dialogs().ask(texte, mb::YesNo | mb::Question, titre) != mb::Yes)
        return;
    if (QFileInfo::exists(standard) || !QDir().rename(common::normalisePath(enregistre), standard)) {
        tell(QStringLiteral("Le dossier ") + enregistre + QStringLiteral(" n'a pas pu être renommé en ") +
             standard + QStringLiteral(".") + kLineFeed + kLineFeed +
             QStringLiteral("Vos fichiers restent dans le dossier ") + enregistre +
             QStringLiteral(", qui reste le dossier de ") + common::kProgramName + QStringLiteral("."));
        return;
    }
    gstr_Dossier = standard;
    static_cast<void>(
        sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier));
    if (const platform::Result sonde = common::probeFolder(gstr_Dossier); !sonde)
        tell(QStringLiteral("Problème sur le dossier ") + gstr_Dossier + kLineFeed + kLineFeed + sonde.error);
}

// Asks where the data folder goes until a usable folder is chosen or the user gives up.
common::StartOutcome firstFolder(const common::FolderChoice& choisir)
{
    for (;;) {
        gstr_Dossier = common::proposedDataFolder();
        const QString texte =
            QStringLiteral("Premier démarrage de ") + common::kProgramName + kLineFeed + kLineFeed +
            QStringLiteral(
                "Désignation du dossier qui contiendra les fichiers de vos futurs relevés de terrain.") +
            kLineFeed + kLineFeed +
            QStringLiteral(
                "Dans un soucis de standardisation et pour faciliter d'éventuelles maintenances, nous "
                "vous proposons de le nommer ") +
            gstr_Dossier + QStringLiteral(".") + kLineFeed + kLineFeed + kLineFeed +
            QStringLiteral("Souhaitez-vous créer le dossier proposé (OUI) ou bien choisir vous même "
                           "l'emplacement et le nom du dossier (NON) ?");
        const int reponse =
            platform::dialogs().ask(texte, mb::YesNoCancel | mb::Question, common::kProgramName);
        if (reponse == mb::Cancel || reponse == 0)
            return common::StartOutcome::Quit;
        if (reponse == mb::No) {
            const QString titre = common::kProgramName + QStringLiteral(" - Sélection du dossier dédié à ") +
                                  common::kProgramName;
            const QString choisi = choisir ? choisir(titre, gstr_Dossier) : QString();
            if (choisi.trimmed().isEmpty())
                return common::StartOutcome::Quit;
            gstr_Dossier = common::normalisePath(choisi.trimmed());
        }
        const platform::Result sonde = common::probeFolder(gstr_Dossier);
        if (sonde) {
            // A failed write is told by the settings layer; the folder holds for this session.
            static_cast<void>(
                sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier));
            return common::StartOutcome::Continue;
        }
        tell(QStringLiteral("Le dossier ") + gstr_Dossier +
             QStringLiteral(" ne peut pas être créé ou ne peut pas recevoir de fichiers.") + kLineFeed +
             kLineFeed + sonde.error + kLineFeed + kLineFeed +
             QStringLiteral("Veuillez choisir un autre dossier."));
    }
}

} // namespace

common::PathParts sub_Split_Path(const QString& chemin)
{
    common::PathParts r;
    const QString texte = chemin.trimmed();
    QString reste = texte;
    if (texte.size() >= 2 && texte[1] == QLatin1Char(':')) {
        r.drive = texte.left(2);
        reste = texte.mid(2);
    }
    bool extensionTrouvee = false;
    bool separateurTrouve = false;
    for (int i = int(reste.size()) - 1; i >= 0; --i) {
        const QChar c = reste[i];
        if (c == QLatin1Char('.') && !extensionTrouvee) {
            r.extension = reste.mid(i);
            reste.truncate(i);
            extensionTrouvee = true;
        } else if (isSeparator(c)) {
            const int apres = int(reste.size()) - i - 1;
            if (apres >= 1 && apres <= 255) {
                r.name = reste.mid(i + 1);
                reste.truncate(i + 1);
                separateurTrouve = true;
                break;
            }
        }
    }
    if (separateurTrouve)
        r.folder = reste;
    else
        r.name = reste;
    if (!r.folder.isEmpty() && isSeparator(r.folder.back()))
        r.folder.chop(1);
    if (r.extension.startsWith(QLatin1Char('.')))
        r.extension.remove(0, 1);
    return r;
}

qint16 sub_Vérif_Dossier(const QString& chemin)
{
    const QString texte = chemin.trimmed();
    if (texte.isEmpty())
        return -1;
    const common::PathParts d = sub_Split_Path(texte);
    if (d.folder.trimmed().isEmpty() && d.name.size() == 1 && isSeparator(d.name[0]) &&
        d.extension.trimmed().isEmpty())
        return -1;
    const QString local = common::normalisePath(texte);
    const QFileInfo info(local);
    if (info.exists()) {
        if (info.isDir() && info.isExecutable())
            return 0;
        tell(QStringLiteral("Problème sur le dossier ") + texte, mb::OKOnly);
        return -1;
    }
    const QString question = QStringLiteral("Le dossier ") + texte + QStringLiteral(" n'existe pas.") +
                             kLineFeed + kLineFeed + QStringLiteral("Voulez-vous le créer maintenant ?");
    if (platform::dialogs().ask(question, mb::OKCancel, common::kProgramName) != mb::OK)
        return -1;
    if (!QDir().mkpath(local)) {
        tell(QStringLiteral("Problème sur le dossier ") + texte, mb::OKOnly);
        return -1;
    }
    return 0;
}

QString common::proposedDataFolder() { return common::joinPath(QDir::homePath(), common::kProgramName); }

platform::Result common::probeFolder(const QString& dossier)
{
    const QString local = common::normalisePath(dossier);
    if (local.isEmpty() || !QDir().mkpath(local))
        return platform::Result::failure(QStringLiteral("Le dossier n'a pas pu être créé."));
    // The probe is a new file of its own, "textbellorin" with a unique part: no file the user
    // keeps in the folder is ever opened, and the probe goes when it has answered. One byte is
    // written and flushed, so that a full disk answers as well.
    QTemporaryFile sonde(common::joinPath(local, QStringLiteral("textbellorin-XXXXXX.txt")));
    errno = 0;
    if (!sonde.open() || sonde.write("x", 1) != 1 || !sonde.flush()) {
        const int raison = errno;
        return platform::Result::failure(
            QStringLiteral("Aucun fichier ne peut être écrit dans le dossier « %1 » : %2.")
                .arg(QDir::toNativeSeparators(local), platform::fileErrorReason(raison)));
    }
    return platform::Result::success();
}

common::StartOutcome sub_Init_Version_Dossier(const common::FolderChoice& choisir)
{
    const QString version =
        fun_Get_Setting_Str(common::kVersionSection, QStringLiteral("Version"), QStringLiteral("?"));
    const QString enregistre =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), kAucunDossier);
    if (version == QLatin1String("?") || enregistre == kAucunDossier) {
        stampVersion();
        if (enregistre != kAucunDossier) {
            gstr_Dossier = enregistre;
            if (version == QLatin1String("?"))
                proposeRename(enregistre);
        } else if (firstFolder(choisir) == common::StartOutcome::Quit) {
            return common::StartOutcome::Quit;
        }
    } else {
        gstr_Dossier = enregistre;
    }
    stampVersion();
    return common::StartOutcome::Continue;
}
