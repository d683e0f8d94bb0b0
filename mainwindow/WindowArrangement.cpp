#include "mainwindow/WindowArrangement.h"

#include <QStringList>
#include <QtGlobal>
#include <algorithm>

namespace mainwindow {

QList<QRect> cascadeLayout(QSize zone, const QList<QSize>& tailles, int pas)
{
    QList<QRect> rects;
    pas = std::max(pas, 1);
    int k = 0;
    for (const QSize& s : tailles) {
        QPoint p(k * pas, k * pas);
        if (k > 0 && (zone.width() - p.x() < kCascadeMinimum.width() ||
                      zone.height() - p.y() < kCascadeMinimum.height())) {
            k = 0;
            p = QPoint(0, 0);
        }
        const int w = std::max(1, std::min(s.width(), zone.width() - p.x()));
        const int h = std::max(1, std::min(s.height(), zone.height() - p.y()));
        rects << QRect(p, QSize(w, h));
        ++k;
    }
    return rects;
}

QList<QRect> horizontalTileLayout(QSize zone, int n)
{
    QList<QRect> rects;
    if (n <= 0)
        return rects;
    const int h = std::max(1, zone.height() / n);
    for (int i = 0; i < n; ++i) {
        const int top = std::min(i * h, std::max(0, zone.height() - 1));
        const int height = (i == n - 1) ? std::max(1, zone.height() - top) : h;
        rects << QRect(0, top, std::max(1, zone.width()), height);
    }
    return rects;
}

QList<QPoint> iconLayout(QSize zone, const QList<QSize>& tailles)
{
    QList<QPoint> points;
    int x = 0;
    int bottom = zone.height(); // bottom edge of the current row
    int rowHeight = 0;
    for (const QSize& s : tailles) {
        if (x > 0 && x + s.width() > zone.width()) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, s.height());
        points << QPoint(x, bottom - s.height());
        x += s.width();
    }
    return points;
}

QSize openingSize(QSize souhaitee, QSize zone)
{
    auto side = [](int voulu, int minimum, int place) {
        return std::max(1, std::min(std::max(voulu, minimum), place));
    };
    return QSize(side(souhaitee.width(), kCascadeMinimum.width(), zone.width()),
                 side(souhaitee.height(), kCascadeMinimum.height(), zone.height()));
}

QPoint centredPosition(QSize zone, QSize taille)
{
    const float left = float(zone.width() - taille.width()) / 2.0f;
    const float top = float(zone.height() - taille.height()) / 2.0f;
    return QPoint(qRound(left), qRound(top));
}

QString placeText(const MainWindowPlace& place)
{
    const QRect& r = place.normal;
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(r.left())
        .arg(r.top())
        .arg(r.width())
        .arg(r.height())
        .arg(place.maximised ? 1 : 0);
}

std::optional<MainWindowPlace> readPlace(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 5)
        return std::nullopt;
    int values[5] = {};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] < 1 || values[3] < 1 || (values[4] != 0 && values[4] != 1))
        return std::nullopt;
    return MainWindowPlace{QRect(values[0], values[1], values[2], values[3]), values[4] == 1};
}

MainWindowPlace openingPlace(const std::optional<MainWindowPlace>& kept, const QRect& available)
{
    if (!kept)
        return {available, true};
    const QRect& r = kept->normal;
    const int width = std::min(r.width(), available.width());
    const int height = std::min(r.height(), available.height());
    const int left = std::clamp(r.left(), available.left(), available.left() + available.width() - width);
    const int top = std::clamp(r.top(), available.top(), available.top() + available.height() - height);
    return {QRect(left, top, width, height), kept->maximised};
}

} // namespace mainwindow
