#pragma once

#include "RigaListaSms.h"

class Archivio;
class Recordset;

// What the desk does to the pending record a row of the list shows. The record is the one with
// the row's number, date, time and text, all four equal: two messages of one sender, or a number
// that begins another, are each handled on their own. Each operation opens the table it works
// on as the current recordset.
class OperazioniSmsInAttesa {
public:
    // True when a customer with exactly this number is disabled (every such customer is seen).
    static bool ClienteDisabilitato(Archivio& archivio, const QString& numero);
    // Marks the row's record as taken in hand; false when it is no longer there.
    static bool SegnaGestito(Archivio& archivio, const RigaListaSms& riga);
    // Copies the row's message into SMS and deletes its pending record, in one transaction:
    // either both happen or neither. False, with nothing written, when the pending record is no
    // longer there.
    static bool Archivia(Archivio& archivio, const RigaListaSms& riga);
    // Deletes the row's record; false when it is no longer there.
    static bool Elimina(Archivio& archivio, const RigaListaSms& riga);
    // Deletes every pending message whose number is exactly `numero`; how many went.
    static int EliminaDelNumero(Archivio& archivio, const QString& numero);

private:
    // Opens SmsTemporanei on the row's record; false when none matches.
    static bool posiziona(Recordset& rs, const RigaListaSms& riga);
};
