#include "record/RecordStore.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>

namespace record {

namespace {

// Characters that a name cannot show as they are: the control characters (C0, DEL, C1), the
// line and paragraph separators, and the marks that change the direction of the text, which
// make a name read otherwise than it is.
bool isControlCharacter(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString refusedCharacterText(const QString& name)
{
    static const QString refused = QStringLiteral("/\\:*?<>|\"");
    for (const QChar ch : name) {
        if (refused.contains(ch))
            return QStringLiteral("le caractère « %1 »").arg(ch);
        if (isControlCharacter(ch.unicode()))
            return QStringLiteral("un caractère de contrôle (U+%1)")
                .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
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

platform::Result RecordStore::load(const QString& name, grid::Grid& grid) const
{
    const QString found = common::findFile(m_folder, name);
    if (found.isEmpty())
        return platform::Result::failure(
            platform::readFailureText(pathOf(name), QStringLiteral("il n'existe pas")));
    return grid::GridFile::load(grid, found, grid::GridFile::Complete, fileBounds());
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

SaveResult RecordStore::save(const SurveyRecord& record, const QString& openedFileName,
                             grid::Grid* written) const
{
    SaveResult out;
    if (record.passage < 1 || record.passage > kPassageCount) {
        out.result = platform::Result::failure(
            QStringLiteral("Le relevé n'est pas enregistré : son numéro de passage n'est pas choisi."));
        return out;
    }
    const QString name = fileName(record.siteName, record.passage);
    if (out.result = checkFileName(name); !out.result.ok)
        return out;

    QString existing = common::findFile(m_folder, name);
    const bool modifying = !openedFileName.isEmpty();
    const bool sameFile = modifying && common::sameFileName(shownOldName(openedFileName), name);
    // Keeps the file of another record, unless the user says it may be replaced.
    const auto keptUnlessReplaced = [&out](const QString& path) {
        if (replaceAllowed(QFileInfo(path).fileName()))
            return false;
        out.declined = true;
        out.result = platform::Result::failure(
            QStringLiteral("Le relevé n'est pas enregistré : le fichier « %1 » est conservé.")
                .arg(QFileInfo(path).fileName()));
        return true;
    };
    QString target = pathOf(name);
    if (sameFile) {
        const QString opened = common::findFile(m_folder, openedFileName);
        target = opened.isEmpty() ? pathOf(openedFileName) : opened;
    } else {
        if (modifying)
            platform::dialogs().ask(renameMessage(shownOldName(openedFileName), name),
                                    platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
        if (!existing.isEmpty()) {
            if (keptUnlessReplaced(existing))
                return out;
            target = existing;
        }
    }

    grid::Grid local;
    grid::Grid& grid = written ? *written : local;
    RecordLayout::write(record, grid);
    if (sameFile || !existing.isEmpty()) {
        out.result = grid::GridFile::save(grid, target, grid::GridFile::Complete, true);
    } else {
        // A new name: written only where no file is, so that a record that another copy of the
        // program saves under the same name at the same time is never replaced without the
        // question.
        out.result = grid::GridFile::saveNew(grid, target, grid::GridFile::Complete, true);
        if (!out.result.ok && !(existing = common::findFile(m_folder, name)).isEmpty()) {
            if (keptUnlessReplaced(existing))
                return out;
            target = existing;
            out.result = grid::GridFile::save(grid, target, grid::GridFile::Complete, true);
        }
    }
    if (!out.result.ok)
        return out;
    out.fileName = QFileInfo(target).fileName();
    out.listChanged = !sameFile;
    if (sameFile && differsInCase(out.fileName, name)) {
        // Only the case of some letters changed: the file takes the name as it is now written.
        if (const platform::Result renamed = common::renameFile(target, pathOf(name)); renamed.ok) {
            out.fileName = name;
            out.listChanged = true;
        } else {
            out.notice = QStringLiteral("Le relevé est enregistré sous « %1 », mais ce fichier ne peut pas "
                                        "prendre le nom « %2 ». %3")
                             .arg(out.fileName, name, renamed.error);
        }
    }

    if (modifying && !sameFile) {
        const QString old = common::findFile(m_folder, openedFileName);
        errno = 0;
        if (!old.isEmpty() && !QFile::remove(old))
            out.notice =
                QStringLiteral("Le relevé est enregistré sous « %1 », mais l'ancien fichier « %2 » ne peut "
                               "pas être supprimé : %3.")
                    .arg(out.fileName, QFileInfo(old).fileName(), platform::fileErrorReason(errno));
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
    if (platform::Result plain = common::checkPlainName(m_folder, name); !plain) {
        out.result = plain;
        return out;
    }
    const QString source = common::findFile(m_folder, name);
    if (source.isEmpty())
        return failure(QStringLiteral("Il n'existe pas."));

    const QString aside = asideName(QFileInfo(source).fileName());
    QString candidate = common::numberedName(aside, 1);
    for (int k = 2; !common::findFile(m_folder, candidate).isEmpty(); ++k)
        candidate = common::numberedName(aside, k);

    if (const platform::Result renamed = common::renameFile(source, pathOf(candidate)); !renamed)
        return failure(renamed.error);
    out.result = platform::Result::success();
    out.fileName = candidate;
    return out;
}

} // namespace record
