#pragma once
// A mouse pointer that shows nothing and records every push and pop: "hourglass", "arrow" for
// the shapes pushed, "pop" for each one taken back.

#include "platform/MousePointer.h"

#include <QList>
#include <QStringList>

namespace testing_support {

class RecordingPointer : public platform::MousePointer
{
public:
    void push(platform::PointerShape shape) override
    {
        shapes.append(shape);
        calls << (shape == platform::PointerShape::Hourglass ? QStringLiteral("hourglass")
                                                             : QStringLiteral("arrow"));
    }
    void pop() override
    {
        calls << QStringLiteral("pop");
        if (!shapes.isEmpty())
            shapes.removeLast();
    }
    std::optional<platform::PointerShape> shown() const override
    {
        return shapes.isEmpty() ? std::nullopt : std::optional<platform::PointerShape>(shapes.last());
    }

    QList<platform::PointerShape> shapes; // pushed and not yet taken back, the last one showing
    QStringList calls;
};

} // namespace testing_support
