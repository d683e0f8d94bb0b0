#include "common/Settings.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <cmath>

using platform::Hive;
using platform::RegType;
using platform::RegValue;
namespace reg = platform::reg;

QString common::machineKey(const QString& section, const QString& programme)
{
    return QStringLiteral("SOFTWARE\\") + programme + QLatin1Char('\\') + section;
}

QString common::userKey(const QString& programme, const QString& section)
{
    QString key = QStringLiteral("Software\\VB and VBA Program Settings\\") + programme;
    if (!section.trimmed().isEmpty())
        key += QLatin1Char('\\') + section;
    return key;
}

double common::leadingNumber(const QString& text)
{
    // Keep only the characters that count, then read sign, digits, point and exponent.
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += c;
    int i = 0;
    const int n = int(s.size());
    QString number;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number += s[i++];
    bool digits = false;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        number += s[i++];
        digits = true;
    }
    if (i < n && s[i] == QLatin1Char('.')) {
        number += s[i++];
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            number += s[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e'))) {
        int j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += s[j++];
        bool expDigits = false;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) {
            exponent += s[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    bool ok = false;
    const double v = number.toDouble(&ok); // QString::toDouble is locale-independent
    if (std::isinf(v))
        return v; // too large for a double: an overflow, infinite with the number's sign
    if (!ok || !std::isfinite(v))
        return 0.0; // too small for a double
    return v;
}

std::optional<qint16> common::roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return qint16(r);
}

long fun_Query_Value(Hive hive, const QString& key, const QString& valueName, QVariant& result)
{
    RegValue v;
    const long status = platform::registry().queryValue(hive, key, valueName, &v);
    if (status != reg::Success)
        return status;
    switch (v.type) {
    case RegType::Sz:
        result = v.text;
        return reg::Success;
    case RegType::Dword:
        result = qint32(v.dword);
        return reg::Success;
    default:
        return -1;
    }
}

namespace {
// The text that the three readers work on, or the default.
QString readText(const QString& section, const QString& valueName, const QString& defaultText,
                 const QString& programme)
{
    QVariant result;
    if (fun_Query_Value(Hive::LocalMachine, common::machineKey(section, programme), valueName, result) !=
        reg::Success)
        return defaultText;
    if (result.typeId() == QMetaType::Int)
        return QString::number(result.toInt());
    QString text = result.toString();
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}
} // namespace

QString fun_Get_Setting_Str(const QString& section, const QString& valueName, const QString& defaultText,
                            const QString& programme)
{
    return readText(section, valueName, defaultText, programme);
}

std::optional<qint16> fun_Get_Setting_Int(const QString& section, const QString& valueName,
                                          const QString& defaultText, const QString& programme)
{
    return common::roundToInt16(common::leadingNumber(readText(section, valueName, defaultText, programme)));
}

std::optional<double> fun_Get_Setting_Dbl(const QString& section, const QString& valueName,
                                          const QString& defaultText, const QString& programme)
{
    const double value = common::leadingNumber(readText(section, valueName, defaultText, programme));
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {
// Success when the change is on disk. The first change of the session that could not be written
// is told to the user; the store keeps it in memory and writes it with the next change.
platform::Result written(long status, const QString& key)
{
    if (status == reg::Success)
        return platform::Result::success();
    platform::Registry& r = platform::registry();
    if (status != reg::WriteFault)
        return platform::Result::failure(
            QStringLiteral("La clé « %1 » des paramètres ne peut pas être changée (code %2).")
                .arg(key)
                .arg(status));
    if (!r.failureReported()) {
        r.setFailureReported();
        platform::dialogs().ask(common::settingsNotSavedText(r.lastWriteError()),
                                platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
    }
    return platform::Result::failure(r.lastWriteError());
}
} // namespace

platform::Result sub_Reg_Write_HKLM(const QString& section, const QString& valueName, const QString& value,
                                    const QString& programme)
{
    platform::Registry& r = platform::registry();
    const QString key = common::machineKey(section, programme);
    const long created = r.createKey(Hive::LocalMachine, key);
    if (created != reg::Success && created != reg::WriteFault)
        return written(created, key);
    // A key that could not be written is in memory all the same: the value goes into it.
    return written(r.setValue(Hive::LocalMachine, key, valueName, RegValue::fromText(value)), key);
}

QString fun_Get_Setting_VB(const QString& section, const QString& key, const QString& defaultText,
                           const QString& programme)
{
    if (section.trimmed().isEmpty())
        return defaultText;
    RegValue v;
    if (platform::registry().queryValue(Hive::CurrentUser, common::userKey(programme, section), key, &v) !=
        reg::Success)
        return defaultText;
    switch (v.type) {
    case RegType::Sz:
    case RegType::ExpandSz:
        return v.text.endsWith(QChar(0)) ? v.text.chopped(1) : v.text;
    case RegType::Dword:
        return QString::number(qint32(v.dword));
    default:
        return defaultText;
    }
}

platform::Result sub_Save_Setting(const QString& section, const QString& key, const QString& value,
                                  const QString& programme)
{
    if (section.trimmed().isEmpty())
        return platform::Result::failure(
            QStringLiteral("Le paramètre « %1 » ne peut pas être enregistré : sa section n'a pas de nom.")
                .arg(key));
    platform::Registry& r = platform::registry();
    const QString path = common::userKey(programme, section);
    const long created = r.createKey(Hive::CurrentUser, path);
    if (created != reg::Success && created != reg::WriteFault)
        return written(created, path);
    return written(r.setValue(Hive::CurrentUser, path, key, RegValue::fromText(value)), path);
}

platform::Result sub_Reg_Delete_Settings(const QString& section, const QString& programme)
{
    const QString path = common::userKey(programme, section);
    return written(platform::registry().deleteKey(Hive::CurrentUser, path), path);
}

namespace common {

QString settingsNotSavedText(const QString& reason)
{
    return QStringLiteral(
               "Les réglages de %1 ne peuvent pas être enregistrés.\n\n%2\n\n%1 garde vos réglages "
               "jusqu'à sa fermeture et essaiera de nouveau de les enregistrer à chaque changement.")
        .arg(common::kProgramName, reason);
}

void reportSettingsStoreAtStart()
{
    platform::Registry& r = platform::registry();
    const int style = platform::mb::OKOnly | platform::mb::Exclamation;
    if (!r.setAsideFile().isEmpty())
        platform::dialogs().ask(
            QStringLiteral("Le fichier des paramètres de %1 était illisible : il a été mis de "
                           "côté sous le nom\n%2\n\n%1 démarre avec ses paramètres par défaut.")
                .arg(common::kProgramName, r.setAsideFile()),
            style, common::kProgramName);
    if (!r.openingProblem().isEmpty()) {
        // This is the session's one notice: the changes that follow cannot be written either.
        r.setFailureReported();
        platform::dialogs().ask(
            QStringLiteral(
                "Les paramètres de %1 ne peuvent pas être lus.\n\n%2\n\n%1 démarre avec ses paramètres "
                "par défaut. Rien de ce que vous choisirez ou répondrez ne pourra être gardé : les "
                "questions du premier démarrage reviendront à chaque lancement tant que ce fichier "
                "restera en place.")
                .arg(common::kProgramName, r.openingProblem()),
            style, common::kProgramName);
    }
}

} // namespace common
