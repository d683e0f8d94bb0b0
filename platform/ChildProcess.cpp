#include "platform/ChildProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QProcess>
#include <QThread>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_UNIX
constexpr std::chrono::milliseconds kKilledWait{500};

// True when no process of the group is left (or none can be seen).
bool groupGone(qint64 group) { return ::kill(pid_t(-group), 0) != 0 && errno == ESRCH; }
#endif

} // namespace

void startInOwnSession([[maybe_unused]] QProcess& process)
{
#ifdef Q_OS_UNIX
    // Runs in the child between fork and exec: setsid() alone, which is safe there. The child is
    // never a group leader at that point, so the call cannot fail.
    process.setChildProcessModifier([] { ::setsid(); });
#endif
}

WaitOutcome waitForProcess(QProcess& process, const ProcessWait& wait)
{
    if (process.state() == QProcess::NotRunning)
        return WaitOutcome::Finished;
    if (!QCoreApplication::instance()) {
        // No event loop to keep alive.
        return process.waitForFinished(int(wait.limit.count())) ? WaitOutcome::Finished
                                                                : WaitOutcome::TimedOut;
    }

    QEventLoop loop;
    bool finished = false;
    bool stopped = false;
    const QMetaObject::Connection onFinished = QObject::connect(&process, &QProcess::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(wait.limit);
    QTimer show;
    show.setSingleShot(true);
    QObject::connect(&show, &QTimer::timeout, &loop, &QEventLoop::quit);

    const auto waiting = [&] { return !finished && !stopped && deadline.isActive(); };
    // A loop that returns while the wait goes on was ended from outside: the program is closing.
    const auto run = [&](QEventLoop::ProcessEventsFlags flags, const QTimer* phase) {
        while (waiting() && (!phase || phase->isActive())) {
            loop.exec(flags);
            if (waiting() && (!phase || phase->isActive()))
                stopped = true;
        }
    };

    // The program may have ended before the connection was made.
    finished = process.state() == QProcess::NotRunning;
    if (wait.observer && wait.showAfter < wait.limit) {
        show.start(wait.showAfter);
        run(QEventLoop::ExcludeUserInputEvents, &show);
        if (waiting()) {
            wait.observer->waitBegins(wait.what, [&] {
                stopped = true;
                loop.quit();
            });
            run(QEventLoop::AllEvents, nullptr);
            wait.observer->waitEnds();
        }
    } else {
        run(QEventLoop::ExcludeUserInputEvents, nullptr);
    }
    QObject::disconnect(onFinished);

    if (finished)
        return WaitOutcome::Finished;
    return stopped ? WaitOutcome::Stopped : WaitOutcome::TimedOut;
}

void endProcessGroup(QProcess& process, [[maybe_unused]] qint64 group, std::chrono::milliseconds grace)
{
#ifdef Q_OS_UNIX
    if (group > 0) {
        ::kill(pid_t(-group), SIGTERM);
        QElapsedTimer clock;
        clock.start();
        // The started program is reaped as it ends, so that only the processes really left
        // keep the group alive.
        while (!groupGone(group) && clock.elapsed() < grace.count()) {
            if (process.state() != QProcess::NotRunning)
                process.waitForFinished(20);
            else
                QThread::msleep(20);
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        if (!groupGone(group)) {
            ::kill(pid_t(-group), SIGKILL);
            // Killed processes take a moment to go; a bounded wait, as the remains of one whose
            // parent ended wait for the system to reap them.
            clock.start();
            while (!groupGone(group) && clock.elapsed() < kKilledWait.count()) {
                if (process.state() != QProcess::NotRunning)
                    process.waitForFinished(10);
                else
                    QThread::msleep(10);
            }
        }
    }
#endif
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(int(grace.count()));
    }
}

QString durationText(std::chrono::milliseconds d)
{
    const double seconds = double(d.count()) / 1000.0;
    const QString number = QLocale(QLocale::French, QLocale::France).toString(seconds, 'g', 6);
    return seconds < 2 ? QStringLiteral("%1 seconde").arg(number) : QStringLiteral("%1 secondes").arg(number);
}

} // namespace platform
