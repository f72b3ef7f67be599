#pragma once

#include "RigaListaSms.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class Archivio;
class RubricaClienti;

// The pending list as the desk knows it: one row per SmsTemporanei record, each carrying its
// record's rowid, whether the sender is a known customer and whether the message was taken in
// hand; the main window's `ListaSMS` shows it. Rows come in table order on a rebuild, and each
// message stored later joins at the end. Every change goes through the model's own signals, so
// the view never redraws the whole list for a new or joined message. Code that resumes after a
// dialog finds its row again by the record's id, never by what a row shows.
class ModelloSmsInAttesa : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModelloSmsInAttesa(QObject* parent = nullptr);

    // Reads the whole list again from the archive; when the archive fails, the list keeps what
    // it held.
    void Ricostruisci(Archivio& archivio, RubricaClienti& rubrica);
    // A record the reception stored or joined: the row of `riga.id` takes its text, or the row
    // joins the end of the list when the list does not hold it.
    void Registrato(const RigaListaSms& riga);
    // The register changed: every row takes its sender's name again.
    void AggiornaClienti(Archivio& archivio, RubricaClienti& rubrica);

    int Conteggio() const { return int(righe_.size()); }
    const RigaListaSms& Riga(int indice) const { return righe_.at(indice); }
    // The position of the row of record `id`, or -1 when the list no longer holds it.
    int Indice(qint64 id) const;
    // The ids of the rows whose sender number is exactly `numero`, in list order.
    QVector<qint64> IdDelNumero(const QString& numero) const;

    // The row of record `id` leaves the list (nothing when it is not there).
    void Rimuovi(qint64 id);
    void SegnaGestita(qint64 id);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The cells' texts; a row taken in hand is drawn blue in its first cell and red in the others.
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

private:
    void cambiata(int indice);

    QVector<RigaListaSms> righe_;
};
