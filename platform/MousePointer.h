#pragma once
// The screen's mouse pointer. Long work shows the hourglass and a box waiting for the user shows
// the ordinary pointer; both are pushed over whatever shows and taken back when they end, so
// that work nested inside other work (an export run inside a mailing, a box inside an export)
// leaves the pointer as the outer work had it. A PointerGuard does the pushing and the taking
// back; nothing else sets the pointer.

#include <QList>

#include <optional>

namespace platform {

enum class PointerShape {
    Hourglass,
    Arrow,
};

class MousePointer
{
public:
    virtual ~MousePointer() = default;
    // Shows a shape over every window until the matching pop.
    virtual void push(PointerShape shape) = 0;
    // Takes back the shape pushed last: the one pushed before it shows again, or the windows'
    // own pointers when none is left.
    virtual void pop() = 0;
    // The shape pushed last and still showing; none when the windows show their own pointers.
    virtual std::optional<PointerShape> shown() const = 0;
};

// Keeps the shapes pushed and shows none of them: the pointer of a program without a screen.
class NoScreenPointer : public MousePointer
{
public:
    void push(PointerShape shape) override { m_shapes.append(shape); }
    void pop() override
    {
        if (!m_shapes.isEmpty())
            m_shapes.removeLast();
    }
    std::optional<PointerShape> shown() const override
    {
        return m_shapes.isEmpty() ? std::nullopt : std::optional<PointerShape>(m_shapes.last());
    }
    // The shapes pushed and not yet taken back, the last one showing.
    const QList<PointerShape>& shapes() const { return m_shapes; }

private:
    QList<PointerShape> m_shapes;
};

// Shows a shape for the guard's life: the constructor pushes it, the destructor takes back
// exactly that push, on the service that was installed at construction.
class PointerGuard
{
public:
    explicit PointerGuard(PointerShape shape = PointerShape::Hourglass);
    ~PointerGuard();
    PointerGuard(const PointerGuard&) = delete;
    PointerGuard& operator=(const PointerGuard&) = delete;

private:
    MousePointer& m_pointer;
};

} // namespace platform
