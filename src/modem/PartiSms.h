#pragma once

#include "CorpoSms.h"

#include <QList>
#include <QMap>
#include <QString>

class Archivio;

// The pieces of long messages received, kept in the archive beside the pending record that
// holds each message, so that a piece joins its message by sender, reference, count and number
// whatever order the SIM slots give them in and however many restarts come between them.
class PartiSms {
public:
    struct Pezzo {
        QString orario;
        QString testo;
    };
    // One long message as the archive knows it: its record and the pieces read so far.
    struct Messaggio {
        int riferimento = 0;
        int parti = 0;
        QString data;
        QString orarioPrimo;
        QMap<int, Pezzo> pezzi; // by piece number, from 1

        // The record's text: the pieces read, with the marks of those missing.
        QString Testo() const { return PartiSms::Testo(pezzi, parti); }
        // The pending record that holds it: same date and first time, and its text (a plain
        // message of the same second from the same sender has a record of its own).
        bool Tiene(const QString& dataRecord, const QString& orarioRecord,
                   const QString& testoRecord) const {
            return dataRecord == data && orarioRecord == orarioPrimo && testoRecord == Testo();
        }
    };

    // Where a piece (or a run of pieces) has not arrived.
    static QString SegnoMancante() { return QStringLiteral("[…]"); }

    // The long messages of `numero`, one for each record, in the order they were started.
    static QList<Messaggio> Messaggi(Archivio& archivio, const QString& numero);
    // Stores one piece of the message held by the record (`data`, `orarioPrimo`).
    static void Aggiungi(Archivio& archivio, const QString& numero,
                         const CorpoSms::Concatenazione& c, const QString& data,
                         const QString& orarioPrimo, const QString& orario, const QString& testo);
    // Forgets the pieces of `numero` whose record was handled or deleted at the desk.
    static void DimenticaOrfane(Archivio& archivio, const QString& numero);

    // The text of the pieces in their order; pieces split a word anywhere, so no separator.
    // Each run of missing pieces, before, between or after those read, shows SegnoMancante().
    static QString Testo(const QMap<int, Pezzo>& pezzi, int totale);
};
