#include "common/OptionMarks.h"

#include <QHash>

namespace {
QHash<QString, bool>& marks()
{
    static QHash<QString, bool> m;
    return m;
}
std::function<void(const QString&, bool)>& observer()
{
    static std::function<void(const QString&, bool)> o;
    return o;
}
QString key(const QString& item) { return item.toLower(); }
} // namespace

bool common::isOptionChecked(const QString& item) { return marks().value(key(item), false); }

void common::setOptionChecked(const QString& item, bool coche)
{
    bool& mark = marks()[key(item)];
    if (mark == coche)
        return;
    mark = coche;
    if (observer())
        observer()(item, coche);
}

void common::observeOptions(std::function<void(const QString&, bool)> observateur)
{
    observer() = std::move(observateur);
}

void common::resetOptions()
{
    marks().clear();
    observer() = nullptr;
}
