#pragma once
// The mouse pointer of the running program: the application's override cursor, whose stack
// holds one entry per shape pushed and not yet taken back.

#include "platform/MousePointer.h"

namespace platform {

class OverrideCursorPointer : public MousePointer
{
public:
    void push(PointerShape shape) override;
    void pop() override;
    std::optional<PointerShape> shown() const override;
};

} // namespace platform
