#include "tests/support/TwoCopies.h"

#include "platform/Services.h"

#include <QProcess>

#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock; // the same clock in every process of the machine

constexpr int kWaitMs = 60'000;
// Time enough for both copies to read the moment before it comes.
constexpr std::chrono::milliseconds kLead{50};

} // namespace

QStringList runTwoCopies(const QString& program, const QStringList& firstArguments,
                         const QStringList& secondArguments)
{
    std::array<std::unique_ptr<QProcess>, 2> copies;
    const std::array<QStringList, 2> arguments = {firstArguments, secondArguments};
    for (size_t i = 0; i < copies.size(); ++i) {
        copies[i] = std::make_unique<QProcess>();
        copies[i]->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copies[i]->start(program, arguments[i]);
    }
    QStringList out(2);
    for (size_t i = 0; i < copies.size(); ++i) {
        QProcess& p = *copies[i];
        while (!p.canReadLine() && p.state() != QProcess::NotRunning)
            p.waitForReadyRead(kWaitMs);
        out[int(i)] = QString::fromUtf8(p.readLine()).trimmed() == QLatin1String("ready")
                          ? QString()
                          : QStringLiteral("not ready\n");
    }
    const auto start = Clock::now() + kLead;
    const QByteArray moment = QByteArray::number(qint64(start.time_since_epoch().count())) + '\n';
    for (auto& p : copies) {
        p->write(moment);
        p->waitForBytesWritten(kWaitMs);
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        QProcess& p = *copies[i];
        const bool ended = p.waitForFinished(kWaitMs);
        out[int(i)] += QString::fromUtf8(p.readAllStandardOutput());
        if (!ended)
            p.kill();
        if (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            out[int(i)] += QStringLiteral("ended with code %1\n").arg(ended ? p.exitCode() : -1);
    }
    return out;
}

void waitForTheStart()
{
    std::cout << "ready" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    const Clock::time_point start{Clock::duration{std::stoll(line.empty() ? "0" : line)}};
    while (Clock::now() < start) {
    }
}

int AnswersNo::ask(const QString&, int, const QString&)
{
    std::cout << "asked" << std::endl;
    return platform::mb::No;
}

HelperCopyServices::HelperCopyServices()
{
    platform::installServices({&m_settings, &m_dialogs, nullptr, &m_clock, nullptr, nullptr, nullptr});
}

} // namespace testing_support
