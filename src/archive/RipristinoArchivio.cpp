#include "RipristinoArchivio.h"

#include "Archivio.h"
#include "ConservazioneCopie.h"
#include "ErroriArchivio.h"
#include "Schema.h"
#include "SqlInterno.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <sqlite3.h>
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

// Gives `percorso` a second name without ever replacing a file: the archive in use is then
// kept under that name whatever happens to its first one.
QString Accantona(const QString& percorso, const QString& cartella, const QDateTime& adesso) {
    const QString base = RipristinoArchivio::NomeAccantonato(adesso);
    for (int n = 1; n < 100; ++n) {
        const QString nome = n == 1 ? base : base.chopped(4) + QStringLiteral("-%1.mdb").arg(n);
        const QString destinazione = QDir(cartella).filePath(nome);
        if (::link(QFile::encodeName(percorso).constData(),
                   QFile::encodeName(destinazione).constData()) == 0)
            return destinazione;
        if (errno == EEXIST)
            continue;
        // A file system without links (a FAT stick as program folder): a copy, never over a file.
        if (QFile::exists(destinazione))
            continue;
        if (QFile::copy(percorso, destinazione))
            return destinazione;
        break;
    }
    throw Errore(QStringLiteral("Impossibile mettere da parte l'archivio in uso \"%1\": il "
                                "ripristino non è stato eseguito.")
                     .arg(percorso));
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

    sqlite3* db = nullptr;
    const auto chiudi = qScopeGuard([&db] { sqlite3_close_v2(db); });
    if (sqlite3_open_v2(QFile::encodeName(copia).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
        throw Errore(QStringLiteral("Impossibile aprire la copia \"%1\".").arg(copia));
    const QByteArray chiave = Archivio::Password().toUtf8();
    sqlite3_key(db, chiave.constData(), int(chiave.size()));
    QHash<QString, int> nellaCopia;
    for (const Ordine& o : Ordini(db))
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
    const QDir cartella(cartellaProgramma);
    const QString inUso = cartella.filePath(Archivio::NomeFile());
    const QString provvisorio = inUso + QStringLiteral(".ripristino");

    // The copy is made ready beside the archive first: until the last rename nothing changes.
    QFile::remove(provvisorio);
    if (!QFile::copy(copia, provvisorio)) {
        QFile::remove(provvisorio);
        throw Errore(QStringLiteral("Impossibile copiare \"%1\" nella cartella del programma: il "
                                    "ripristino non è stato eseguito.")
                         .arg(copia));
    }
    ConservazioneCopie::Sincronizza(provvisorio);

    archivio.Chiudi();
    // A journal left beside would be played back into the copy: the archive stays as it is.
    if (QFile::exists(inUso + QStringLiteral("-journal"))) {
        QFile::remove(provvisorio);
        archivio.ApriArchivio(cartellaProgramma);
        throw Errore(QStringLiteral("L'archivio in uso ha una scrittura in sospeso: il ripristino "
                                    "non è stato eseguito. Chiudere e riaprire il programma, poi "
                                    "riprovare."));
    }
    QString accantonato;
    try {
        accantonato = Accantona(inUso, cartellaProgramma, adesso);
    } catch (...) {
        QFile::remove(provvisorio);
        archivio.ApriArchivio(cartellaProgramma);
        throw;
    }
    if (std::rename(QFile::encodeName(provvisorio).constData(),
                    QFile::encodeName(inUso).constData()) != 0) {
        QFile::remove(provvisorio);
        archivio.ApriArchivio(cartellaProgramma);
        throw Errore(QStringLiteral("Impossibile mettere la copia al posto dell'archivio: il "
                                    "ripristino non è stato eseguito."));
    }
    ConservazioneCopie::Sincronizza(cartellaProgramma);

    try {
        archivio.ApriArchivio(cartellaProgramma);
    } catch (const ErroreRuntime& e) {
        // The copy does not open after all: the archive that was in use goes back.
        QFile::remove(inUso);
        QFile::copy(accantonato, inUso);
        archivio.ApriArchivio(cartellaProgramma);
        throw Errore(QStringLiteral("La copia non si apre (%1): è stato rimesso l'archivio in uso.")
                         .arg(e.Description()));
    }
    return accantonato;
}
