// bench-backup [--cartella <cartella>] [--ripetizioni N]
//
// Times the program's automatic copy of the archive beside the command-line floors and cp of
// the same file, medians over N runs (default 3): the floors are an encrypted copy made with the
// `sqlcipher` tool (sqlcipher_export into a keyed file) and the same plus PRAGMA integrity_check
// on it; the routine copy as the running program takes it (BackupAutomatico on its own timer,
// quick check on a thread of its own), the same copy driven without pauses to split the steps on
// the main thread from the check (and the check alone, on the archive itself), the weekly copy
// with the full check, the closing copy, and how late a 100 ms and a 5 ms timer fire meanwhile.
// Without --cartella, or when the folder has no archivio.mdb, one is generated (10.000
// customers, 2.000 pending, a million archived messages), in a temporary folder when none is given.
//
// The copies go where the program puts them, <cartella>/Backup, removed after each run; a folder
// whose Backup already holds files, or that names a further folder, is refused, so no copy of
// anyone's is thinned out or written elsewhere.

#include "Generatore.h"
#include "Misure.h"
#include "archive/Archivio.h"
#include "archive/ChiaveArchivio.h"
#include "backup/BackupAutomatico.h"
#include "backup/CopiaArchivio.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/VerificaCopia.h"
#include "platform/ErroreRuntime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

using namespace Misure;
using Orologio = std::chrono::steady_clock;

// Every timer event is timed while a copy runs: the longest one is the longest time a step of
// the copy held the event loop, measured directly rather than read off the timers.
class Applicazione : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;

    bool notify(QObject* destinatario, QEvent* evento) override {
        if (!misura || evento->type() != QEvent::Timer || esclusi.contains(destinatario))
            return QCoreApplication::notify(destinatario, evento);
        QElapsedTimer t;
        t.start();
        const bool r = QCoreApplication::notify(destinatario, evento);
        eventoPiuLungo = std::max(eventoPiuLungo, Trascorso(t));
        return r;
    }

    bool misura = false;
    // The measuring timers themselves.
    QList<QObject*> esclusi;
    double eventoPiuLungo = 0;
};

// A timer that notes how late each timeout comes: the time since the previous one less the
// interval. Precise, so that Qt's own slack on coarse timers does not count as lateness.
struct Sentinella {
    explicit Sentinella(int ms)
        : intervallo(ms) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(ms);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const double ora = Trascorso(orologio);
            ritardi.push_back(ora - ultimo - intervallo);
            ultimo = ora;
        });
    }
    void avvia() {
        orologio.start();
        ultimo = 0;
        timer.start();
    }

    int intervallo;
    QTimer timer;
    QElapsedTimer orologio;
    double ultimo = 0;
    std::vector<double> ritardi;
};

struct Esito {
    double totale = -1;
    bool riuscita = false;
    QString messaggio;
};

Esito DaEsiti(double ms, const QList<CopiaArchivio::EsitoCartella>& esiti) {
    Esito e{ms, !esiti.isEmpty(), QString()};
    for (const CopiaArchivio::EsitoCartella& c : esiti)
        if (!c.riuscita) {
            e.riuscita = false;
            e.messaggio = c.messaggio;
        }
    return e;
}

