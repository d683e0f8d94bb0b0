#include "common/Paths.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace {
QString g_programFolder;
// The longest file name the file systems take, in bytes (UTF-8).
} // namespace

QString common::programFolder() { return g_programFolder; }

void common::setProgramFolder(const QString& dossier) { g_programFolder = common::normalisePath(dossier); }

QString common::defaultProgramFolder()
{
    const QString home = qEnvironmentVariable("MIRELOT_HOME");
    if (!home.isEmpty())
        return common::joinPath(common::normalisePath(home), QStringLiteral("Programme"));
    return common::normalisePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString common::normalisePath(const QString& chemin)
{
    if (chemin.isEmpty())
        return chemin;
    QString p = chemin;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(p);
}

QString common::joinPath(const QString& dossier, const QString& fichier)
{
    QString d = dossier;
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    if (d.isEmpty())
        return fichier;
    if (d == QLatin1String("/"))
        return d + fichier;
    return d + QLatin1Char('/') + fichier;
}

namespace {
// The names of the files of a folder (hidden ones included), in no order. A folder of thousands
// of records is read at every refresh of the record list: the names are read without sorting and
// without asking the system about each file more than its kind.
QStringList fileNames(const QString& dossier)
{
    return platform::folderFileNames(common::normalisePath(dossier));
}

// A name read from a folder that is not UTF-8: it keeps the bytes that cannot be read as lone
// surrogates (platform::folderFiles), and written back it would name another file.
bool notUtf8(const QString& nom) { return !nom.isValidUtf16(); }

// A name that stands for no file of the folder, or for another folder's.
bool leadsElsewhere(const QString& nom)
{
    return nom.isEmpty() || nom == QLatin1String(".") || nom == QLatin1String("..") ||
           nom.contains(QLatin1Char('/')) || notUtf8(nom);
}

// Such a name as it can be shown: "\uFFFD" for each byte that cannot be read; and those bytes in
// hexadecimal.
QString shownName(const QString& nom, QStringList* bytes)
{
    QString out = nom;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar ch = out[i];
        if (ch.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            ++i; // a character beyond U+FFFF
            continue;
        }
        if (!ch.isSurrogate())
            continue;
        *bytes << QString::number(ch.unicode() & 0xFF, 16).toUpper().rightJustified(2, u'0');
        out[i] = QChar::ReplacementCharacter;
    }
    return out;
}
} // namespace

namespace {

bool sameLetter(QChar a, QChar b)
{
    if (a == b)
        return true;
    const char16_t x = a.unicode(), y = b.unicode();
    if (x < 0x80 && y < 0x80) // most names: no Unicode tables
        return (x | 0x20) == (y | 0x20) && (x | 0x20) >= u'a' && (x | 0x20) <= u'z';
    return QChar::toCaseFolded(x) == QChar::toCaseFolded(y);
}

// Masks with a set of characters ("[abc]") go through the regular expressions.
bool matchesMaskWithSets(QStringView nom, QStringView masque)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(
                                    masque, QRegularExpression::UnanchoredWildcardConversion),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(re.pattern()),
                                      QRegularExpression::CaseInsensitiveOption);
    return anchored.match(nom).hasMatch();
}

// A name with its letters folded to one case, as a case-blind comparison sees it; quick for the
// plain ASCII names of most files.
QString folded(const QString& name)
{
    QString out(name.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (const QChar ch : name) {
        if (ch.unicode() >= 0x80)
            return name.toCaseFolded();
        *o++ = ch.unicode() >= u'A' && ch.unicode() <= u'Z' ? QChar(ch.unicode() + 32) : ch;
    }
    return out;
}

// Sorted by name ignoring case, then by name: each name folded once rather than at each comparison.
template <typename T, typename NameOf> QList<T> sortedByName(QList<T> items, NameOf nameOf)
{
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        keys.emplace_back(folded(nameOf(items[i])), i);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        if (const int c = a.first.compare(b.first); c != 0)
            return c < 0;
        return nameOf(items[a.second]) < nameOf(items[b.second]);
    });
    QList<T> out;
    out.reserve(items.size());
    for (const auto& k : keys)
        out.append(std::move(items[k.second]));
    return out;
}

} // namespace

