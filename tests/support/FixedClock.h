#pragma once
// The Clock service of the tests: "now" is what the test says.

#include "platform/Clock.h"

#include <QDateTime>

namespace testing_support {

class FixedClock : public platform::Clock
{
public:
    explicit FixedClock(const QDateTime& t = QDateTime(QDate(2010, 6, 15), QTime(12, 0))) : m_now(t) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void setToday(const QDate& d) { m_now = QDateTime(d, m_now.time()); }

private:
    QDateTime m_now;
};

} // namespace testing_support
