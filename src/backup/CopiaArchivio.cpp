#include "CopiaArchivio.h"

#include "ConnessioneCopia.h"
#include "ConservazioneCopie.h"
#include "ImpostazioniBackup.h"
#include "VerificaCopia.h"
#include "archive/Archivio.h"
#include "archive/SqlInterno.h"
#include "platform/ErroreRuntime.h"
#include "platform/PermessiCondivisi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cstdio>
#include <sqlite3.h>
#include <thread>

namespace {

using Orologio = std::chrono::steady_clock;

// Pages copied per call of the engine: small enough that a call stays well under a millisecond.
constexpr int PaginePerChiamata = 64;
// Rows counted between two looks at the clock.
constexpr int RighePerControllo = 1024;

// The verification runs on a thread the copy does not wait for when it is abandoned (a closing
// that cannot wait for a hung network share): the thread owns everything it works on.
template <typename Lavoro> auto SuFiloProprio(Lavoro lavoro) -> std::future<decltype(lavoro())> {
    std::packaged_task<decltype(lavoro())()> compito(std::move(lavoro));
    std::future<decltype(lavoro())> futuro = compito.get_future();
    std::thread(std::move(compito)).detach();
    return futuro;
}

// What went wrong writing the copy's own file; any other error came from reading the archive.
bool ScritturaFallita(int rc) {
    const int primario = rc & 0xff;
    return primario == SQLITE_FULL || primario == SQLITE_READONLY || primario == SQLITE_CANTOPEN ||
           primario == SQLITE_PERM ||
           (primario == SQLITE_IOERR && rc != SQLITE_IOERR_READ && rc != SQLITE_IOERR_SHORT_READ);
}

// The engine's answer behind an error of the archive's layer: a lock, or anything else.
int CodiceDi(const ErroreRuntime& e) {
    return e.Number() == ErroreRuntime::RecordBloccato ? SQLITE_BUSY : SQLITE_ERROR;
}

QString SenzaSpazio(const QString& cartella) {
    return QStringLiteral("Non c'è spazio per la copia di sicurezza nella cartella \"%1\", nemmeno "
                          "dopo aver tolto le copie più vecchie: liberare spazio sul disco o "
                          "scegliere un'altra cartella in Backup Archivio.")
        .arg(cartella);
}

// On the archive's own disk a copy leaves this much room besides, and at least the archive's
// size again: the archive must always be able to grow.
constexpr qint64 RiservaMinima = 64 * 1024 * 1024;

bool Rinomina(const QString& da, const QString& a) {
    // The system's rename replaces a copy of the same minute in one step.
    return std::rename(QFile::encodeName(da).constData(), QFile::encodeName(a).constData()) == 0;
}

} // namespace

CopiaArchivio::CopiaArchivio(Archivio& archivio, QStringList cartelle, QDateTime quando,
                             VerificaCopia::Controllo controllo)
    : archivio_(archivio)
    , db_(archivio.db_)
    , cartelle_(std::move(cartelle))
    , quando_(std::move(quando))
    , controllo_(controllo)
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
    if (!spazio(principale, QFileInfo(archivio.Percorso()).size(), archivio.Percorso())) {
        fallisce(SenzaSpazio(principale));
        esiti_.first().spazioInsufficiente = true;
        return;
    }
    parziale_ = QDir(principale).filePath(ConservazioneCopie::NomeParziale(nome_));
    iniziaConteggio();
}

CopiaArchivio::~CopiaArchivio() {
    abbandonaCopia();
}

QString CopiaArchivio::ArchivioDanneggiato(const QString& dettaglio) {
    return QStringLiteral("L'archivio è danneggiato o il disco non riesce a leggerlo (%1): la "
                          "copia di sicurezza non è stata fatta.\nRipristinare l'ultima copia "
                          "buona con File → Ripristina Archivio… oppure, se il programma non si "
                          "avvia più, con il comando \"veltrika --ripristina COPIA\".")
        .arg(dettaglio);
}

