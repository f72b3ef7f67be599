#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <functional>

class QPainter;

// One control of a report band. Positions and sizes are in twips relative to the band.
struct ControlloRapporto {
    enum class Tipo {
        Etichetta, // a caption, or a label the program fills by name; "%p" is the page number
        Campo,     // the value of a field of the bound list, by name
        Linea,     // a horizontal or vertical line along the rectangle's top or left edge
        Rettangolo,
        Immagine,
    };

    Tipo tipo = Tipo::Etichetta;
    QString nome; // label name or bound field
    QString testo;
    QRect posizione;
    double punti = 9.75; // Arial size in points
    bool grassetto = false;
    Qt::Alignment allineamento = Qt::AlignLeft;
    // A text that needs more lines than its height grows downwards and pushes down what lies
    // below it in the band; otherwise it wraps within its height and the last line is elided.
    bool cresce = false;
    QColor riempimento;   // rectangles: the fill, none when invalid
    bool contorno = true; // rectangles: the outline
    std::function<void(QPainter&, const QRectF&)> disegno; // pictures
};
