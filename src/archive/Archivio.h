#pragma once

#include "Recordset.h"

#include <QString>
#include <map>
#include <memory>

struct sqlite3;

// The one open archive of the program and its one current recordset, which every window shares
// and replaces by opening the table it needs.
//
// Each table has one recordset for the life of the open archive: opening a table again
// repositions that same recordset on its first record and makes it current, it never frees it.
// A reference a window took before a modal question therefore stays a valid recordset of the
// same table whatever the main timer opened meanwhile; only its position may have moved, so
// code that resumes after a question finds its record again by identity (an id, a rowid).
class Archivio {
public:
    static QString NomeFile() { return QStringLiteral("archivio.mdb"); }
    // The database password of the delivered file.
    static QString Password() { return QStringLiteral("5830kvm4177"); }
    // The five tables of the file, with their names as the file spells them.
    static QStringList Tabelle();

    Archivio();
    ~Archivio();
    Archivio(const Archivio&) = delete;
    Archivio& operator=(const Archivio&) = delete;

    // Opens <cartellaProgramma>/archivio.mdb with the password. Never creates a file: a missing
    // file, a wrong password, a damaged file or one without the five tables throws ErroreRuntime
    // (3024, 3031, 3343, 3078) and leaves the archive closed.
    void ApriArchivio(const QString& cartellaProgramma);
    bool Caricato() const { return db_ != nullptr; }
    // Closes the file; every recordset handed out is gone with it.
    void Chiudi();
    // Makes the tables added after the first delivery (Schema::TabelleAggiunte) where the file
    // lacks them; ApriArchivio already tries. Throws ErroreRuntime when the file cannot be written.
    void AssicuraTabelleAggiunte();
    const QString& Percorso() const { return percorso_; }

    // Opens the named table (name matched without regard to case) as the current recordset,
    // positioned on its first record. Throws 3078 for an unknown table. The reference stays
    // valid until the archive is opened again or destroyed.
    Recordset& ApriTabella(const QString& nome);
    // The current recordset; ApriTabella must have been called.
    Recordset& rs();
    bool HaRecordsetCorrente() const { return corrente_ != nullptr; }

private:
    friend class Transazione;
    friend class ConsultazioneSms;
    friend class CopiaArchivio;
    friend class RipristinoArchivio;
    sqlite3* db_ = nullptr;
    QString percorso_;
    // One recordset per table, by the table's name as the file spells it.
    std::map<QString, std::unique_ptr<Recordset>> tabelle_;
    Recordset* corrente_ = nullptr;
};
