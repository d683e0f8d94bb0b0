#include "tests/support/CheckFailures.h"

#include "platform/Check.h"

#include <QString>
#include <QtGlobal>
#include <gtest/gtest-spi.h>
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

QStringList failedChecks(const std::function<void()>& run)
{
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter intercept(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        run();
    }
    QStringList checks;
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& r = results.GetTestPartResult(i);
        const QString message = QString::fromStdString(r.message());
        if (r.type() == ::testing::TestPartResult::kNonFatalFailure &&
            message.contains(QLatin1String(platform::kCheckFailedPrefix)))
            checks << message;
        else
            ADD_FAILURE_AT(r.file_name() ? r.file_name() : "unknown", r.line_number()) << r.message();
    }
    return checks;
}

} // namespace testing_support
