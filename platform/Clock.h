#pragma once
// The time of day, behind an interface so that tests can fix "today".

#include <QDateTime>

namespace platform {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime& t = QDateTime(QDate(2010, 6, 15), QTime(12, 0))) : m_now(t) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void setToday(const QDate& d) { m_now = QDateTime(d, m_now.time()); }

private:
    QDateTime m_now;
};

} // namespace platform
