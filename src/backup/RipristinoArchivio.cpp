#include "RipristinoArchivio.h"

#include "AttesaBlocco.h"
#include "ConnessioneCopia.h"
#include "archive/Archivio.h"
#include "archive/ErroriArchivio.h"
#include "archive/Schema.h"
#include "archive/SqlInterno.h"
#include "platform/PermessiCondivisi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace {

QString ChiaveOrdine(const RipristinoArchivio::Ordine& o) {
    return QStringList{o.numero, o.data, o.orario, o.testo}.join(QChar(0x1f));
}

QList<RipristinoArchivio::Ordine> Ordini(sqlite3* db) {
    Istruzione q(db, QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 ORDER BY rowid")
                         .arg(Campo::T3Numero, Campo::T3DataArrivo, Campo::T3OrarioArrivo,
                              Campo::T3TestoSmsRicevuto, Tabella::SmsTemporanei));
    QList<RipristinoArchivio::Ordine> ordini;
    while (q.passo())
        ordini.append({q.colonna(0).toString(), q.colonna(1).toString(), q.colonna(2).toString(),
                       q.colonna(3).toString()});
    return ordini;
}

ErroreRuntime Errore(const QString& testo) {
    return ErroreRuntime(ErroreRuntime::ArchivioNonApribile, testo);
}

// Keeps the bytes of the archive at `percorso` in a file of its own beside it, never over a
// file. With `db`, a connection to it, a read transaction holds every writer back meanwhile, so
// the file kept is the archive at one moment; a damaged archive is kept as its bytes are.
QString Accantona(const QString& percorso, sqlite3* db, const QDateTime& adesso) {
    // A damaged archive may refuse even this: its bytes are kept all the same.
    if (db)
        sqlite3_exec(db, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    const auto fineLettura = qScopeGuard([&] {
        if (db && !sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    const QString cartella = QFileInfo(percorso).absolutePath();
    const QString base = RipristinoArchivio::NomeAccantonato(adesso);
    for (int n = 1; n < 100; ++n) {
        const QString nome = n == 1 ? base : base.chopped(4) + QStringLiteral("-%1.mdb").arg(n);
        const QString destinazione = QDir(cartella).filePath(nome);
        QFile file(destinazione);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFile::exists(destinazione))
                continue;
            break;
        }
        QFile sorgente(percorso);
        bool ok = sorgente.open(QIODevice::ReadOnly);
        QByteArray blocco;
        while (ok && !(blocco = sorgente.read(1 << 20)).isEmpty())
            ok = file.write(blocco) == blocco.size();
        ok = ok && sorgente.error() == QFileDevice::NoError && file.flush() &&
             ::fsync(file.handle()) == 0 &&
             PermessiCondivisi::Applica(file.handle(), destinazione, PermessiCondivisi::Condiviso);
        file.close();
        if (ok)
            return destinazione;
        QFile::remove(destinazione);
        break;
    }
    throw Errore(QStringLiteral("Impossibile mettere da parte l'archivio in uso \"%1\": il "
                                "ripristino non è stato eseguito.")
                     .arg(percorso));
}

// Writes the whole copy into the database of `destinazione` through the engine's backup: one
// transaction of the destination's journal, so it lands whole or not at all, in the same file.
// The engine's answer when it failed, SQLITE_OK when it went well.
int ScriviCopia(sqlite3* destinazione, const QString& copia, QString* errore) {
    ConnessioneCopia sorgente(copia, ConnessioneCopia::Modo::Lettura);
    if (!sorgente.Aperta()) {
        *errore = sorgente.Errore();
        return SQLITE_CANTOPEN;
    }
    sqlite3_backup* backup = sqlite3_backup_init(destinazione, "main", sorgente.db(), "main");
    if (!backup) {
        *errore = QString::fromUtf8(sqlite3_errmsg(destinazione));
        return sqlite3_errcode(destinazione);
    }
    AttesaBlocco attesa(RipristinoArchivio::AttesaBloccoMassima);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_backup_step(backup, -1)) != SQLITE_DONE && attesa.Riprova(rc))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        return SQLITE_OK;
    *errore = AttesaBlocco::EBlocco(rc)
                  ? QStringLiteral("l'archivio è occupato da un altro programma")
                  : QString::fromUtf8(sqlite3_errstr(rc));
    return rc;
}

ErroreRuntime NonScritta(const QString& errore) {
    return Errore(QStringLiteral("Impossibile scrivere la copia nell'archivio (%1): il "
                                 "ripristino non è stato eseguito.")
                      .arg(errore));
}

} // namespace

