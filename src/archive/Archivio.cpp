#include "Archivio.h"

#include "AggiornamentoSchema.h"
#include "ChiaveArchivio.h"
#include "ConversioneFormato.h"
#include "ErroriArchivio.h"
#include "SchemaArchivio.h"
#include "SqlInterno.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <utility>

namespace {

// How long a statement waits for another program's lock before failing with 3218: long enough
// to ride over a reader, short enough not to freeze the window.
constexpr int AttesaBloccoMs = 250;

// An encrypted file cannot tell a wrong key or format from damage. A plain database or a file
// whose size is not a whole number of pages is certainly not ours; anything else may be ours in
// SQLCipher 4's own format, or damaged.
bool SembraArchivioCifrato(const QString& percorso) {
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 dimensione = f.size();
    const QByteArray intestazione = f.read(16);
    if (intestazione == QByteArray("SQLite format 3", 16))
        return false;
    return dimensione >= 512 && dimensione % 512 == 0;
}

sqlite3* ApriConChiave(const QString& percorso) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        ErroreRuntime errore = ErroriArchivio::DaSqlite(db, rc);
        sqlite3_close_v2(db);
        throw errore;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, AttesaBloccoMs);
    ChiaveArchivio::Applica(db);
    return db;
}

QStringList TabelleDelFile(sqlite3* db) {
    Istruzione q(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                    "name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    QStringList nomi;
    while (q.passo())
        nomi << q.colonna(0).toString();
    return nomi;
}

} // namespace

QStringList Archivio::Tabelle() {
    QStringList nomi;
    for (const SchemaArchivio::Tabella& t :
         SchemaArchivio::Tabelle(SchemaArchivio::VersionePrimaConsegna))
        nomi << t.nome;
    return nomi;
}

Archivio::Archivio() = default;

Archivio::~Archivio() {
    corrente_ = nullptr;
    tabelle_.clear();
    sqlite3_close_v2(db_);
}

void Archivio::Chiudi() {
    corrente_ = nullptr;
    tabelle_.clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Archivio::ApriArchivio(const QString& cartellaProgramma) {
    Chiudi();
    percorso_ = QDir(cartellaProgramma).filePath(NomeFile());

    // Opening without SQLITE_OPEN_CREATE already refuses a missing file; checking first gives
    // the classic error with the path instead of a generic one.
    if (!QFileInfo::exists(percorso_))
        throw ErroriArchivio::FileNonTrovato(percorso_);

    sqlite3* db = ApriConChiave(percorso_);
    try {
        QStringList presenti;
        try {
            presenti = TabelleDelFile(db);
        } catch (const ErroreRuntime& e) {
            if (e.Number() != ErroreRuntime::FormatoNonRiconosciuto)
                throw;
            if (!SembraArchivioCifrato(percorso_))
                throw ErroriArchivio::FormatoNonRiconosciuto(percorso_);
            // Maybe written in SQLCipher 4's own format by a build before the pinning: converted
            // once, the original kept aside.
            sqlite3_close_v2(std::exchange(db, nullptr));
            if (ConversioneFormato::Converti(percorso_, QDateTime::currentDateTime()).isEmpty())
                throw ErroriArchivio::ArchivioIlleggibile(percorso_);
            db = ApriConChiave(percorso_);
            presenti = TabelleDelFile(db);
        }
        for (const QString& tabella : Tabelle()) {
            if (!presenti.contains(tabella, Qt::CaseInsensitive))
                throw ErroriArchivio::TabellaNonTrovata(tabella);
        }
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    try {
        AggiornamentoSchema::Applica(db_, [this] { copiaPrimaDiAggiornare(*this); });
    } catch (...) {
        Chiudi();
        throw;
    }
}

Recordset& Archivio::ApriTabella(const QString& nome) {
    if (!db_)
        throw ErroriArchivio::NessunArchivio();

    QString trovata;
    for (const QString& t : TabelleDelFile(db_)) {
        if (t.compare(nome, Qt::CaseInsensitive) == 0) {
            trovata = t;
            break;
        }
    }
    if (trovata.isEmpty())
        throw ErroriArchivio::TabellaNonTrovata(nome);

    auto esistente = tabelle_.find(trovata);
    if (esistente != tabelle_.end()) {
        // Reopened in place: whoever still holds it keeps a valid recordset.
        esistente->second->Riapri();
        corrente_ = esistente->second.get();
        return *corrente_;
    }

    QStringList campi;
    Istruzione info(db_, QStringLiteral("PRAGMA table_info(%1)").arg(Cita(trovata)));
    while (info.passo())
        campi << info.colonna(1).toString();

    // The previous recordset stays current if the new one cannot be opened.
    auto nuovo = std::make_unique<Recordset>(db_, trovata, campi);
    corrente_ = nuovo.get();
    tabelle_.emplace(trovata, std::move(nuovo));
    return *corrente_;
}

Recordset& Archivio::rs() {
    if (!corrente_)
        throw ErroriArchivio::NessunArchivio();
    return *corrente_;
}
