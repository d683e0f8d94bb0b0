#pragma once
// Settings of the program and of its neighbours, kept in the registry store: machine-wide
// values under "SOFTWARE\<program>\<section>" read with a default, and the per-user
// application settings under "Software\VB and VBA Program Settings\<program>\<section>".

#include "common/Globals.h"
#include "platform/Registry.h"
#include "platform/Result.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace common {

// Section names of the program's settings.
inline const QString kParametersSection = QStringLiteral("Paramètres");
inline const QString kOptionsSection = QStringLiteral("Options Générales");
inline const QString kAdminSection = QStringLiteral("Administrateur");
inline const QString kVersionSection = QStringLiteral("Version");

// "SOFTWARE\<program>\<section>"
QString machineKey(const QString& section, const QString& programme);
// "Software\VB and VBA Program Settings\<program>[\<section>]"
QString userKey(const QString& programme, const QString& section = QString());

// Reads a number from text whatever the user's locale: blanks, tabs and line feeds are skipped
// wherever they stand; a sign, digits, one "." and an exponent are read up to the first
// character that cannot continue the number. "12,5" gives 12, "abc" gives 0. A number too large
// for a double ("1e400") is an overflow and gives an infinity of its sign; one too small gives 0.
double leadingNumber(const QString& text);
// Rounds to the nearest 16-bit integer, a half going to the even neighbour; nullopt when the
// value is outside -32768..32767 (or not a number).
std::optional<qint16> roundToInt16(double value);

// The box shown the first time in a session that a settings change cannot be written.
QString settingsNotSavedText(const QString& reason);
// At start, through the Dialogs service: the settings file that was set aside, or the one that
// could be neither read nor set aside (that box is the session's one notice of lost changes).
void reportSettingsStoreAtStart();

} // namespace common

// The value's data as the readers deliver it: a text, with its terminating NUL when the data
// had one, or the 32-bit number. Returns the registry status: 0 when a value was delivered,
// -1 for a type the readers do not accept (result untouched).
long fun_Query_Value(platform::Hive hive, const QString& key, const QString& valueName, QVariant& result);

// Machine-wide readers: the stored text (without its terminating NUL), or the default when the
// key or value is missing or of another type.
QString fun_Get_Setting_Str(const QString& section, const QString& valueName, const QString& defaultText,
                            const QString& programme = common::kProgramName);
// The text read as a number and rounded half-to-even; nullopt on overflow (a number outside
// -32768..32767: "40000", "1e10", "1e400"), so that a caller keeps its previous value.
std::optional<qint16> fun_Get_Setting_Int(const QString& section, const QString& valueName,
                                          const QString& defaultText,
                                          const QString& programme = common::kProgramName);
// The text read as a number; nullopt on overflow (a number too large for a double: "1e400"),
// so that a caller keeps its previous value.
std::optional<double> fun_Get_Setting_Dbl(const QString& section, const QString& valueName,
                                          const QString& defaultText,
                                          const QString& programme = common::kProgramName);
// Stores the text, creating the section's key when missing. Fails when the store could not be
// written, the reason naming the store's file: the value then keeps its old content on disk, the
// new one is read for the rest of the session and written with the next change, and the first
// such failure of the session is told to the user (once), so that a caller with nothing else to
// do may ignore the result. The same holds for the per-user writers below.
platform::Result sub_Reg_Write_HKLM(const QString& section, const QString& valueName, const QString& value,
                                    const QString& programme = common::kProgramName);

// Per-user application settings.
QString fun_Get_Setting_VB(const QString& section, const QString& key, const QString& defaultText,
                           const QString& programme);
platform::Result sub_Save_Setting(const QString& section, const QString& key, const QString& value,
                                  const QString& programme);
// Deletes the program's per-user key, or only its section when the section is not blank.
platform::Result sub_Reg_Delete_Settings(const QString& section, const QString& programme);
