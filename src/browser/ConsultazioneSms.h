#pragma once

#include "archive/SqlInterno.h"
#include "desk/RigaListaSms.h"

#include <QStringList>
#include <vector>

class Archivio;

// The reading of the archived messages for the browser: the senders, the messages of a sender
// and a date range, and one message at a time. Lists hold message ids only, so that a list of a
// million messages costs a few megabytes; the texts are read when shown.
class ConsultazioneSms {
public:
    static QString Tutti() { return QStringLiteral("Tutti"); }

    // The archive must be open, and stay open while this lives. The index by number and date
    // the filters use is created when the file lacks it (files made before it existed).
    explicit ConsultazioneSms(Archivio& archivio);

    // Every number of the archive once, in the order of its first message.
    QStringList Mittenti();

    // The ids of the messages of `numero` ("Tutti" for every number, otherwise an exact match)
    // whose date key lies from `daChiave` to `aChiave` inclusive, in the table's order. Two keys
    // of 0 mean every date.
    std::vector<qint64> Messaggi(const QString& numero, int daChiave, int aChiave);

    // Number, date, time and text of one message (name left empty); empty fields when the
    // message is no longer there.
    RigaListaSms Leggi(qint64 id);

    static QString NomeIndice() { return QStringLiteral("SMS_T4Numero_T4DataArrivo"); }

private:
    sqlite3* db_;
    Istruzione lettura_;
};
