#pragma once
// A mouse pointer that shows nothing and records every push and pop: "hourglass", "arrow" for
// the shapes pushed, "pop" for each one taken back.

#include "platform/MousePointer.h"

#include <QStringList>

namespace testing_support {

class RecordingPointer : public platform::NoScreenPointer
{
public:
    void push(platform::PointerShape shape) override
    {
        calls << (shape == platform::PointerShape::Hourglass ? QStringLiteral("hourglass")
                                                             : QStringLiteral("arrow"));
        NoScreenPointer::push(shape);
    }
    void pop() override
    {
        calls << QStringLiteral("pop");
        NoScreenPointer::pop();
    }

    QStringList calls;
};

} // namespace testing_support
