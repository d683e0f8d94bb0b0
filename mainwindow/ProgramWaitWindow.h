#pragma once
// The wait window shown while the program waits for another program (a mail program that takes
// its time): it names the program, keeps the other windows from input, and its "Arrêter" button
// stops the wait. The program installs it on the services that start programs.

#include "platform/ChildProcess.h"
#include "platform/MousePointer.h"

#include <memory>
#include <optional>

class frm_Wait;

namespace mainwindow {

class ProgramWaitWindow : public platform::WaitObserver
{
public:
    ProgramWaitWindow();
    ~ProgramWaitWindow() override;

    void waitBegins(const QString& what, const std::function<void()>& stop) override;
    void waitEnds() override;

    // The window on screen during a wait, null otherwise.
    frm_Wait* window() const { return m_window.get(); }

private:
    std::unique_ptr<frm_Wait> m_window;
    std::optional<platform::PointerGuard> m_arrow; // the ordinary pointer during the wait
};

} // namespace mainwindow
