#include "tests/support/CheckFailures.h"

#include "platform/Check.h"

#include <QString>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace testing_support {

namespace {
QtMessageHandler g_previous = nullptr;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg && message.startsWith(QLatin1String(platform::kCheckFailedPrefix)))
        ADD_FAILURE() << message.toStdString();
    if (g_previous)
        g_previous(type, context, message);
}
} // namespace

void failTestsOnChecks() { g_previous = qInstallMessageHandler(handler); }

} // namespace testing_support
