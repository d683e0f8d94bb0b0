#include "record/StudyDepartments.h"

#include "common/Settings.h"

#include <QStringList>

namespace record {

QString studyDepartmentsWith(const QString& setting, const QString& department)
{
    const QString code = department.left(2).trimmed();
    if (code.isEmpty() || setting.trimmed() == QLatin1String("%"))
        return setting;
    const QStringList items = setting.split(QLatin1Char(';'));
    for (const QString& item : items)
        if (item.trimmed() == code)
            return setting;
    return setting.isEmpty() ? code : setting + QLatin1Char(';') + code;
}

platform::Result addStudyDepartment(const QString& department)
{
    const QString current =
        fun_Get_Setting_Str(common::kParametersSection, kStudyDepartmentsSetting, QStringLiteral("%"));
    const QString wanted = studyDepartmentsWith(current, department);
    if (wanted == current)
        return platform::Result::success();
    const platform::Result written =
        sub_Reg_Write_HKLM(common::kParametersSection, kStudyDepartmentsSetting, wanted);
    if (!written)
        return platform::Result::failure(
            QStringLiteral("Le paramètre « %1 » ne peut pas être enregistré : le département %2 n'y est pas "
                           "ajouté.\n\n%3")
                .arg(kStudyDepartmentsSetting, department.left(2), written.error));
    return platform::Result::success();
}

} // namespace record