// The whole process timed, as the shell would run it; -1 when it fails.
double Processo(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(programma, argomenti);
    if (!p.waitForStarted() || !p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        return -1;
    return Trascorso(t);
}

struct Automatica {
    Esito esito;
    double avvio = 0; // CopiaOra itself, before the event loop runs
};

// The copy the way the running program takes it: CopiaOra, then the event loop until
// CopiaConclusa, with the main timer's 100 ms and a 5 ms timer running meanwhile.
Automatica CopiaAutomatica(Applicazione& app, Archivio& archivio, const QString& cartella,
                           Sentinella& principale, Sentinella& fine) {
    Automatica a;
    BackupAutomatico backup(archivio, cartella);
    QEventLoop ciclo;
    QElapsedTimer t;
    QObject::connect(&backup, &BackupAutomatico::CopiaConclusa, &ciclo,
                     [&](const QList<CopiaArchivio::EsitoCartella>& esiti) {
                         a.esito = DaEsiti(Trascorso(t), esiti);
                         ciclo.quit();
                     });
    app.esclusi = {&principale.timer, &fine.timer};
    app.misura = true;
    principale.avvia();
    fine.avvia();
    t.start();
    if (backup.CopiaOra()) {
        a.avvio = Trascorso(t);
        ciclo.exec();
    } else {
        a.esito.messaggio = QStringLiteral("CopiaOra non ha avviato la copia");
    }
    app.misura = false;
    principale.timer.stop();
    fine.timer.stop();
    return a;
}

struct Spezzata {
    Esito esito;
    double passi = 0; // until the pages are all copied and the check has started
};

// The same copy with its steps one after the other, no pauses, until every page is written and
// the check has been handed to its thread; Completa waits for the rest.
Spezzata CopiaSenzaPause(Archivio& archivio, const QString& cartella,
                         VerificaCopia::Controllo controllo) {
    Spezzata s;
    const auto tempo = std::chrono::milliseconds(BackupAutomatico::PassoMs);
    QElapsedTimer t;
    t.start();
    CopiaArchivio copia(archivio, ImpostazioniBackup::Leggi(cartella).Cartelle(cartella),
                        QDateTime::currentDateTime(), controllo);
    while (!copia.Passo(tempo) && !copia.InVerifica()) {
    }
    s.passi = Trascorso(t);
    copia.Completa();
    s.esito = DaEsiti(Trascorso(t), copia.Esiti());
    return s;
}

// The floors of the command line: the `sqlcipher` tool exports the archive into a keyed file
// and, for the second, checks that file; the whole process timed. -1 when it fails.
double Pavimento(const QString& originale, const QString& destinazione, bool controllo) {
    const QString chiave = Archivio::Password();
    const QString attacca =
        QStringLiteral("ATTACH DATABASE '%2' AS copia KEY '%1';\n").arg(chiave, destinazione) +
        Misure::ChiaveCli(QStringLiteral("copia"));
    QString comandi = Misure::ChiaveCli() + attacca +
                      QStringLiteral("SELECT sqlcipher_export('copia');\nDETACH DATABASE copia;\n");
    if (controllo)
        comandi += attacca + QStringLiteral("PRAGMA copia.integrity_check;\n");
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlcipher"), {originale});
    if (!p.waitForStarted())
        return -1;
    p.write(comandi.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
        (controllo && !p.readAllStandardOutput().contains("ok")))
        return -1;
    return Trascorso(t);
}

// What the engine says of the file: its page size and the cipher's version.
QString Motore(const QString& percorso) {
    sqlite3* db = nullptr;
    QString testo;
    if (sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK) {
        ChiaveArchivio::Applica(db);
        const auto valore = [db](const char* sql) {
            sqlite3_stmt* st = nullptr;
            QString v;
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            sqlite3_finalize(st);
            return v;
        };
        testo = QStringLiteral("pagine da %1 byte, SQLCipher %2")
                    .arg(valore("PRAGMA page_size"), valore("PRAGMA cipher_version"));
    }
    sqlite3_close_v2(db);
    return testo;
}

double Minimo(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double Massimo(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// The timers catch up after a late timeout, so the median sits a hair either side of zero.
double MedianaOZero(const std::vector<double>& v) {
    const double m = v.empty() ? 0 : Mediana(v);
    return std::abs(m) < 0.05 ? 0 : m;
}

} // namespace

int main(int argc, char** argv) {
    Applicazione app(argc, argv);
    Opzioni opzioni{QString(), 3};
    if (!LeggiOpzioni(app.arguments(), opzioni)) {
        std::fprintf(stderr, "uso: bench-backup [--cartella <cartella>] [--ripetizioni N]\n");
        return 2;
    }
    const int ripetizioni = opzioni.ripetizioni;
    QTemporaryDir temporanea;
    const QString cartella = opzioni.CartellaOppure(temporanea.path());

    try {
        GeneraSeManca(cartella, DatiDaGenerare{});
        const QString copie = ImpostazioniBackup::CartellaPrincipale(cartella);
        if (!QDir(copie).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            std::fprintf(stderr,
                         "bench-backup: %s contiene già dei file, che le copie del "
                         "programma sfoltirebbero\n",
                         qPrintable(copie));
            return 1;
        }
        if (ImpostazioniBackup::Leggi(cartella).Cartelle(cartella).size() > 1) {
            std::fprintf(stderr, "bench-backup: %s indica una seconda cartella per le copie\n",
                         qPrintable(QDir(cartella).filePath(ImpostazioniBackup::NomeFile())));
            return 1;
        }
        // cp writes beside the archive, so that it writes to the same disk the copies go to.
        QTemporaryDir pavimento(QDir(cartella).filePath(QStringLiteral("bench-backup-XXXXXX")));
        if (!pavimento.isValid()) {
            std::fprintf(stderr, "bench-backup: impossibile creare una cartella in %s\n",
                         qPrintable(cartella));
            return 1;
        }
        const QString originale = QDir(cartella).filePath(Archivio::NomeFile());
        const QString destinazione = pavimento.filePath(Archivio::NomeFile());

        // The copies measured are the routine ones: the full check is recorded as done today
        // (and the file removed afterwards when the bench made it).
        const bool impostazioniPresenti =
            QFileInfo::exists(QDir(cartella).filePath(ImpostazioniBackup::NomeFile()));
        ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartella);
        impostazioni.ultimoControlloCompleto = QDate::currentDate();
        impostazioni.Scrivi(cartella);
        const auto rimetti = qScopeGuard([&] {
            if (!impostazioniPresenti)
                QFile::remove(QDir(cartella).filePath(ImpostazioniBackup::NomeFile()));
        });
        Archivio archivio;
        archivio.ApriArchivio(cartella);
        const QStorageInfo disco(cartella);
        std::printf("archivio: %s (%.0f MB, %s)\n", qPrintable(archivio.Percorso()),
                    double(QFileInfo(originale).size()) / 1048576.0, qPrintable(Motore(originale)));
        std::printf("disco: %s (%s), %d core\n", qPrintable(disco.device()),
                    disco.fileSystemType().constData(), QThread::idealThreadCount());

        std::vector<double> cp, cpSync, automatica, avvio, senzaPause, passi, verifica,
            soloVerifica, esporta, esportaControlla, completa, chiusura;
        Sentinella principale(100), fine(5);
        bool tutteRiuscite = true;
        for (int i = 0; i < ripetizioni; ++i) {
            QFile::remove(destinazione);
            cp.push_back(Processo(QStringLiteral("cp"), {originale, destinazione}));
            // Its pages on the disk before the next measurement, not during it.
            Processo(QStringLiteral("sync"), {destinazione});
            QFile::remove(destinazione);
            QElapsedTimer t;
            t.start();
            const bool copiato = Processo(QStringLiteral("cp"), {originale, destinazione}) >= 0 &&
                                 Processo(QStringLiteral("sync"), {destinazione}) >= 0;
            cpSync.push_back(copiato ? Trascorso(t) : -1);
            QFile::remove(destinazione);

            esporta.push_back(Pavimento(originale, destinazione, false));
            QFile::remove(destinazione);
            esportaControlla.push_back(Pavimento(originale, destinazione, true));
            QFile::remove(destinazione);

            const Automatica a = CopiaAutomatica(app, archivio, cartella, principale, fine);
            QDir(copie).removeRecursively();
            const Spezzata s =
                CopiaSenzaPause(archivio, cartella, VerificaCopia::Controllo::Rapido);
            QDir(copie).removeRecursively();
            const Spezzata settimanale =
                CopiaSenzaPause(archivio, cartella, VerificaCopia::Controllo::Completo);
            QDir(copie).removeRecursively();
            completa.push_back(settimanale.esito.totale);
            Esito diChiusura;
            {
                BackupAutomatico backup(archivio, cartella);
                t.restart();
                diChiusura = DaEsiti(0, backup.CopiaDiChiusura());
                diChiusura.totale = Trascorso(t);
            }
            chiusura.push_back(diChiusura.totale);
            QDir(copie).removeRecursively();
            for (const Esito& e : {a.esito, s.esito, settimanale.esito, diChiusura})
                if (!e.riuscita) {
                    tutteRiuscite = false;
                    std::printf("  copia non riuscita: %s\n", qPrintable(e.messaggio));
                }
            automatica.push_back(a.esito.totale);
            avvio.push_back(a.avvio);
            senzaPause.push_back(s.esito.totale);
            passi.push_back(s.passi);
            verifica.push_back(s.esito.totale - s.passi);

            // The check alone, on the archive itself: it opens the file read-only.
            t.restart();
            if (!VerificaCopia::Verifica(originale).valida)
                std::printf("  la verifica non accetta l'archivio stesso\n");
            soloVerifica.push_back(Trascorso(t));
        }

        if (std::min({Minimo(cp), Minimo(cpSync), Minimo(esporta), Minimo(esportaControlla)}) < 0) {
            std::fprintf(stderr, "bench-backup: cp, sync o sqlcipher non riuscito\n");
            return 1;
        }
        const double mCp = Mediana(cp), mCpSync = Mediana(cpSync);
        const double mPavimento = Mediana(esportaControlla);
        const auto rapporti = [&](double ms) {
            std::printf("   %5.2f del pavimento (obiettivo: al più 0,35), %5.1f volte cp\n",
                        ms / mPavimento, ms / mCp);
        };
        std::printf("mediane su %d ripetizioni:\n", ripetizioni);
        std::printf("  %-52s %9.1f ms\n", "sqlcipher: sqlcipher_export in un file cifrato",
                    Mediana(esporta));
        std::printf("  %-52s %9.1f ms\n", "sqlcipher: export + integrity_check (pavimento)",
                    mPavimento);
        std::printf("  %-52s %9.1f ms\n", "cp di archivio.mdb (pavimento)", mCp);
        std::printf("  %-52s %9.1f ms\n", "cp + sync della copia (pavimento con fsync)", mCpSync);
        std::printf("  %-52s %9.1f ms", "copia di BackupAutomatico (CopiaOra..CopiaConclusa)",
                    Mediana(automatica));
        rapporti(Mediana(automatica));
        std::printf("    %-50s %9.1f ms\n", "di cui CopiaOra, prima del ciclo degli eventi",
                    Mediana(avvio));
        const QByteArray senzaPauseEtichetta =
            QStringLiteral("stessa copia senza pause (Passo da %1 ms di seguito)")
                .arg(BackupAutomatico::PassoMs)
                .toUtf8();
        std::printf("  %-52s %9.1f ms", senzaPauseEtichetta.constData(), Mediana(senzaPause));
        rapporti(Mediana(senzaPause));
        std::printf("    %-50s %9.1f ms\n", "passi: righe contate, pagine copiate", Mediana(passi));
        std::printf("    %-50s %9.1f ms\n", "thread: sync, controllo rapido, nome definitivo",
                    Mediana(verifica));
        std::printf("      %-48s %9.1f ms\n", "VerificaCopia completa, sull'archivio stesso",
                    Mediana(soloVerifica));
        std::printf("  %-52s %9.1f ms", "copia settimanale, controllo completo, senza pause",
                    Mediana(completa));
        rapporti(Mediana(completa));
        std::printf("  %-52s %9.1f ms (obiettivo: sotto 3 s)\n",
                    "copia di chiusura (CopiaDiChiusura)", Mediana(chiusura));
        std::printf("durante la copia di BackupAutomatico, tutte le ripetizioni (obiettivo: "
                    "sotto 50 ms):\n");
        std::printf("  timer da 100 ms: ritardo massimo %6.1f ms, mediana %5.1f ms (%zu scatti)\n",
                    Massimo(principale.ritardi), MedianaOZero(principale.ritardi),
                    principale.ritardi.size());
        std::printf("  timer da 5 ms:   ritardo massimo %6.1f ms, mediana %5.1f ms (%zu scatti)\n",
                    Massimo(fine.ritardi), MedianaOZero(fine.ritardi), fine.ritardi.size());
        std::printf("  evento più lungo del timer della copia (un Passo): %.1f ms\n",
                    app.eventoPiuLungo);
        return tutteRiuscite ? 0 : 1;
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "bench-backup: %s\n", e.what());
        return 1;
    }
}
