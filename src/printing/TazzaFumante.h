#pragma once

class QPainter;
class QRectF;

// The small picture of the business card: a steaming cup of coffee on its saucer, drawn with
// plain shapes so that it scales to any printer.
class TazzaFumante {
public:
    static void Disegna(QPainter& p, const QRectF& area);
};
