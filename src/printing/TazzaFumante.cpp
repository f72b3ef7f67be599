#include "TazzaFumante.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

void TazzaFumante::Disegna(QPainter& p, const QRectF& area) {
    // Drawn on a 100 × 100 grid centred in the area, keeping its proportions.
    const double lato = std::min(area.width(), area.height());
    p.save();
    p.translate(area.center().x() - lato / 2, area.center().y() - lato / 2);
    p.scale(lato / 100.0, lato / 100.0);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor marrone(90, 50, 20);
    QPen tratto(marrone, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Steam: three waves rising from the cup.
    p.setPen(QPen(QColor(110, 110, 110), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double x : {30.0, 45.0, 60.0}) {
        QPainterPath vapore(QPointF(x, 40));
        vapore.cubicTo(QPointF(x - 7, 30), QPointF(x + 7, 22), QPointF(x, 10));
        p.drawPath(vapore);
    }

    // The cup, rounded at the bottom, with its handle on the right.
    QPainterPath tazza(QPointF(18, 46));
    tazza.lineTo(QPointF(72, 46));
    tazza.cubicTo(QPointF(72, 72), QPointF(62, 84), QPointF(45, 84));
    tazza.cubicTo(QPointF(28, 84), QPointF(18, 72), QPointF(18, 46));
    p.setPen(tratto);
    p.setBrush(QColor(250, 250, 245));
    p.drawPath(tazza);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(64, 50, 20, 18), -90 * 16, 180 * 16);

    // The coffee at the rim and the saucer beneath.
    p.setBrush(marrone);
    p.drawEllipse(QRectF(21, 44, 48, 6));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(8, 90), QPointF(86, 90));
    p.restore();
}
