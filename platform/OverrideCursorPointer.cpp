#include "platform/OverrideCursorPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

void OverrideCursorPointer::push(PointerShape shape)
{
    if (!qGuiApp)
        return; // no screen: nothing to show it on
    QGuiApplication::setOverrideCursor(shape == PointerShape::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
}

void OverrideCursorPointer::pop()
{
    if (qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

std::optional<PointerShape> OverrideCursorPointer::shown() const
{
    const QCursor* cursor = qGuiApp ? QGuiApplication::overrideCursor() : nullptr;
    if (!cursor)
        return std::nullopt;
    return cursor->shape() == Qt::WaitCursor ? PointerShape::Hourglass : PointerShape::Arrow;
}

} // namespace platform
