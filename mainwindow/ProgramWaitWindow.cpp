#include "mainwindow/ProgramWaitWindow.h"

#include "mainwindow/frm_Wait.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace mainwindow {

namespace {
// Closing the window by its frame stops the wait too; the window stays until the wait is over.
class CloseStops : public QObject
{
public:
    CloseStops(QObject* parent, std::function<void()> stop) : QObject(parent), m_stop(std::move(stop)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Close)
            return false;
        e->ignore();
        m_stop();
        return true;
    }

private:
    std::function<void()> m_stop;
};
} // namespace

ProgramWaitWindow::ProgramWaitWindow() = default;
ProgramWaitWindow::~ProgramWaitWindow() = default;

void ProgramWaitWindow::waitBegins(const QString& what, const std::function<void()>& stop)
{
    m_window = std::make_unique<frm_Wait>();
    m_window->lab_wait->setText(what + QStringLiteral("…\n\nVEUILLEZ PATIENTER"));
    m_window->stopButton->show();
    QObject::connect(m_window->stopButton, &QPushButton::clicked, m_window.get(), [stop] { stop(); });
    m_window->installEventFilter(new CloseStops(m_window.get(), stop));
    // The program waits inside an event loop: nothing else is to be clicked meanwhile.
    m_window->setWindowModality(Qt::ApplicationModal);
    // The caller's hourglass would hide that the button can be pressed.
    m_arrow.emplace(platform::PointerShape::Arrow);
    m_window->showWindow();
}

void ProgramWaitWindow::waitEnds()
{
    if (!m_window)
        return;
    m_window.reset();
    m_arrow.reset();
}

} // namespace mainwindow
