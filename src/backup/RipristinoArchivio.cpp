#include "RipristinoArchivio.h"

#include "ConservazioneCopie.h"
#include "archive/Archivio.h"
#include "archive/ErroriArchivio.h"
#include "archive/Schema.h"
#include "archive/SqlInterno.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>
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

// True when this user may put another file in the place of `percorso`: not in a folder that
// keeps each user's files their own (the installed program's, whose archive belongs to the
// system) unless the file or the folder is theirs.
bool Sostituibile(const QString& percorso, const QString& cartella) {
    struct stat dir {};
    struct stat file {};
    if (::stat(QFile::encodeName(cartella).constData(), &dir) != 0 ||
        ::stat(QFile::encodeName(percorso).constData(), &file) != 0)
        return false;
    const uid_t io = ::geteuid();
    return !(dir.st_mode & S_ISVTX) || io == 0 || dir.st_uid == io || file.st_uid == io;
}

// Writes the bytes of `da` over `a`, keeping `a`'s file (its owner and rights), and waits for
// the disk. False when any of it failed.
bool Riscrivi(const QString& da, const QString& a) {
    QFile sorgente(da);
    QFile destinazione(a);
    if (!sorgente.open(QIODevice::ReadOnly) || !destinazione.open(QIODevice::ReadWrite))
        return false;
    QByteArray blocco;
    while (!(blocco = sorgente.read(1 << 20)).isEmpty())
        if (destinazione.write(blocco) != blocco.size())
            return false;
    if (sorgente.error() != QFileDevice::NoError || !destinazione.resize(sorgente.size()) ||
        !destinazione.flush())
        return false;
    return ::fsync(destinazione.handle()) == 0;
}

// Gives `percorso` a second name without ever replacing a file: the archive in use is then
// kept under that name whatever happens to its first one. With `copia`, a file of its own
// rather than a second name of the same file.
QString Accantona(const QString& percorso, const QString& cartella, const QDateTime& adesso,
                  bool copia) {
    const QString base = RipristinoArchivio::NomeAccantonato(adesso);
    for (int n = 1; n < 100; ++n) {
        const QString nome = n == 1 ? base : base.chopped(4) + QStringLiteral("-%1.mdb").arg(n);
        const QString destinazione = QDir(cartella).filePath(nome);
        if (!copia) {
            if (::link(QFile::encodeName(percorso).constData(),
                       QFile::encodeName(destinazione).constData()) == 0)
                return destinazione;
            if (errno == EEXIST)
                continue;
        }
        // A file system without links (a FAT stick as program folder): a copy, never over a file.
        if (QFile::exists(destinazione))
            continue;
        if (QFile::copy(percorso, destinazione) && ConservazioneCopie::Sincronizza(destinazione))
            return destinazione;
        QFile::remove(destinazione);
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
    if (sqlite3_open_v2(QFile::encodeName(copia).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
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
    // Where the archive cannot be replaced, its bytes are rewritten: it is then kept aside as
    // a file of its own, not as a second name of the file about to be rewritten.
    const bool sulPosto = RiscritturaSulPosto || !Sostituibile(inUso, cartellaProgramma);
    QString accantonato;
    try {
        accantonato = Accantona(inUso, cartellaProgramma, adesso, sulPosto);
    } catch (...) {
        QFile::remove(provvisorio);
        archivio.ApriArchivio(cartellaProgramma);
        throw;
    }
    if (sulPosto) {
        const bool scritta = Riscrivi(provvisorio, inUso);
        QFile::remove(provvisorio);
        if (!scritta) {
            Riscrivi(accantonato, inUso);
            archivio.ApriArchivio(cartellaProgramma);
            throw Errore(QStringLiteral("Impossibile scrivere la copia al posto dell'archivio: "
                                        "il ripristino non è stato eseguito."));
        }
    } else if (std::rename(QFile::encodeName(provvisorio).constData(),
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
        if (sulPosto) {
            Riscrivi(accantonato, inUso);
        } else {
            QFile::remove(inUso);
            QFile::copy(accantonato, inUso);
        }
        archivio.ApriArchivio(cartellaProgramma);
        throw Errore(QStringLiteral("La copia non si apre (%1): è stato rimesso l'archivio in uso.")
                         .arg(e.Description()));
    }
    return accantonato;
}
