#include "mainwindow/StudyDepartmentsPrompt.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace mainwindow {

QString studyDepartmentsPrompt()
{
    return QStringLiteral("Veuillez indiquer les codes des départements composant votre aire d'étude en les "
                          "séparant par des point-virgules (;)\n\nNota : pour sélectionner tous les "
                          "départements, tapez %");
}

QString wrongDepartmentMessage(const QString& item)
{
    return QStringLiteral("Le code département  N°") + item + QStringLiteral(" semble erroné ; corrigez");
}

namespace {
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The normal form of one item, or nullopt when it is wrong.
std::optional<QString> normaliseItem(const QString& item)
{
    const QString t = item.trimmed();
    if (t.isEmpty() || t == QLatin1String("%"))
        return t;
    if (item.size() > 2)
        return std::nullopt;
    const QString upper = t.toUpper();
    if (upper == QLatin1String("2A") || upper == QLatin1String("2B"))
        return upper;
    if (!std::all_of(t.begin(), t.end(), isDigit))
        return std::nullopt;
    const int value = t.toInt();
    if (value == 0)
        return std::nullopt;
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
} // namespace

DepartmentList normaliseDepartments(const QString& saisie)
{
    DepartmentList result;
    QStringList items;
    const QStringList parts = saisie.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const std::optional<QString> normal = normaliseItem(part);
        if (!normal) {
            result.valid = false;
            result.wrongItem = part;
            return result;
        }
        items << *normal;
    }
    std::sort(items.begin(), items.end()); // by UTF-16 code units: "%" before digits, case-sensitive
    QStringList kept;
    for (const QString& item : std::as_const(items)) {
        if (item.isEmpty() || (!kept.isEmpty() && kept.last() == item))
            continue;
        kept << item;
    }
    result.list = kept.join(QLatin1Char(';'));
    return result;
}

StudyDepartmentsOutcome askStudyDepartments()
{
    QString proposed =
        fun_Get_Setting_Str(common::kParametersSection, kStudyDepartmentsValue, QStringLiteral("%"));
    for (;;) {
        const QString answer = platform::dialogs()
                                   .inputBox(studyDepartmentsPrompt(), kStudyDepartmentsTitle, proposed)
                                   .value_or(QString());
        if (answer.isEmpty())
            return StudyDepartmentsOutcome::Cancelled;
        const DepartmentList list = normaliseDepartments(answer);
        if (!list.valid) {
            platform::dialogs().ask(wrongDepartmentMessage(list.wrongItem), platform::mb::Exclamation,
                                    common::kProgramName);
            proposed = answer;
            continue;
        }
        if (list.list.isEmpty())
            return StudyDepartmentsOutcome::Empty;
        return sub_Reg_Write_HKLM(common::kParametersSection, kStudyDepartmentsValue, list.list).ok
                   ? StudyDepartmentsOutcome::Saved
                   : StudyDepartmentsOutcome::WriteFailed;
    }
}

} // namespace mainwindow