bool common::matchesMask(QStringView nom, QStringView masque)
{
    if (masque.contains(u'['))
        return matchesMaskWithSets(nom, masque);
    // The parts between the "*" ("?" stands for any one character): the first begins the name,
    // the last ends it, each other one is taken where it first comes after the one before.
    const auto partAt = [&](qsizetype at, QStringView part) {
        for (qsizetype i = 0; i < part.size(); ++i)
            if (part[i] != u'?' && !sameLetter(part[i], nom[at + i]))
                return false;
        return true;
    };
    const qsizetype firstStar = masque.indexOf(u'*');
    if (firstStar < 0)
        return nom.size() == masque.size() && partAt(0, masque);
    const qsizetype lastStar = masque.lastIndexOf(u'*');
    const QStringView first = masque.first(firstStar);
    const QStringView last = masque.sliced(lastStar + 1);
    if (nom.size() < first.size() + last.size() || !partAt(0, first) ||
        !partAt(nom.size() - last.size(), last))
        return false;
    qsizetype at = first.size();
    const qsizetype end = nom.size() - last.size();
    const QStringView between =
        lastStar > firstStar ? masque.sliced(firstStar + 1, lastStar - firstStar - 1) : QStringView();
    if (!between.isEmpty() && !between.contains(u'*')) {
        // One part: anywhere between the first and the last; sought from the end, where it usually
        // stands ("SHOC-*.*FLX2009").
        for (qsizetype from = end - between.size(); from >= at; --from)
            if (partAt(from, between))
                return true;
        return false;
    }
    for (qsizetype star = firstStar; star < lastStar;) {
        const qsizetype next = masque.indexOf(u'*', star + 1);
        const QStringView part = masque.sliced(star + 1, next - star - 1);
        star = next;
        if (part.isEmpty())
            continue;
        while (at + part.size() <= end && !partAt(at, part))
            ++at;
        if (at + part.size() > end)
            return false;
        at += part.size();
    }
    return true;
}

QStringList common::filterNames(const QStringList& noms, const QString& masque)
{
    QStringList out;
    for (const QString& n : noms)
        if (common::matchesMask(n, masque))
            out << n;
    return out;
}

QStringList common::listFiles(const QString& dossier, const QString& masque)
{
    return sortedByName(common::filterNames(fileNames(dossier), masque),
                        [](const QString& n) -> const QString& { return n; });
}

QList<platform::FolderFile> common::listFileStamps(const QString& dossier, const QString& masque)
{
    QList<platform::FolderFile> found;
    for (platform::FolderFile& f : platform::folderFiles(common::normalisePath(dossier)))
        if (common::matchesMask(f.name, masque))
            found.append(std::move(f));
    return sortedByName(std::move(found),
                        [](const platform::FolderFile& f) -> const QString& { return f.name; });
}

namespace {

// What checkPlainName refuses in the name itself.
platform::Result nameRefusal(const QString& dossier, const QString& nom)
{
    const QString folder = QDir::toNativeSeparators(common::normalisePath(dossier));
    if (nom.contains(QLatin1Char('\\')))
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » du dossier « %2 » est laissé de côté : son nom contient "
                           "« \\ », que %3 lit comme un séparateur de dossiers. Renommez-le sans ce "
                           "caractère.")
                .arg(nom, folder, common::kProgramName));
    if (notUtf8(nom)) {
        QStringList bytes;
        const QString shown = shownName(nom, &bytes);
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » du dossier « %2 » est laissé de côté : son nom n'est pas "
                           "écrit en UTF-8, comme le sont les noms de fichiers de ce système (un nom venu "
                           "d'une ancienne archive, par exemple) ; « %3 » y tient la place %4 %5. "
                           "Renommez-le.")
                .arg(shown, folder, QString(QChar::ReplacementCharacter),
                     bytes.size() == 1 ? QStringLiteral("de l'octet illisible")
                                       : QStringLiteral("des octets illisibles"),
                     bytes.join(QStringLiteral(", "))));
    }
    if (leadsElsewhere(nom))
        return platform::Result::failure(
            QStringLiteral("Le nom « %1 » ne désigne pas un fichier du dossier « %2 ».").arg(nom, folder));
    return platform::Result::success();
}

// What checkPlainName refuses in a file of the folder that is a symbolic link.
platform::Result linkRefusal(const QString& dossier, const QString& nom, bool link)
{
    if (!link)
        return platform::Result::success();
    const QString folder = common::normalisePath(dossier);
    const QString target = QFileInfo(common::joinPath(folder, nom)).symLinkTarget();
    return platform::Result::failure(
        QStringLiteral("Le fichier « %1 » du dossier « %2 » est laissé de côté : c'est un lien symbolique "
                       "vers « %3 », et %4 ne lit ni n'écrit les fichiers de ce dossier au travers d'un "
                       "lien. Mettez le fichier lui-même dans le dossier à la place du lien.")
            .arg(nom, QDir::toNativeSeparators(folder), QDir::toNativeSeparators(target),
                 common::kProgramName));
}

} // namespace

platform::Result common::checkPlainName(const QString& dossier, const QString& nom)
{
    if (platform::Result plain = nameRefusal(dossier, nom); !plain)
        return plain;
    return linkRefusal(dossier, nom,
                       QFileInfo(common::joinPath(common::normalisePath(dossier), nom)).isSymLink());
}

platform::Result common::checkPlainName(const QString& dossier, const platform::FolderFile& fichier)
{
    if (platform::Result plain = nameRefusal(dossier, fichier.name); !plain)
        return plain;
    return linkRefusal(dossier, fichier.name, fichier.link);
}

namespace {

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.unicode() < 0x80; });
}

