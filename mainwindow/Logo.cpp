#include "mainwindow/Logo.h"

#include "common/Globals.h"
#include "common/Publisher.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mainwindow {

QPixmap logoPixmap(const QSize& taille)
{
    QPixmap pixmap(taille);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = taille.width();
    const qreal h = taille.height();

    QLinearGradient sky(0, 0, 0, h * 0.6);
    sky.setColorAt(0, QColor(0xc9, 0xdc, 0xec));
    sky.setColorAt(1, QColor(0xf4, 0xf6, 0xf8));
    p.fillRect(QRectF(0, 0, w, h * 0.6), sky);

    // Ploughed field with its furrows running to the horizon.
    const QRectF field(0, h * 0.6, w, h * 0.4);
    p.fillRect(field, QColor(0x8a, 0x6f, 0x4e));
    p.setPen(QPen(QColor(0xb8, 0xa0, 0x80), 2));
    for (int i = -8; i <= 8; ++i)
        p.drawLine(QPointF(w / 2 + i * w / 40, h * 0.6), QPointF(w / 2 + i * w / 6, h));
    p.fillRect(QRectF(0, h * 0.6 - 2, w, 4), QColor(0x6b, 0x7f, 0x4a));

    // Birds in flight.
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF birds[] = {{0.70, 0.14}, {0.78, 0.20}, {0.64, 0.24}, {0.84, 0.11}};
    for (const QPointF& b : birds) {
        const QPointF c(b.x() * w, b.y() * h);
        const qreal s = w / 60;
        QPainterPath path;
        path.moveTo(c + QPointF(-s, -s / 2));
        path.quadTo(c + QPointF(-s / 2, -s), c);
        path.quadTo(c + QPointF(s / 2, -s), c + QPointF(s, -s / 2));
        p.drawPath(path);
    }

    QFont name(QStringLiteral("Serif"));
    name.setBold(true);
    name.setPixelSize(int(h * 0.22));
    p.setFont(name);
    p.setPen(QColor(0x24, 0x3b, 0x55));
    p.drawText(QRectF(w * 0.06, h * 0.12, w * 0.9, h * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
               common::kProgramName);

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(int(h * 0.065));
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, h * 0.8, w, h * 0.15), Qt::AlignCenter, common::kLongTitle);
    return pixmap;
}

} // namespace mainwindow
