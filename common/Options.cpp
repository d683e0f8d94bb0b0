#include "common/Options.h"

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

bool fun_Option_Cochee(const QString& item) { return marks().value(key(item), false); }

void sub_Cocher_Option(const QString& item, bool coche)
{
    bool& mark = marks()[key(item)];
    if (mark == coche)
        return;
    mark = coche;
    if (observer())
        observer()(item, coche);
}

void sub_Observer_Options(std::function<void(const QString&, bool)> observateur) { observer() = std::move(observateur); }

void sub_Reset_Options()
{
    marks().clear();
    observer() = nullptr;
}
