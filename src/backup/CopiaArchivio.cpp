#include "CopiaArchivio.h"

#include "ConservazioneCopie.h"
#include "VerificaCopia.h"
#include "archive/Archivio.h"
#include "archive/SqlInterno.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace {

using Orologio = std::chrono::steady_clock;

// Pages copied per call of the engine: small enough that a call stays well under a millisecond.
constexpr int PaginePerChiamata = 64;
// Rows counted between two looks at the clock.
constexpr int RighePerControllo = 1024;

bool Rinomina(const QString& da, const QString& a) {
    // The system's rename replaces a copy of the same minute in one step.
    return std::rename(QFile::encodeName(da).constData(), QFile::encodeName(a).constData()) == 0;
}

} // namespace

CopiaArchivio::CopiaArchivio(Archivio& archivio, QStringList cartelle, QDateTime quando)
    : archivio_(archivio)
    , db_(archivio.db_)
    , cartelle_(std::move(cartelle))
    , quando_(std::move(quando))
    , nome_(ConservazioneCopie::Nome(quando_)) {
    if (cartelle_.isEmpty()) {
        fallisce(QStringLiteral("Nessuna cartella per la copia di sicurezza."));
        return;
    }
    if (!db_) {
        fallisce(QStringLiteral("Nessun archivio aperto da copiare."));
        return;
    }
    const QString principale = cartelle_.first();
    if (!QDir().mkpath(principale)) {
        fallisce(QStringLiteral("Impossibile creare la cartella \"%1\" per le copie di sicurezza.")
                     .arg(principale));
        return;
    }
    parziale_ = QDir(principale).filePath(nome_ + ConservazioneCopie::SuffissoParziale());
    iniziaConteggio();
}

CopiaArchivio::~CopiaArchivio() {
    abbandonaCopia();
    if (verifica_.valid())
        verifica_.wait();
}

bool CopiaArchivio::Riuscita() const {
    if (esiti_.isEmpty())
        return false;
    for (const EsitoCartella& e : esiti_)
        if (!e.riuscita)
            return false;
    return true;
}

QPair<qint64, qint64> CopiaArchivio::segnoModifiche() const {
    qint64 versione = 0;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        versione = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return {qint64(sqlite3_total_changes(db_)), versione};
}

