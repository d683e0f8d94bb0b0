#include "mainwindow/MainWindowKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace mainwindow {

namespace {

// The bar's style, with the keyboard of the Windows menu bar: the bar takes the focus, goes from
// menu to menu by the arrows over the greyed items, and Down or Enter opens the menu it
// highlights. Without these hints most styles leave the bar to the mouse. The menu that the
// keyboard is on is drawn highlighted, as an open menu's title is: most styles draw a title
// highlighted only while its menu is open, and the user would not see where the keys are.
class MenuBarStyle : public QProxyStyle
{
public:
    explicit MenuBarStyle(QStyle* base) : QProxyStyle(base) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        // The bar has the focus only while the keyboard is on it.
        if (element == CE_MenuBarItem && widget && widget->hasFocus() && (option->state & State_Selected)) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem current = *item;
                current.state |= State_Sunken;
                QProxyStyle::drawControl(element, &current, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

bool isCloseChild(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F4 && key->modifiers() == Qt::ControlModifier;
}

} // namespace

MainWindowKeys::MainWindowKeys(QMainWindow* window, std::function<void()> closeChild)
    : QObject(window), m_window(window), m_bar(window->menuBar()), m_closeChild(std::move(closeChild))
{
    auto* style = new MenuBarStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(this);
    m_bar->setStyle(style);
    qApp->installEventFilter(this);
}

MainWindowKeys::~MainWindowKeys() { qApp->removeEventFilter(this); }

bool MainWindowKeys::inWindow(QObject* watched) const
{
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && widget->window() == m_window;
}

void MainWindowKeys::toggleMenuBar()
{
    // The bar enters its keyboard mode, or leaves it, when it sees Alt pressed and released alone:
    // it is shown one.
    m_toggling = true;
    QKeyEvent altDown(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window, &altDown);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(m_window, &altUp);
    m_toggling = false;
    // The bar highlights its first item, the greyed "|" before the first menu: Right goes on to it.
    if (const QAction* first = m_bar->activeAction(); first && !first->isEnabled() && m_bar->hasFocus()) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(m_bar, &right);
    }
}

// A key pressed in the window (the first time the event is seen on its way to the window): true
// when it was the main window's.
bool MainWindowKeys::keyPressed(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Alt) {
        m_altAlone = (key->modifiers() & ~Qt::AltModifier) == 0 && (m_altAlone || !key->isAutoRepeat());
        return false;
    }
    m_altAlone = false;
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
        toggleMenuBar();
        return true;
    }
    if (isCloseChild(key)) {
        m_closeChild();
        return true;
    }
    return false;
}

bool MainWindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (m_toggling)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Another key with Alt (a mnemonic) may be a shortcut: no key press follows.
        if (key->key() != Qt::Key_Alt)
            m_altAlone = false;
        if (!inWindow(watched))
            break;
        // Where the bar watches the Alt key itself, it would see it too.
        if (key->key() == Qt::Key_Alt)
            return true;
        // Ctrl+F4 comes as a key press, here, whatever the frames' own keys.
        if (isCloseChild(key)) {
            key->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        if (inWindow(watched) && keyPressed(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::KeyRelease:
        if (inWindow(watched) && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && m_altAlone) {
            m_altAlone = false;
            toggleMenuBar();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::WindowDeactivate:
        m_altAlone = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace mainwindow
