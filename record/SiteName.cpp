#include "record/SiteName.h"

#include <QStringList>
#include <iterator>

namespace record {

namespace {
const QString kUnknown = QStringLiteral("?????");
const QString kUnknownPart = QStringLiteral("_?????");
const QString kBreak = QStringLiteral("\r\n\t");
const QString kFirstPage =
    QStringLiteral("- Onglet [Localisation et caractéristiques de la zone d'étude] : ");
const QString kVisitPage = QStringLiteral("- Onglet [Description du relevé] : ");
} // namespace

SiteName sub_Build_Nom_Zone(const SurveyRecord& r)
{
    SiteName s;
    QString heading = kBreak + kFirstPage;
    auto missing = [&](const QString& item) {
        s.missing += heading + item + QStringLiteral(", ");
        heading.clear();
    };

    s.text = QStringLiteral("SHOC-");
    if (!r.commune.isEmpty()) {
        s.text += r.department.left(2) + QLatin1Char('~') + r.commune;
        s.mask += 1;
    } else {
        s.text = kUnknown;
        missing(QStringLiteral("Commune"));
    }
    if (!r.placeName.isEmpty()) { // blanks count as given
        s.text += QLatin1Char('~') + r.placeName.trimmed();
        s.mask += 2;
    } else {
        s.text = kUnknown;
        missing(QStringLiteral("Lieu-dit"));
    }
    if (const QString name = r.observerName.trimmed(); !name.isEmpty()) {
        s.text += QLatin1Char('~') + name;
        s.mask += 4;
    } else {
        s.text += kUnknownPart;
        missing(QStringLiteral("Nom observateur"));
    }
    if (const QString first = r.observerFirstName.trimmed(); !first.isEmpty()) {
        s.text += QLatin1Char(' ') + first;
        s.mask += 8;
    } else {
        s.text += kUnknownPart;
        missing(QStringLiteral("Prénom observateur"));
    }
    if (!r.season.isEmpty()) {
        s.text += QLatin1Char('~') + r.season;
        s.mask += 16;
    } else {
        s.text += kUnknownPart;
        missing(QStringLiteral("Saison"));
    }

    // Each group's list ends without its ", ".
    heading = kVisitPage;
    if (!s.missing.isEmpty()) {
        s.missing.chop(2);
        heading.prepend(kBreak);
    }
    if (!r.date.isEmpty())
        s.mask += 32;
    else
        missing(QStringLiteral("Date du relevé"));
    if (r.passage >= 1 && r.passage <= kPassageCount)
        s.mask += 64;
    else
        missing(QStringLiteral("N° de passage"));

    if (s.missing.endsWith(QLatin1String(", ")))
        s.missing.chop(2);
    return s;
}

QString saveStatusText(const SiteName& site)
{
    if (site.complete())
        return QStringLiteral("Toutes les conditions nécessaires pour effectués la sauvegarde de votre "
                              "relevé sont remplies.");
    QString text = QStringLiteral(
        "Un ou plusieurs éléments essentiels pour la sauvegarde de votre saisie ne sont pas renseignés : "
        "valorisez ces éléments pour pouvoir sauvegarder votre saisie.");
    // The list begins with a line break only when the first page lists something.
    for (const QString& page : site.missing.split(kBreak, Qt::SkipEmptyParts))
        text += QStringLiteral("\n    ") + page;
    return text;
}

QString fun_Message_Non_Sauvegardable(const SiteName& site)
{
    // By weight: 1, 2, 4 ... 64.
    static const char* const items[] = {
        "Le nom de la commune.",    "Le lieu-dit.",
        "Le nom de l'observateur.", "Le prénom de l'observateur.",
        "La saison d'observation.", "La date de passage.",
        "Le N° de passage.",
    };
    QString lines;
    for (int i = 0; i < int(std::size(items)); ++i)
        if ((site.mask & (1 << i)) == 0)
            lines += QStringLiteral("\n\t-   ") + QString::fromUtf8(items[i]);
    if (lines.isEmpty())
        return QString();
    return QStringLiteral(
               "Un ou plusieurs éléments essentiels pour la commencer la sauvegarde de votre saisie "
               "ne sont pas renseignés :") +
           lines + QStringLiteral("\n\nValorisez ces éléments pour pouvoir sauvegarder votre saisie.");
}

std::optional<SiteFields> siteFieldsOf(const QString& siteName)
{
    const QStringList parts = siteName.split(QLatin1Char('~'));
    const QString prefix = QStringLiteral("SHOC-");
    if (parts.size() != 5 || !parts[0].startsWith(prefix) || parts[0].size() != prefix.size() + 2)
        return std::nullopt;
    for (const QString& part : parts)
        if (part.trimmed().isEmpty() || part.contains(kUnknown))
            return std::nullopt;

    SiteFields f;
    f.departmentCode = parts[0].mid(prefix.size());
    f.commune = parts[1];
    f.placeName = parts[2];
    f.season = parts[4];
    const QStringList words = parts[3].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype first = words.size();
    for (qsizetype i = 1; i < words.size() && first == words.size(); ++i)
        if (words[i] != words[i].toUpper())
            first = i;
    if (first == words.size() && words.size() > 1)
        first = words.size() - 1;
    f.observerName = words.mid(0, first).join(QLatin1Char(' '));
    f.observerFirstName = words.mid(first).join(QLatin1Char(' '));
    return f;
}

} // namespace record