// A name in its composed form (NFC), as a comparison of names sees it.
QString composed(const QString& name)
{
    return isAscii(name) ? name : name.normalized(QString::NormalizationForm_C);
}

} // namespace

bool common::sameFileName(const QString& a, const QString& b)
{
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return true;
    return (!isAscii(a) || !isAscii(b)) && composed(a).compare(composed(b), Qt::CaseInsensitive) == 0;
}

QString common::findFile(const QString& dossier, const QString& nom)
{
    if (leadsElsewhere(nom))
        return QString();
    const QString folder = common::normalisePath(dossier);
    const QString exact = common::joinPath(folder, nom);
    if (QFileInfo(exact).isFile())
        return exact;
    const bool ascii = isAscii(nom);
    const QString nomComposed = composed(nom);
    for (const QString& n : fileNames(folder)) {
        if (n.compare(nom, Qt::CaseInsensitive) == 0)
            return common::joinPath(folder, n);
        // Written decomposed ("E" and the combining accent, as some systems write names) or
        // composed, it is one name.
        if ((!ascii || !isAscii(n)) && composed(n).compare(nomComposed, Qt::CaseInsensitive) == 0)
            return common::joinPath(folder, n);
    }
    return QString();
}

platform::ResultOf<QString> common::findDataFile(const QString& dossier, const QString& nom)
{
    using Found = platform::ResultOf<QString>;
    if (platform::Result plain = checkPlainName(dossier, nom); !plain)
        return Found::failure(std::move(plain));
    const QString found = findFile(dossier, nom);
    // Found under another spelling of the name: that file is judged too.
    if (const QString name = QFileInfo(found).fileName(); !found.isEmpty() && name != nom)
        if (platform::Result plain = checkPlainName(dossier, name); !plain)
            return Found::failure(std::move(plain));
    return Found::success(found);
}

QString common::freeName(const QString& dossier, const QString& nom)
{
    for (int k = 1;; ++k)
        if (const QString candidate = numberedName(nom, k); findFile(dossier, candidate).isEmpty())
            return candidate;
}

QString common::writePath(const QString& dossier, const QString& nom)
{
    const QString found = common::findFile(dossier, nom);
    return found.isEmpty() ? common::joinPath(common::normalisePath(dossier), nom) : found;
}

platform::Result common::renameFile(const QString& source, const QString& cible)
{
    const QFileInfo from(source);
    const QFileInfo target(cible);
    for (const QFileInfo& f : {from, target})
        if (platform::Result plain = checkPlainName(f.path(), f.fileName()); !plain)
            return plain;
    const QString existing = common::findFile(target.path(), target.fileName());
    if (!existing.isEmpty() && QFileInfo(existing).canonicalFilePath() != from.canonicalFilePath())
        return platform::Result::failure(QStringLiteral("Le fichier %1 existe déjà.").arg(existing));
    if (const int err = platform::renameWithoutReplacing(source, cible); err != 0)
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » ne peut pas être renommé : %2.")
                .arg(QDir::toNativeSeparators(source), platform::fileErrorReason(err)));
    return platform::Result::success();
}

namespace common {

platform::Result takeOverEarlierTables(const QString& executableFolder, const QString& programFolder)
{
    const QString from = common::normalisePath(executableFolder);
    const QString to = common::normalisePath(programFolder);
    if (from.isEmpty() || to.isEmpty() ||
        QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return platform::Result::success();
    QStringList failures;
    for (const QString& name : common::listFiles(from, QStringLiteral("*.DOV"))) {
        // A name that is not UTF-8 would be read as another file's: such a file stays where it is.
        if (!findFile(to, name).isEmpty() || !nameRefusal(from, name))
            continue;
        QDir().mkpath(to);
        const platform::Result copied =
            platform::saveFileFrom(common::joinPath(to, name), common::joinPath(from, name));
        if (!copied)
            failures << copied.error;
    }
    return failures.isEmpty() ? platform::Result::success() : platform::Result::failure(failures.join(u'\n'));
}

void takeOverEarlierTablesAtStart(const QString& executableFolder)
{
    const QString marker = QStringLiteral("Tables reprises");
    if (fun_Get_Setting_Str(common::kVersionSection, marker, QString()) == QLatin1String("-1"))
        return;
    const platform::Result r = takeOverEarlierTables(executableFolder, common::programFolder());
    if (r) {
        static_cast<void>(sub_Reg_Write_HKLM(common::kVersionSection, marker, QStringLiteral("-1")));
        return;
    }
    platform::dialogs().ask(
        QStringLiteral(
            "Les tables laissées par une version précédente dans le dossier %1 n'ont pas toutes pu être "
            "reprises dans le dossier %2 :\n\n%3\n\nElles restent à leur place ; %4 essaiera de nouveau "
            "au prochain démarrage.")
            .arg(QDir::toNativeSeparators(common::normalisePath(executableFolder)),
                 QDir::toNativeSeparators(common::programFolder()), r.error, common::kProgramName),
        platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
}

} // namespace common
