#pragma once

#include <QVector>
#include <QString>

class Archivio;

// What the desk does to a pending record, named by its rowid: two messages of one sender, or a
// number that begins another, are each handled on their own, and a record that left the table
// meanwhile is never confused with another. Each operation opens the table it works on as the
// current recordset.
class OperazioniSmsInAttesa {
public:
    // True when a customer with exactly this number is disabled (every such customer is seen).
    static bool ClienteDisabilitato(Archivio& archivio, const QString& numero);
    // Marks the record as taken in hand; false when it is no longer there.
    static bool SegnaGestito(Archivio& archivio, qint64 id);
    // Copies the record's message into SMS and deletes the pending record, in one transaction:
    // either both happen or neither. False, with nothing written, when the pending record is no
    // longer there.
    static bool Archivia(Archivio& archivio, qint64 id);
    // Deletes the record; false when it is no longer there.
    static bool Elimina(Archivio& archivio, qint64 id);
    // Deletes these records (those still there); how many went.
    static int EliminaTutti(Archivio& archivio, const QVector<qint64>& id);
};
