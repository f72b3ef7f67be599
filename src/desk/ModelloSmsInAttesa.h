#pragma once

#include "RigaListaSms.h"

#include <QVector>

class Archivio;
class RubricaClienti;

// The pending list as the desk knows it: one row per SmsTemporanei record, in the table's own
// order, each carrying its record's rowid, whether the sender is a known customer and whether
// the message was taken in hand. The window draws these rows; code that resumes after a dialog
// finds its row again by the record's id, never by what a row shows.
class ModelloSmsInAttesa {
public:
    // Reads the whole list again from the archive.
    void Ricostruisci(Archivio& archivio, RubricaClienti& rubrica);
    // Appends a row (a message just stored); its position.
    int Aggiungi(const RigaListaSms& riga);

    int Conteggio() const { return int(righe_.size()); }
    const RigaListaSms& Riga(int indice) const { return righe_.at(indice); }
    // The position of the row of record `id`, or -1 when the list no longer holds it.
    int Indice(qint64 id) const;
    // The ids of the rows whose sender number is exactly `numero`, in list order.
    QVector<qint64> IdDelNumero(const QString& numero) const;

    void Rimuovi(int indice) { righe_.removeAt(indice); }
    void SegnaGestita(int indice) { righe_[indice].gestito = true; }
    void ImpostaTesto(int indice, const QString& testo) { righe_[indice].testo = testo; }
    void SpostaInFondo(int indice) { righe_.append(righe_.takeAt(indice)); }

    // The rowid of the pending record just stored or joined for `numero` with this date and
    // first time (the newest such record), or 0 when there is none.
    static qint64 IdRegistrato(Archivio& archivio, const QString& numero, const QString& data,
                               const QString& orarioPrimo);

private:
    QVector<RigaListaSms> righe_;
};
