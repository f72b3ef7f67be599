#pragma once

#include "Recordset.h"
#include "platform/ErroreRuntime.h"

#include <QString>
#include <functional>
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
    // The tables every archive of the program holds, from the first release on, as the file
    // spells them; the opening adds the later ones.
    static QStringList Tabelle();

    Archivio();
    ~Archivio();
    Archivio(const Archivio&) = delete;
    Archivio& operator=(const Archivio&) = delete;

    // Opens <cartellaProgramma>/archivio.mdb with the password. Never creates a file: a missing
    // file, a wrong password, a damaged file or one without the five tables throws ErroreRuntime
    // (3024, 3031, 3343, 3078) and leaves the archive closed. An archive made by an earlier
    // release gets the schema steps it lacks (AggiornamentoSchema), after
    // copiaPrimaDiAggiornare; when that copy or a step fails, the file is left as it was and
    // the archive stays closed (3051).
    void ApriArchivio(const QString& cartellaProgramma);
    bool Caricato() const { return db_ != nullptr; }
    // Closes the file; every recordset handed out is gone with it.
    void Chiudi();
    // Takes a checked copy of the open archive before its schema changes, or throws
    // ErroreRuntime. The copies live above the archive (backup/CopiaAggiornamento): whoever
    // opens a shop's archive sets it; without it an archive holding rows is not changed.
    std::function<void(Archivio&)> copiaPrimaDiAggiornare = [](Archivio&) {
        throw ErroreRuntime(ErroreRuntime::ArchivioNonApribile,
                            QStringLiteral("non è indicata una cartella per le copie."));
    };
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
