#pragma once

#include "Criterio.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3;

// The current recordset: one table of the open archive, all records and all fields, in the
// table's own order (ascending rowid), updatable. It is a cursor: opening it reads no records, so
// opening a table of a million messages costs no more than opening an empty one.
// Failures surface as ErroreRuntime with the classic numbers (3021 no current record, 3022
// duplicate key, 3265 unknown field, ...).
class Recordset {
public:
    Recordset(sqlite3* db, QString nomeTabella, QStringList campi);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const QString& NomeTabella() const { return tabella_; }
    const QStringList& Campi() const { return campi_; }

    // Back on the first record as a freshly opened table: no match pending, nothing being edited.
    void Riapri();
    void MoveFirst();
    void MoveNext();
    bool isEOF() const;

    // The identity of the current record (its rowid); throws 3021 without a current record.
    qint64 Rowid() const;
    // Makes the record with this rowid current; false, with no current record, when it is gone.
    bool Posiziona(qint64 rowid);

    // Value of a field of the current record (names matched without regard to case).
    QVariant Campo(const QString& nome) const;
    QString Testo(const QString& nome) const; // NULL reads as the empty text
    bool Booleano(const QString& nome) const; // any non-zero value reads as true
    qint64 Intero(const QString& nome) const; // NULL reads as 0

    // Finds the first record of the table that matches; NoMatch() tells whether none did.
    // Without a match the current record does not change.
    void FindFirst(const Criterio& criterio);
    bool NoMatch() const { return noMatch_; }

    void AddNew();
    void Edit();
    void Imposta(const QString& campo, const QVariant& valore);
    // Stores the added or edited record in one statement: it is written whole or not at all.
    void Update();
    // The rowid of the record the last AddNew stored through this recordset, 0 before any.
    qint64 UltimoAggiunto() const { return ultimoAggiunto_; }
    void CancelUpdate();
    void Delete();

    qint64 RecordCount() const;

private:
    // Position of a field among Campi(), without regard to case; throws 3265 when unknown.
    int indiceCampo(const QString& nome) const;

    struct Impl;
    std::unique_ptr<Impl> d;
    QString tabella_;
    QStringList campi_;
    bool noMatch_ = false;
    qint64 ultimoAggiunto_ = 0;
};