void CopiaArchivio::iniziaConteggio() {
    fase_ = Fase::Conteggio;
    segno_ = segnoModifiche();
    tabelle_.clear();
    righe_.clear();
    tabella_ = 0;
    ultimoRowid_ = 0;
    try {
        Istruzione q(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                         "name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
        while (q.passo())
            tabelle_ << q.colonna(0).toString();
    } catch (const ErroreRuntime& e) {
        fallisce(
            QStringLiteral("Impossibile leggere l'archivio da copiare: %1").arg(e.Description()));
    }
}

void CopiaArchivio::fallisce(const QString& messaggio) {
    abbandonaCopia();
    esiti_.clear();
    for (const QString& c : cartelle_)
        esiti_.append({c, QString(), 0, false, false, messaggio});
    if (cartelle_.isEmpty())
        esiti_.append({QString(), QString(), 0, false, false, messaggio});
    fase_ = Fase::Conclusa;
}

void CopiaArchivio::abbandonaCopia() {
    if (preparazione_.valid()) {
        destinazione_ = preparazione_.get().db;
        if (!destinazione_)
            QFile::remove(parziale_);
    }
    if (backup_) {
        sqlite3_backup_finish(backup_);
        backup_ = nullptr;
    }
    if (destinazione_) {
        sqlite3_close_v2(destinazione_);
        destinazione_ = nullptr;
        QFile::remove(parziale_);
    }
}

bool CopiaArchivio::Passo(std::chrono::milliseconds tempo) {
    const auto fine = Orologio::now() + tempo;
    if (fase_ == Fase::Conteggio)
        passoConteggio(fine);
    if (fase_ == Fase::Preparazione &&
        preparazione_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        iniziaCopia();
    if (fase_ == Fase::Copia && Orologio::now() < fine)
        passoCopia(fine);
    if (fase_ == Fase::Verifica &&
        verifica_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        esiti_ = verifica_.get();
        fase_ = Fase::Conclusa;
    }
    return Conclusa();
}

void CopiaArchivio::Completa() {
    while (!Passo(std::chrono::milliseconds(200))) {
        if (fase_ == Fase::Preparazione)
            preparazione_.wait();
        if (fase_ == Fase::Verifica)
            verifica_.wait();
    }
}

void CopiaArchivio::passoConteggio(Orologio::time_point fine) {
    // A change since the count began makes the counts stale: they are taken again.
    if (segnoModifiche() != segno_)
        iniziaConteggio();
    try {
        while (tabella_ < tabelle_.size()) {
            const QString& nome = tabelle_.at(tabella_);
            Istruzione q(db_, QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid")
                                  .arg(Cita(nome)));
            q.lega(1, ultimoRowid_);
            qint64 contate = righe_.value(nome);
            bool finita = true;
            int dalControllo = 0;
            while (q.passo()) {
                ultimoRowid_ = q.intero(0);
                ++contate;
                if (++dalControllo == RighePerControllo) {
                    dalControllo = 0;
                    if (Orologio::now() >= fine) {
                        finita = false;
                        break;
                    }
                }
            }
            righe_[nome] = contate;
            if (!finita)
                return; // the statement ends here and holds no lock until the next step
            ++tabella_;
            ultimoRowid_ = 0;
        }
    } catch (const ErroreRuntime&) {
        // The archive busy with a write of its own: counted again at the next step.
        return;
    }

    // The key of the copy takes tens of milliseconds to derive: the file is made ready on
    // another thread, so that no step holds the windows that long.
    fase_ = Fase::Preparazione;
    preparazione_ = std::async(std::launch::async, &CopiaArchivio::prepara, parziale_);
}

CopiaArchivio::Destinazione CopiaArchivio::prepara(QString parziale) {
    Destinazione d;
    QFile::remove(parziale);
    if (sqlite3_open_v2(QFile::encodeName(parziale).constData(), &d.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        d.errore = QString::fromUtf8(sqlite3_errmsg(d.db));
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        return d;
    }
    const QByteArray chiave = Archivio::Password().toUtf8();
    sqlite3_key(d.db, chiave.constData(), int(chiave.size()));
    // The copy is synced and checked before it gets its name: no journal is needed while it is
    // written, and a small cache keeps the last step short. The first write derives the key.
    const char* sql = "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                      "PRAGMA cache_size = 128; CREATE TABLE preparazione (x); "
                      "DROP TABLE preparazione;";
    char* errore = nullptr;
    if (sqlite3_exec(d.db, sql, nullptr, nullptr, &errore) != SQLITE_OK) {
        d.errore = QString::fromUtf8(errore ? errore : sqlite3_errmsg(d.db));
        sqlite3_free(errore);
        sqlite3_close_v2(d.db);
        d.db = nullptr;
    }
    return d;
}

void CopiaArchivio::iniziaCopia() {
    Destinazione d = preparazione_.get();
    if (!d.db) {
        QFile::remove(parziale_);
        fallisce(QStringLiteral("Impossibile creare la copia \"%1\": %2").arg(parziale_, d.errore));
        return;
    }
    destinazione_ = d.db;
    backup_ = sqlite3_backup_init(destinazione_, "main", db_, "main");
    if (!backup_) {
        const QString errore = QString::fromUtf8(sqlite3_errmsg(destinazione_));
        fallisce(QStringLiteral("Impossibile avviare la copia \"%1\": %2").arg(parziale_, errore));
        return;
    }
    fase_ = Fase::Copia;
}

void CopiaArchivio::passoCopia(Orologio::time_point fine) {
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup_, PaginePerChiamata);
    } while (rc == SQLITE_OK && Orologio::now() < fine);
    if (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return; // more to copy, or the archive is in the middle of a write: next step
    if (rc != SQLITE_DONE) {
        const QString errore = QString::fromUtf8(sqlite3_errstr(rc));
        fallisce(QStringLiteral("Impossibile scrivere la copia \"%1\": %2").arg(parziale_, errore));
        return;
    }
    sqlite3_backup_finish(backup_);
    backup_ = nullptr;
    const int chiusura = sqlite3_close(destinazione_);
    destinazione_ = nullptr;
    if (chiusura != SQLITE_OK) {
        QFile::remove(parziale_);
        fallisce(QStringLiteral("Impossibile completare la copia \"%1\".").arg(parziale_));
        return;
    }
    if (segnoModifiche() != segno_) {
        // The copy holds the archive as it is now, the counts as it was: start both again.
        QFile::remove(parziale_);
        if (++tentativi_ >= MassimoTentativi) {
            fallisce(QStringLiteral("L'archivio è cambiato durante la copia di sicurezza per %1 "
                                    "volte di seguito: la copia sarà ripetuta più tardi.")
                         .arg(MassimoTentativi));
            return;
        }
        iniziaConteggio();
        return;
    }
    fase_ = Fase::Verifica;
    verifica_ = std::async(std::launch::async, &CopiaArchivio::concludi, parziale_, cartelle_,
                           nome_, righe_);
}

QList<CopiaArchivio::EsitoCartella> CopiaArchivio::concludi(QString parziale, QStringList cartelle,
                                                            QString nome,
                                                            QMap<QString, qint64> righe) {
    QList<EsitoCartella> esiti;
    for (const QString& c : cartelle)
        esiti.append({c, QString(), 0, false, false, QString()});

    const auto inCartella = [&](int i, const QString& sorgente) {
        EsitoCartella& e = esiti[i];
        const QDir dir(e.cartella);
        const QString finale = dir.filePath(nome);
        QString provvisorio = sorgente;
        if (i > 0) {
            provvisorio = dir.filePath(nome + ConservazioneCopie::SuffissoParziale());
            QFile::remove(provvisorio);
            if (!QFile::copy(sorgente, provvisorio)) {
                QFile::remove(provvisorio);
                e.messaggio = QStringLiteral("Impossibile scrivere la copia di sicurezza nella "
                                             "cartella \"%1\".")
                                  .arg(e.cartella);
                return false;
            }
        }
        // Renamed into place only once on the disk: a crash never leaves a good-looking name
        // on a copy that was not written.
        const bool sincronizzata = ConservazioneCopie::Sincronizza(provvisorio);
        const VerificaCopia::Esito verifica = VerificaCopia::Verifica(provvisorio, &righe);
        if (!sincronizzata || !verifica.valida) {
            QFile::remove(provvisorio);
            e.messaggio =
                QStringLiteral("La copia di sicurezza nella cartella \"%1\" non è valida ed è "
                               "stata eliminata.\n%2")
                    .arg(e.cartella,
                         sincronizzata
                             ? verifica.messaggio
                             : QStringLiteral("Il disco non ha completato la scrittura."));
            return false;
        }
        if (!Rinomina(provvisorio, finale)) {
            QFile::remove(provvisorio);
            e.messaggio = QStringLiteral("Impossibile dare il nome \"%1\" alla copia di sicurezza.")
                              .arg(finale);
            return false;
        }
        ConservazioneCopie::Sincronizza(e.cartella);
        ConservazioneCopie::Applica(e.cartella);
        e.percorso = finale;
        e.dimensione = QFileInfo(finale).size();
        e.riuscita = true;
        e.messaggio = QStringLiteral("Copia verificata: %1 (%2).")
                          .arg(QDir::toNativeSeparators(finale),
                               ConservazioneCopie::Dimensione(e.dimensione));
        return true;
    };

    if (!inCartella(0, parziale)) {
        for (int i = 1; i < esiti.size(); ++i)
            esiti[i].messaggio = esiti[0].messaggio;
        return esiti;
    }
    for (int i = 1; i < esiti.size(); ++i) {
        if (!QFileInfo(esiti[i].cartella).isDir()) {
            esiti[i].cartellaMancante = true;
            esiti[i].messaggio =
                QStringLiteral("La cartella \"%1\" per la seconda copia di sicurezza non è "
                               "raggiungibile (chiavetta non inserita o disco di rete non "
                               "collegato). La copia è stata fatta solo in \"%2\".")
                    .arg(esiti[i].cartella, esiti[0].cartella);
            continue;
        }
        inCartella(i, esiti[0].percorso);
    }
    return esiti;
}
