#include "record/RecordStore.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/PlainText.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"
#include "record/SingleLineValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace record {

namespace {

QString refusedCharacterText(const QString& name)
{
    static const QString refused = QStringLiteral("/\\:*?<>|\"");
    for (const QChar ch : name) {
        if (refused.contains(ch))
            return QStringLiteral("le caractère « %1 »").arg(ch);
        if (common::isControlCharacter(ch))
            return common::controlCharacterName(ch);
    }
    if (name.contains(QLatin1String("..")))
        return QStringLiteral("la suite de caractères « .. »");
    return QString();
}

// The name the user sees for the file a record was opened from: its extension in capitals.
QString shownOldName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot + 1) + fileName.mid(dot + 1).toUpper();
}

// The key under which a file's version is remembered: one key for the names common::sameFileName
// takes for one.
QString versionKey(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

// Two names of one file (common::sameFileName) that are not written with the same letters: their
// case differs somewhere. Composed or decomposed accents alone are no difference.
bool differsInCase(const QString& a, const QString& b)
{
    return a.normalized(QString::NormalizationForm_C) != b.normalized(QString::NormalizationForm_C);
}

QString renameMessage(const QString& oldName, const QString& newName)
{
    const QString lf = QStringLiteral("\n");
    return QStringLiteral("ATTENTION !") + lf + lf +
           QStringLiteral("Afin de garantir une cohésion d'ensemble et suite à la modification d'une des "
                          "caractèristiques de votre relevé, le nom du fichier initial ") +
           lf + lf + oldName + lf + lf + QStringLiteral(" va être renommé en ") + lf + lf + newName;
}

// Asks whether a file holding another record may be replaced; No is the default.
bool replaceAllowed(const QString& existingName)
{
    const QString text =
        QStringLiteral("Le fichier « %1 » existe déjà : il contient un autre relevé du même site "
                       "et du même passage.\n\nVoulez-vous le remplacer par le relevé que vous "
                       "enregistrez ?")
            .arg(existingName);
    return platform::dialogs().ask(
               text, platform::mb::YesNo | platform::mb::Exclamation | platform::mb::DefaultButton2,
               common::kProgramName) == platform::mb::Yes;
}

} // namespace

RecordStore::RecordStore(const QString& dataFolder) : m_folder(common::normalisePath(dataFolder)) {}

RecordStore RecordStore::fromSettings()
{
    return RecordStore(
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier));
}

QString RecordStore::fileName(const QString& siteName, int passage)
{
    return siteName + QStringLiteral("~Passage N") + QString::number(passage) + kRecordExtension;
}

