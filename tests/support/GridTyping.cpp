#include "tests/support/GridTyping.h"

#include "grid/GridView.h"

#include <QApplication>
#include <QTest>

namespace testing_support {

void typeKeys(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        } else {
            // A letter of a French keyboard (é, è, à...): its key is the capital's code.
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
        }
        QCoreApplication::processEvents();
    }
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QCoreApplication::processEvents();
}

bool typeCell(grid::GridView* view, int row, int col, const QString& text, Qt::Key leave)
{
    view->grid().select(row, col);
    view->setFocus();
    typeKeys(text);
    if (!view->isEditing())
        return false;
    if (leave == Qt::Key_unknown)
        return true;
    pressKey(leave);
    // Tab may open the next cell's editor.
    return !view->isEditing() || view->editRow() != row || view->editCol() != col;
}

bool tabInto(grid::GridView* view, bool backwards)
{
    const auto reachable = [](const QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
    };
    QWidget* from = backwards ? view->nextInFocusChain() : view->previousInFocusChain();
    while (from != view && (!reachable(from) || view->isAncestorOf(from)))
        from = backwards ? from->nextInFocusChain() : from->previousInFocusChain();
    if (from == view)
        return false;
    from->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    pressKey(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    return view->hasFocus();
}

} // namespace testing_support
