#pragma once

#include <QString>
#include <QVector>

class Archivio;

// The operator records (DatiGestoreSim) as the operator window reads and writes them. Each
// record is found by its own identifier, whatever the gaps in the counters. At most one operator
// is in use: storing one as in use takes the mark from the others in the same step, and a save
// that fails changes nothing at all.
class GestoriSim {
public:
    struct Gestore {
        qint64 id = 0;
        QString nome;
        bool operativo = false;
        QString telCredito;
        QString testoSms;
        int modalita = 0; // 0 not handled, 1 SMS, 2 USSD, 3 voice call
        int risposta = 0; // 1: the credit comes back by SMS
        QString credito;
        QString dataScadenza;
    };

    // Every operator, in table order.
    static QVector<Gestore> Elenco(Archivio& archivio);
    // Stores a new operator and returns its identifier. Throws ErroreRuntime (3022 for a credit
    // number already present) with the table unchanged.
    static qint64 Aggiungi(Archivio& archivio, const Gestore& g);
    // Stores the operator `g.id` (all but its credit). Throws ErroreRuntime (3021 when it is no
    // longer there, 3022 for a credit number already present) with the table unchanged.
    static void Modifica(Archivio& archivio, const Gestore& g);
};
