#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A disconnected list of rows with named text fields and no database behind it: what the print
// routines gather and then hand to either output. It moves like the archive's recordset, and
// moving to the first row of an empty list is the no-current-record failure (3021), which the
// list routines turn into "Impossibile Stampare una lista vuota.".
class RecordsetInMemoria {
public:
    // `larghezza`: the declared text width; longer values are cut to it when appended.
    explicit RecordsetInMemoria(QStringList campi, int larghezza);

    const QStringList& Campi() const { return campi_; }
    int Larghezza() const { return larghezza_; }
    int RecordCount() const { return int(righe_.size()); }

    // One value per field, in the order of Campi(); missing values are empty.
    void Aggiungi(const QStringList& valori);

    void MoveFirst();
    void MoveNext();
    bool isEOF() const { return posizione_ >= righe_.size(); }

    // Field of the current row, name matched without regard to case (3265 when unknown,
    // 3021 when there is no current row).
    QString Testo(const QString& campo) const;

private:
    int indice(const QString& campo) const;

    QStringList campi_;
    int larghezza_;
    QList<QStringList> righe_;
    qsizetype posizione_ = 0;
};