void CopiaArchivio::erroreLettura(int rc, const QString& dettaglio) {
    if (attesa_.Riprova(rc))
        return;
    if (AttesaBlocco::EBlocco(rc)) {
        fallisce(QStringLiteral("L'archivio è rimasto occupato da un altro programma per più di "
                                "%1 secondi: la copia di sicurezza non è stata fatta.")
                     .arg(attesa_.Limite().count() / 1000));
        return;
    }
    fallisce(ArchivioDanneggiato(dettaglio));
}

bool CopiaArchivio::Riuscita() const {
    if (esiti_.isEmpty())
        return false;
    for (const EsitoCartella& e : esiti_)
        if (!e.riuscita)
            return false;
    return true;
}

bool CopiaArchivio::spazio(const QString& cartella, qint64 dimensione, const QString& archivio) {
    const auto basta = [&] {
        const QStorageInfo disco(cartella);
        if (!disco.isValid())
            return true; // not known: the copy tries, and fails loudly when the disk is full
        qint64 serve = dimensione;
        if (disco.rootPath() == QStorageInfo(archivio).rootPath())
            serve += std::max(dimensione, RiservaMinima);
        return disco.bytesAvailable() >= serve;
    };
    if (basta())
        return true;
    // Copies that failed for days never thinned the folder: the old ones go first.
    ConservazioneCopie::Applica(cartella, QDateTime::currentDateTime());
    return basta();
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
        erroreLettura(CodiceDi(e), e.Description());
    }
}

void CopiaArchivio::fallisce(const QString& messaggio) {
    abbandonaCopia();
    esiti_.clear();
    for (const QString& c : cartelle_) {
        esiti_.append(EsitoCartella{});
        esiti_.last().cartella = c;
    }
    if (cartelle_.isEmpty())
        esiti_.append(EsitoCartella{});
    for (EsitoCartella& e : esiti_)
        e.messaggio = messaggio;
    fase_ = Fase::Conclusa;
}

void CopiaArchivio::abbandonaCopia() {
    if (preparazione_.valid())
        destinazione_ = preparazione_.get().db;
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

bool CopiaArchivio::Completa(std::chrono::milliseconds limite) {
    const auto scadenza = Orologio::now() + limite;
    while (!Passo(std::chrono::milliseconds(200))) {
        if (Orologio::now() >= scadenza) {
            fallisce(QStringLiteral("La copia di sicurezza non è finita entro %1 secondi ed è "
                                    "stata interrotta.")
                         .arg(std::chrono::duration_cast<std::chrono::seconds>(limite).count()));
            return false;
        }
        if (fase_ == Fase::Preparazione)
            preparazione_.wait_until(scadenza);
        else if (fase_ == Fase::Verifica)
            verifica_.wait_until(scadenza);
        else // a lock of another program: its deadline is counted by the steps
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void CopiaArchivio::passoConteggio(Orologio::time_point fine) {
    // A change since the count began makes the counts stale: they are taken again; so is a
    // list of tables a lock kept from being read.
    if (segnoModifiche() != segno_ || tabelle_.isEmpty())
        iniziaConteggio();
    if (fase_ != Fase::Conteggio || tabelle_.isEmpty())
        return;
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
            attesa_.Azzera();
            if (!finita)
                return; // the statement ends here and holds no lock until the next step
            ++tabella_;
            ultimoRowid_ = 0;
        }
    } catch (const ErroreRuntime& e) {
        // Only another program's write in progress is counted again at the next step.
        erroreLettura(CodiceDi(e), e.Description());
        return;
    }

    // The key of the copy takes tens of milliseconds to derive: the file is made ready on
    // another thread, so that no step holds the windows that long.
    fase_ = Fase::Preparazione;
    preparazione_ = std::async(std::launch::async, &CopiaArchivio::prepara, parziale_);
}

CopiaArchivio::Destinazione CopiaArchivio::prepara(QString parziale) {
    Destinazione d;
    ConnessioneCopia nuova(parziale, ConnessioneCopia::Modo::Nuovo);
    if (!nuova.Aperta()) {
        d.errore = nuova.Errore();
        return d;
    }
    d.db = nuova.Rilascia();
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
        QFile::remove(parziale);
    }
    return d;
}