int RecordStore::passageOfFileName(const QString& fileName)
{
    static const QRegularExpression re(QStringLiteral("~Passage N(\\d+)\\.[^.]*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(fileName);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString RecordStore::pathOf(const QString& fileName) const { return common::joinPath(m_folder, fileName); }

platform::Result RecordStore::checkFileName(const QString& name) const
{
    if (const QString refused = refusedCharacterText(name); !refused.isEmpty())
        return platform::Result::failure(
            QStringLiteral(
                "Le nom de fichier « %1 » contient %2, qui ne peut pas figurer dans un nom de fichier : "
                "veuillez le retirer du lieu-dit et des noms de l'observateur.")
                .arg(name, refused));
    if (const qsizetype bytes = name.toUtf8().size(); bytes > kMaxFileNameBytes)
        return platform::Result::failure(
            QStringLiteral(
                "Le nom de fichier « %1 » est trop long (%2 octets, %3 au plus) : veuillez raccourcir le "
                "lieu-dit ou les noms de l'observateur.")
                .arg(name)
                .arg(bytes)
                .arg(kMaxFileNameBytes));
    const QString folder = QDir::cleanPath(QFileInfo(m_folder).absoluteFilePath());
    const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
    if (name.trimmed().isEmpty() || QFileInfo(path).absolutePath() != folder)
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » ne serait pas dans le dossier des données « %2 ».")
                .arg(name, QDir::toNativeSeparators(m_folder)));
    return platform::Result::success();
}

QStringList RecordStore::siteFiles(const QString& siteName) const
{
    QStringList out;
    if (siteName.isEmpty())
        return out;
    const QStringList names = common::listFiles(m_folder, QStringLiteral("*") + kRecordExtension);
    for (const QString& n : names)
        if (n.startsWith(siteName, Qt::CaseInsensitive))
            out << n;
    return out;
}

QString RecordStore::latestFile(const QString& siteName) const
{
    const QStringList files = siteFiles(siteName);
    const auto latest = std::max_element(files.begin(), files.end(), [](const QString& a, const QString& b) {
        const int pa = passageOfFileName(a);
        const int pb = passageOfFileName(b);
        return pa != pb ? pa < pb : a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return latest == files.end() ? QString() : *latest;
}

StoredPassages RecordStore::storedPassages(const QString& siteName) const
{
    StoredPassages out;
    for (const QString& name : siteFiles(siteName)) {
        grid::Grid g;
        if (const platform::Result r = load(name, g); !r.ok) {
            out.unreadable << r.error;
            continue;
        }
        if (const int index = RecordLayout::passageIndexOf(g); index >= 0)
            out.passages << index;
    }
    return out;
}

grid::GridFile::Bounds RecordStore::fileBounds()
{
    grid::GridFile::Bounds b;
    b.kind = QStringLiteral("un relevé");
    b.bytes = file::kMaxFileBytes;
    b.rows = file::kMaxFileRows;
    b.cells = file::kMaxFileCells;
    return b;
}

platform::Result RecordStore::checkFileBounds(const grid::Grid& written, const QByteArray& complete)
{
    if (const platform::Result r = grid::GridFile::checkBounds(written, complete, fileBounds()); !r.ok)
        return platform::Result::failure(
            QStringLiteral("Le relevé n'est pas enregistré : %1. Veuillez raccourcir les commentaires, les "
                           "autres textes saisis ou les listes d'espèces.")
                .arg(r.error));
    return platform::Result::success();
}

platform::Result RecordStore::load(const QString& name, grid::Grid& grid) const
{
    const platform::ResultOf<QString> lookup = common::findDataFile(m_folder, name);
    if (!lookup)
        return lookup.result;
    const QString& found = lookup.value;
    if (found.isEmpty())
        return platform::Result::failure(
            platform::readFailureText(pathOf(name), QStringLiteral("il n'existe pas")));
    // Taken before the read: a change made while the file is read is seen at the next save.
    const platform::FileVersion version = platform::fileVersion(found);
    platform::Result loaded = grid::GridFile::load(grid, found, grid::GridFile::Complete, fileBounds());
    if (loaded.ok)
        remember(QFileInfo(found).fileName(), version);
    return loaded;
}

RecordReadResult RecordStore::open(const QString& name, const ReadOptions& options) const
{
    grid::Grid g;
    if (platform::Result r = load(name, g); !r.ok)
        return {r, {}};
    RecordReadResult read = RecordLayout::read(g, options);
    if (!read.result.ok)
        read.result.error = platform::readFailureText(pathOf(name), read.result.error);
    return read;
}

platform::FileVersion RecordStore::rememberedVersion(const QString& name) const
{
    return m_versions.value(versionKey(name));
}

void RecordStore::remember(const QString& name, const platform::FileVersion& version) const
{
    if (version.exists())
        m_versions.insert(versionKey(name), version);
    else
        m_versions.remove(versionKey(name));
}

QString RecordStore::changedQuestion(const QString& name)
{
    return QStringLiteral(
               "ATTENTION !\n\nLe fichier « %1 » a été modifié depuis que vous l'avez ouvert ou "
               "enregistré, sans doute par une autre copie du programme.\n\nVoulez-vous le "
               "remplacer par le relevé que vous enregistrez ?\n\nOui : le fichier est remplacé et "
               "les modifications de l'autre copie sont perdues.\nNon : rien n'est enregistré, la "
               "fenêtre reste ouverte avec vos données.")
        .arg(name);
}

QString RecordStore::goneMessage(const QString& name, const QString& newName)
{
    return QStringLiteral(
               "ATTENTION !\n\nLe fichier « %1 » n'existe plus : il a été renommé ou supprimé depuis "
               "que vous l'avez ouvert ou enregistré, sans doute par une autre copie du "
               "programme.\n\nVotre relevé va être enregistré comme un nouveau relevé sous le nom "
               "« %2 ».")
        .arg(name, newName);
}

SaveResult RecordStore::save(const SurveyRecord& record, const QString& openedFileName,
                             grid::Grid* written) const
{
    SaveResult out;
    if (record.passage < 1 || record.passage > kPassageCount) {
        out.result = platform::Result::failure(
            QStringLiteral("Le relevé n'est pas enregistré : son numéro de passage n'est pas choisi."));
        return out;
    }
    if (out.result = checkSingleLineValues(record); !out.result.ok)
        return out;
    const QString name = fileName(record.siteName, record.passage);
    if (out.result = checkFileName(name); !out.result.ok)
        return out;
    // A record that no reader would take again is not written, and nothing is asked.
    grid::Grid local;
    grid::Grid& grid = written ? *written : local;
    RecordLayout::write(record, grid);
    const QByteArray bytes = grid::GridFile::toComplete(grid);
    if (out.result = checkFileBounds(grid, bytes); !out.result.ok)
        return out;
    const auto tell = [](const QString& text) {
        platform::dialogs().ask(text, platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
    };
    const auto notSaved = [&out](const QString& path) {
        out.declined = true;
        out.result = platform::Result::failure(
            QStringLiteral("Le relevé n'est pas enregistré : le fichier « %1 » est conservé.")
                .arg(QFileInfo(path).fileName()));
        return true;
    };
    // Keeps the file of another record, unless the user says it may be replaced.
    const auto keptUnlessReplaced = [&notSaved](const QString& path) {
        return !replaceAllowed(QFileInfo(path).fileName()) && notSaved(path);
    };
    // Keeps the file that another copy changed since this store read or wrote it, unless the
    // user says it may be replaced.
    const auto keptAfterChange = [&notSaved](const QString& path) {
        const int answer = platform::dialogs().ask(changedQuestion(QFileInfo(path).fileName()),
                                                   platform::mb::YesNo | platform::mb::Exclamation |
                                                       platform::mb::DefaultButton2,
                                                   common::kProgramName);
        return answer != platform::mb::Yes && notSaved(path);
    };

    // The file the record was opened from (or last written to). Gone, renamed or set aside by
    // another copy, even between being found and being checked: the user is told, and the record
    // is saved as a new record.
    QString opened;
    platform::FileVersion current;
    if (!openedFileName.isEmpty()) {
        opened = common::findFile(m_folder, openedFileName);
        if (!opened.isEmpty()) {
            if (m_beforeOpenedFileCheck)
                m_beforeOpenedFileCheck();
            current = platform::fileVersion(opened);
        }
        if (!current.exists()) {
            opened.clear();
            tell(goneMessage(openedFileName, name));
        }
    }
    const bool modifying = !opened.isEmpty();
    const bool sameFile = modifying && common::sameFileName(shownOldName(openedFileName), name);

    // The version of the opened file that this save may replace or remove: the one read or last
    // written, or, when another copy changed it since, the one the user agreed to replace.
    platform::FileVersion expected;
    if (modifying) {
        const platform::FileVersion known = rememberedVersion(QFileInfo(opened).fileName());
        expected = known.exists() ? known : current;
        if (!(expected == current)) {
            if (keptAfterChange(opened))
                return out;
            expected = current;
        }
    }

    QString existing = common::findFile(m_folder, name);
    QString target = pathOf(name);
    platform::FileVersion replaced; // the version of the target that is replaced; none for a new file
    if (sameFile) {
        target = opened;
        replaced = expected;
    } else {
        if (modifying)
            tell(renameMessage(shownOldName(openedFileName), name));
        if (!existing.isEmpty()) {
            if (keptUnlessReplaced(existing))
                return out;
            target = existing;
            replaced = platform::fileVersion(existing);
        }
    }

    platform::FileVersion version;
    bool newFile = false;
    // A record given a new name keeps the permissions of its former file.
    const int mode = modifying && !sameFile ? platform::fileMode(opened) : -1;
    for (int attempt = 0;; ++attempt) {
        if (attempt == 10) {
            out.result = platform::Result::failure(platform::writeFailureText(
                target, QStringLiteral("un autre programme le modifie sans cesse")));
            return out;
        }
        if (!replaced.exists()) {
            // A new name: written only where no file is, so that a record that another copy of the
            // program saves under the same name at the same time is never replaced without the
            // question.
            out.result = platform::saveNewFile(target, bytes, &version, mode);
            if (out.result.ok) {
                newFile = true;
                break;
            }
            if ((existing = common::findFile(m_folder, name)).isEmpty())
                return out;
            if (keptUnlessReplaced(existing))
                return out;
            target = existing;
            replaced = platform::fileVersion(existing);
            continue;
        }
        // Written over only the version checked: another copy's save in between is asked about
        // again, a file gone in between is told and the record written as a new one.
        const platform::GuardedResult over = platform::replaceFile(target, bytes, replaced);
        if (over.outcome == platform::GuardedResult::Done) {
            out.result = platform::Result::success();
            version = over.version;
            break;
        }
        if (over.outcome == platform::GuardedResult::Failed) {
            out.result = over.result;
            return out;
        }
        if (over.outcome == platform::GuardedResult::Gone) {
            tell(goneMessage(QFileInfo(target).fileName(), name));
            target = pathOf(name);
        } else if (keptAfterChange(target)) {
            return out;
        }
        replaced = over.version;
    }
    out.fileName = QFileInfo(target).fileName();
    out.listChanged = !sameFile || newFile;
    if (sameFile && differsInCase(out.fileName, name)) {
        // Only the case of some letters changed: the file takes the name as it is now written.
        if (const platform::Result renamed = common::renameFile(target, pathOf(name)); renamed.ok) {
            version = platform::versionAfterRename(version, pathOf(name));
            out.fileName = name;
            out.listChanged = true;
        } else {
            out.notice = QStringLiteral("Le relevé est enregistré sous « %1 », mais ce fichier ne peut pas "
                                        "prendre le nom « %2 ». %3")
                             .arg(out.fileName, name, renamed.error);
        }
    }
    remember(out.fileName, version);

    if (modifying && !sameFile) {
        // The former file goes only when it is still the version checked; another copy's save
        // made in between stays.
        const platform::GuardedResult removed = platform::removeFile(opened, expected);
        const QString oldName = QFileInfo(opened).fileName();
        if (removed.outcome == platform::GuardedResult::Done ||
            removed.outcome == platform::GuardedResult::Gone)
            remember(oldName, {});
        else if (removed.outcome == platform::GuardedResult::Changed)
            out.notice =
                QStringLiteral("Le relevé est enregistré sous « %1 », mais l'ancien fichier « %2 » a été "
                               "modifié par une autre copie du programme pendant l'enregistrement : il "
                               "est conservé.")
                    .arg(out.fileName, oldName);
        else
            out.notice = QStringLiteral("Le relevé est enregistré sous « %1 », mais l'ancien fichier « %2 » "
                                        "n'est pas supprimé. %3")
                             .arg(out.fileName, oldName, removed.result.error);
    }
    return out;
}

QString RecordStore::asideName(const QString& name)
{
    QString aside = name;
    aside.replace(QLatin1Char('-'), QLatin1Char('@'));
    const qsizetype dot = aside.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && aside.mid(dot + 1).compare(QLatin1String("FLX"), Qt::CaseInsensitive) == 0)
        aside.insert(dot + 1, QLatin1Char('@'));
    return aside;
}

SetAsideResult RecordStore::setAside(const QString& name) const
{
    SetAsideResult out;
    // why: the sentences that say why, each with its period.
    auto failure = [&](const QString& why) {
        out.result = platform::Result::failure(
            QStringLiteral("Le fichier « %1 » ne peut pas être mis de côté. %2").arg(pathOf(name), why));
        return out;
    };
    const platform::ResultOf<QString> found = common::findDataFile(m_folder, name);
    if (!found) {
        out.result = found.result;
        return out;
    }
    const QString& source = found.value;
    if (source.isEmpty())
        return failure(QStringLiteral("Il n'existe pas."));

    const QString aside = asideName(QFileInfo(source).fileName());
    const QString candidate = common::freeName(m_folder, aside);

    if (const platform::Result renamed = common::renameFile(source, pathOf(candidate)); !renamed)
        return failure(renamed.error);
    out.result = platform::Result::success();
    out.fileName = candidate;
    return out;
}

} // namespace record
