#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The 80-column printer's side of the line: "j@" opens a document, each quoted text followed by
// "@" is one printed line, "J" closes the document. Bytes are read as they come, in any pieces;
// anything else on the line is counted and otherwise ignored, as a printer does.
class RicevitoreStampante {
public:
    struct Evento {
        enum class Tipo { Inizio, Riga, Fine };
        Tipo tipo;
        QString testo; // the printed line, for Riga
        bool operator==(const Evento&) const = default;
    };

    // A line longer than this is printed in pieces of this length.
    static constexpr int kMassimoRiga = 4096;

    // Takes the next bytes; returns what they completed, in order.
    QList<Evento> ricevi(const QByteArray& byte);

    int byteIgnorati() const { return ignorati_; }
    bool documentoAperto() const { return aperto_; }

private:
    enum class Stato { Fuori, DopoJ, InRiga, DopoRiga };
    void chiudiRiga(QList<Evento>& eventi);

    Stato stato_ = Stato::Fuori;
    QByteArray riga_;
    bool aperto_ = false;
    int ignorati_ = 0;
};
