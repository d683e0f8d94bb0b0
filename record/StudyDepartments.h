#pragma once
// The study departments: the setting "Départements d'étude" of "Paramètres", ";"-separated
// two-character department codes, or "%" for every department. A stored record whose department
// the department list does not offer adds its code to the setting.

#include "platform/Result.h"

#include <QString>

namespace record {

inline const QString kStudyDepartmentsSetting = QStringLiteral("Départements d'étude");

// The setting with the department's code (its first two characters) appended after ";"; the
// setting unchanged when it is "%" (every department is already offered), when the code is
// already one of its items, or when the department is empty.
QString studyDepartmentsWith(const QString& setting, const QString& department);

// Adds the department's code to the stored setting when it changes it; says why it could not.
platform::Result addStudyDepartment(const QString& department);

} // namespace record
