#pragma once
// Programs of the machine that the program starts and waits for (the mail programs, the
// desktop's opener). Each one is started in a session of its own, so that it and every process
// it starts can be ended together. The wait keeps the event loop running, so that windows go on
// repainting; a wait that lasts is shown to the user, who can stop it.

#include <QString>
#include <chrono>
#include <functional>

class QProcess;

namespace platform {

// Shows a long wait for another program and lets the user stop it. The platform layer knows no
// window: the program installs one (the wait window with its stop button); without one a wait is
// not shown and runs to its end or its time limit.
class WaitObserver
{
public:
    virtual ~WaitObserver() = default;
    // The wait described by `what` (a French sentence that names the program) has lasted long
    // enough to be shown. `stop` ends the wait; it may be called until waitEnds().
    virtual void waitBegins(const QString& what, const std::function<void()>& stop) = 0;
    // The wait is over, whichever way it ended.
    virtual void waitEnds() = 0;
};

// Makes `process` start in a session (and process group) of its own; call it before start().
void startInOwnSession(QProcess& process);

enum class WaitOutcome {
    Finished, // the program ended by itself
    TimedOut, // the time limit passed first
    Stopped,  // the user stopped the wait, or the program is closing
};

struct ProcessWait
{
    std::chrono::milliseconds limit{0};
    WaitObserver* observer = nullptr;
    QString what;                             // for the observer
    std::chrono::milliseconds showAfter{500}; // a shorter wait is not shown
};

// Waits until the started `process` ends, the time limit passes or the user stops the wait. The
// event loop runs meanwhile: windows repaint, and keyboard and mouse input is held back until the
// observer shows the wait (and from then on goes to the window it shows). The process is left as
// it is: on a time-out or a stop the caller decides whether to end it (endProcessGroup).
WaitOutcome waitForProcess(QProcess& process, const ProcessWait& wait);

// Ends every process of the session that `process` was started in (startInOwnSession), `group`
// being the process id it had when it started: each is asked to end, and after `grace` those
// still there are killed. Returns once the started program itself is gone.
void endProcessGroup(QProcess& process, qint64 group,
                     std::chrono::milliseconds grace = std::chrono::milliseconds(1000));

// A wait's length as the user reads it: "120 secondes", "0,5 seconde".
QString durationText(std::chrono::milliseconds d);

} // namespace platform
