// The screen's mouse pointer on the application's override cursor, offscreen: guards nest, and
// each takes back exactly what it pushed.

#include "platform/MousePointer.h"
#include "platform/OverrideCursorPointer.h"
#include "platform/Services.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

using platform::PointerGuard;
using platform::PointerShape;

namespace {

std::optional<Qt::CursorShape> screenPointer()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? std::optional<Qt::CursorShape>(c->shape()) : std::nullopt;
}

class ScreenPointerTest : public ::testing::Test
{
protected:
    ScreenPointerTest()
    {
        platform::Services s;
        s.pointer = &screen;
        m_previous = platform::installServices(s);
    }
    ~ScreenPointerTest() override
    {
        platform::installServices(m_previous);
        while (QGuiApplication::overrideCursor()) // a failed case leaves no pointer to the next
            QGuiApplication::restoreOverrideCursor();
    }

    platform::OverrideCursorPointer screen;

private:
    platform::Services m_previous;
};

} // namespace

TEST_F(ScreenPointerTest, NestedGuardsShowTheInnerShapeAndLeaveNothingBehind)
{
    EXPECT_EQ(screen.shown(), std::nullopt);
    {
        const PointerGuard work;
        EXPECT_EQ(screenPointer(), Qt::WaitCursor);
        {
            const PointerGuard box(PointerShape::Arrow);
            EXPECT_EQ(screenPointer(), Qt::ArrowCursor);
            EXPECT_EQ(screen.shown(), PointerShape::Arrow);
            {
                const PointerGuard innerWork; // the same shape again: pushed and taken back all the same
                EXPECT_EQ(screen.shown(), PointerShape::Hourglass);
            }
            EXPECT_EQ(screenPointer(), Qt::ArrowCursor);
        }
        EXPECT_EQ(screenPointer(), Qt::WaitCursor);
        EXPECT_EQ(screen.shown(), PointerShape::Hourglass);
    }
    EXPECT_EQ(screenPointer(), std::nullopt);
    EXPECT_EQ(screen.shown(), std::nullopt);
}

TEST_F(ScreenPointerTest, AGuardTakesBackFromThePointerItPushedOn)
{
    {
        const PointerGuard work;
        platform::installServices({}); // another pointer is installed meanwhile
    }
    EXPECT_EQ(screenPointer(), std::nullopt);
}