void CopiaArchivio::iniziaCopia() {
    Destinazione d = preparazione_.get();
    if (!d.db) {
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
        if (rc == SQLITE_OK)
            attesa_.Azzera();
    } while (rc == SQLITE_OK && Orologio::now() < fine);
    if (rc == SQLITE_OK)
        return; // more to copy at the next step
    if (rc != SQLITE_DONE && !ScritturaFallita(rc)) {
        erroreLettura(rc, QString::fromUtf8(sqlite3_errstr(rc)));
        return;
    }
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
    verifica_ = SuFiloProprio([parziale = parziale_, cartelle = cartelle_, nome = nome_,
                               righe = righe_, quando = quando_, controllo = controllo_,
                               dimensione = QFileInfo(parziale_).size()] {
        return concludi(parziale, cartelle, nome, quando, righe, controllo, dimensione);
    });
}

QList<CopiaArchivio::EsitoCartella> CopiaArchivio::concludi(QString parziale, QStringList cartelle,
                                                            QString nome, QDateTime quando,
                                                            QMap<QString, qint64> righe,
                                                            VerificaCopia::Controllo controllo,
                                                            qint64 dimensione) {
    QList<EsitoCartella> esiti;
    for (const QString& c : cartelle) {
        esiti.append(EsitoCartella{});
        esiti.last().cartella = c;
    }

    const auto inCartella = [&](int i, const QString& sorgente) {
        EsitoCartella& e = esiti[i];
        const QDir dir(e.cartella);
        const QString finale = dir.filePath(nome);
        QString provvisorio = sorgente;
        if (i > 0) {
            // A name of its own: a copy of the same minute from another program is left alone.
            provvisorio = dir.filePath(ConservazioneCopie::NomeParziale(nome));
            if (!spazio(e.cartella, dimensione, QString())) {
                e.spazioInsufficiente = true;
                e.messaggio = SenzaSpazio(e.cartella);
                return false;
            }
            if (!QFile::copy(sorgente, provvisorio) ||
                !PermessiCondivisi::Applica(provvisorio, PermessiCondivisi::Copia)) {
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
        const VerificaCopia::Esito verifica =
            VerificaCopia::Verifica(provvisorio, &righe, controllo);
        if (!sincronizzata || !verifica.valida) {
            // Pages that read well but disagree with each other came so from the archive.
            e.archivioDanneggiato =
                i == 0 && sincronizzata && controllo == VerificaCopia::Controllo::Completo &&
                VerificaCopia::Verifica(provvisorio, &righe, VerificaCopia::Controllo::Rapido)
                    .valida;
            QFile::remove(provvisorio);
            if (e.archivioDanneggiato) {
                const QList<ConservazioneCopie::Copia> buone =
                    ConservazioneCopie::Elenco(e.cartella);
                e.messaggio = CopiaArchivio::ArchivioDanneggiato(verifica.messaggio);
                if (!buone.isEmpty())
                    e.messaggio += QStringLiteral("\nLa copia più recente che ha superato il "
                                                  "controllo è \"%1\".")
                                       .arg(QDir::toNativeSeparators(buone.first().percorso));
                return false;
            }
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
        ConservazioneCopie::Applica(e.cartella, quando, nome);
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
        // This installation's folder is made inside a further folder that is there; a folder
        // the user chose is never made (a stick not inserted leaves its mount point empty).
        const QFileInfo cartella(esiti[i].cartella);
        if (ImpostazioniBackup::EInstallazione(cartella.fileName()) &&
            QFileInfo(cartella.absolutePath()).isDir())
            QDir().mkdir(esiti[i].cartella);
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