QString RipristinoArchivio::NomeAccantonato(const QDateTime& quando) {
    return QStringLiteral("archivio-sostituito-%1.mdb")
        .arg(quando.toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
}

QList<RipristinoArchivio::Ordine> RipristinoArchivio::OrdiniMancanti(Archivio& archivio,
                                                                     const QString& copia) {
    if (!archivio.db_)
        throw ErroriArchivio::NessunArchivio();
    const QList<Ordine> correnti = Ordini(archivio.db_);

    ConnessioneCopia c(copia, ConnessioneCopia::Modo::Lettura);
    if (!c.Aperta())
        throw Errore(QStringLiteral("Impossibile aprire la copia \"%1\".").arg(copia));
    QHash<QString, int> nellaCopia;
    for (const Ordine& o : Ordini(c.db()))
        ++nellaCopia[ChiaveOrdine(o)];

    QList<Ordine> mancanti;
    for (const Ordine& o : correnti) {
        int& n = nellaCopia[ChiaveOrdine(o)];
        if (n > 0)
            --n;
        else
            mancanti.append(o);
    }
    return mancanti;
}

QString RipristinoArchivio::Sostituisci(Archivio& archivio, const QString& cartellaProgramma,
                                        const QString& copia, const QDateTime& adesso) {
    if (!archivio.db_)
        throw ErroriArchivio::NessunArchivio();
    const QString inUso = archivio.Percorso();
    const QString accantonato = Accantona(inUso, archivio.db_, adesso);
    QString errore;
    if (ScriviCopia(archivio.db_, copia, &errore) != SQLITE_OK) {
        archivio.ApriArchivio(cartellaProgramma);
        throw NonScritta(errore);
    }
    try {
        // Read afresh: the tables and their recordsets are the copy's now.
        archivio.ApriArchivio(cartellaProgramma);
    } catch (const ErroreRuntime& e) {
        // The copy was checked, yet it does not open: the archive kept aside goes back the
        // same way, in one transaction.
        ConnessioneCopia file(inUso, ConnessioneCopia::Modo::Scrittura);
        if (!file.Aperta() || ScriviCopia(file.db(), accantonato, &errore) != SQLITE_OK)
            throw Errore(QStringLiteral("La copia non si apre (%1) e non è stato possibile "
                                        "rimettere l'archivio in uso: è conservato in \"%2\".")
                             .arg(e.Description(), accantonato));
        archivio.ApriArchivio(cartellaProgramma);
        throw Errore(QStringLiteral("La copia non si apre (%1): è stato rimesso l'archivio in uso.")
                         .arg(e.Description()));
    }
    return accantonato;
}

QString RipristinoArchivio::RipristinaFile(const QString& cartellaProgramma, const QString& copia,
                                           const QDateTime& adesso) {
    const QString inUso = QDir(cartellaProgramma).filePath(Archivio::NomeFile());
    const bool esiste = QFileInfo::exists(inUso);
    ConnessioneCopia archivio(inUso, esiste ? ConnessioneCopia::Modo::Scrittura
                                            : ConnessioneCopia::Modo::Nuovo);
    if (!archivio.Aperta())
        throw Errore(QStringLiteral("Impossibile aprire l'archivio \"%1\" (%2): il ripristino non "
                                    "è stato eseguito.")
                         .arg(inUso, archivio.Errore()));
    if (!esiste)
        PermessiCondivisi::Applica(inUso, PermessiCondivisi::Condiviso);
    const QString accantonato = esiste ? Accantona(inUso, archivio.db(), adesso) : QString();
    QString errore;
    const int rc = ScriviCopia(archivio.db(), copia, &errore);
    if (rc == SQLITE_OK)
        return accantonato;
    if ((rc & 0xff) != SQLITE_CORRUPT && (rc & 0xff) != SQLITE_NOTADB)
        throw NonScritta(errore);
    // The archive's own pages do not read: the engine cannot roll them into a transaction.
    // Its bytes are kept aside, so the file is emptied, keeping its owner, group and mode, and
    // the copy written into it; a journal left beside belongs to the old bytes and goes aside.
    sqlite3_close_v2(archivio.Rilascia());
    const QString diario = inUso + QStringLiteral("-journal");
    if (QFile::exists(diario) && !QFile::rename(diario, accantonato + QStringLiteral("-journal")))
        throw NonScritta(QStringLiteral("il file \"%1\" non si può spostare").arg(diario));
    if (!QFile::resize(inUso, 0))
        throw NonScritta(QStringLiteral("il file non si può svuotare"));
    ConnessioneCopia vuoto(inUso, ConnessioneCopia::Modo::Scrittura);
    if (!vuoto.Aperta() || ScriviCopia(vuoto.db(), copia, &errore) != SQLITE_OK)
        throw Errore(QStringLiteral("Impossibile scrivere la copia nell'archivio (%1). "
                                    "L'archivio danneggiato è conservato in \"%2\".")
                         .arg(vuoto.Aperta() ? errore : vuoto.Errore(), accantonato));
    return accantonato;
}
