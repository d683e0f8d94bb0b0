#pragma once
// The main window's own keys, whichever of its child windows holds the focus, the same on every
// desktop:
//  - F10, or Alt pressed and released alone, gives the menu bar the focus with its first menu
//    highlighted (the greyed "|" items are passed over) and no menu open, as on Windows; Left and
//    Right then go from menu to menu, Down, Up, Enter or Space open the menu highlighted, whose
//    items the arrows and Enter choose as in any menu; Escape, or F10 or Alt alone again, gives the
//    focus back to the control that had it. Alt held with another key (a control's mnemonic) or
//    with a mouse button is that key's business: the bar stays as it is.
//  - Ctrl+F4 closes the active child window, as its close box does.
// It is this object that tells Alt alone from Alt with a key, whatever the style: the bar's own
// watch of the Alt key, which only some styles have, never sees it. The desktop's own key for
// closing a child window (Ctrl+W on Linux desktops, Ctrl+F4 elsewhere) is left to the frames.

#include <QObject>
#include <functional>

class QKeyEvent;
class QMainWindow;
class QMenuBar;

namespace mainwindow {

class MainWindowKeys : public QObject
{
    Q_OBJECT

public:
    // Watches the keys of the window; closeChild closes its active child window.
    MainWindowKeys(QMainWindow* window, std::function<void()> closeChild);
    ~MainWindowKeys() override;

    // The menu bar given the focus with its first menu highlighted, or, when it has it, given back.
    void toggleMenuBar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inWindow(QObject* watched) const;
    bool keyPressed(const QKeyEvent* key);

    QMainWindow* m_window;
    QMenuBar* m_bar;
    std::function<void()> m_closeChild;
    bool m_altAlone = false; // Alt is down and no other key or button came since
    bool m_toggling = false; // the bar is being shown an Alt pressed and released
};

} // namespace mainwindow
