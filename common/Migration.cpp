#include "common/Migration.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"

using platform::Hive;
namespace reg = platform::reg;

namespace {

// The text written for a value that cannot be read, where the program has no value of that
// name yet: a value the program already has is never replaced by it.
const QString kNotFound = QStringLiteral("NotFnd");

bool hasValue(const platform::Registry& r, Hive hive, const QString& key, const QString& name)
{
    platform::RegValue v;
    return r.queryValue(hive, key, name, &v) == reg::Success;
}

// Per-user application settings: every section but "Performances" (whatever its case) is copied
// into the program's per-user settings; the sibling's per-user key is then deleted whole.
void copyUserSettings(platform::Registry& r)
{
    const QString root = common::userKey(common::kSiblingProgram);
    for (int i = 0;; ++i) {
        QString section;
        if (r.enumKey(Hive::CurrentUser, root, i, &section) != reg::Success)
            break;
        const QString key = root + QLatin1Char('\\') + section;
        if (!r.keyExists(Hive::CurrentUser, key))
            continue;
        const bool skipped = section.toUpper() == QStringLiteral("PERFORMANCES");
        for (int j = 0;; ++j) {
            QString name;
            if (r.enumValue(Hive::CurrentUser, key, j, &name) != reg::Success)
                break;
            if (skipped)
                continue;
            const QString value = fun_Get_Setting_VB(section, name, kNotFound, common::kSiblingProgram);
            if (value == kNotFound &&
                hasValue(r, Hive::CurrentUser, common::userKey(common::kProgramName, section), name))
                continue;
            static_cast<void>(sub_Save_Setting(section, name, value, common::kProgramName));
        }
    }
    static_cast<void>(sub_Reg_Delete_Settings(QString(), common::kSiblingProgram));
}

// Machine-wide settings: every value of every section is copied as text; a value whose name is
// too long for the enumeration is passed over. Returns false when the sibling has no
// machine-wide settings or when a value could not be written.
bool copyMachineSettings(platform::Registry& r)
{
    const QString root = QStringLiteral("SOFTWARE\\") + common::kSiblingProgram;
    if (!r.keyExists(Hive::LocalMachine, root))
        return false;
    bool allWritten = true;
    for (int i = 0;; ++i) {
        QString section;
        if (r.enumKey(Hive::LocalMachine, root, i, &section) != reg::Success)
            break;
        const QString key = root + QLatin1Char('\\') + section;
        if (!r.keyExists(Hive::LocalMachine, key))
            continue;
        for (int j = 0;; ++j) {
            QString name;
            const long status = r.enumValue(Hive::LocalMachine, key, j, &name);
            if (status == reg::MoreData)
                continue;
            if (status != reg::Success)
                break;
            const QString value = fun_Get_Setting_Str(section, name, kNotFound, common::kSiblingProgram);
            if (value == kNotFound &&
                hasValue(r, Hive::LocalMachine, common::machineKey(section, common::kProgramName), name))
                continue;
            if (!sub_Reg_Write_HKLM(section, name, value, common::kProgramName).ok)
                allWritten = false;
        }
    }
    return allWritten;
}

} // namespace

void sub_Migration_Registre()
{
    platform::Registry& r = platform::registry();
    copyUserSettings(r);

    // The machine-wide copy is made once per machine: the sibling's settings stay in place, and
    // copying them at a later start would overwrite what the program has changed since.
    if (!fun_Get_Setting_Str(common::kVersionSection, common::kMigrationMarker, QString()).isEmpty())
        return;
    if (copyMachineSettings(r))
        static_cast<void>(sub_Reg_Write_HKLM(common::kVersionSection, common::kMigrationMarker,
                                             platform::clock().now().toString(Qt::ISODate)));
}
