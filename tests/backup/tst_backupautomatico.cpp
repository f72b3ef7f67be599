#include "CartellaDiProva.h"
#include "EsameFile.h"
#include "archive/Archivio.h"
#include "backup/BackupAutomatico.h"
#include "backup/CartellaConTempo.h"
#include "backup/ConservazioneCopie.h"
#include "backup/CopiaArchivio.h"
#include "backup/ImpostazioniBackup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Steps until the copy under way has ended (its check runs on a thread of its own).
bool Finisce(BackupAutomatico& b) {
    return QTest::qWaitFor(
        [&] {
            b.Passo();
            return !b.InCorso();
        },
        20000);
}

} // namespace

class TstBackupAutomatico : public QObject {
    Q_OBJECT
private slots:
    // A copy when started, the next one a day after and not before; the missing USB stick is
    // told once that day and again the next; a copy abandoned midway leaves nothing behind.
    void unaCopiaAlGiornoEUnAvvisoAlGiorno() {
        CartellaDiProva cartella;
        ImpostazioniBackup impostazioni;
        impostazioni.secondaCartella = cartella.file(QStringLiteral("chiavetta"));
        QVERIFY(impostazioni.Scrivi(cartella.percorso()));
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        BackupAutomatico b(archivio, cartella.percorso());
        QDateTime adesso(QDate(2026, 12, 9), QTime(8, 0));
        b.Adesso = [&] { return adesso; };
        QSignalSpy avvisi(&b, &BackupAutomatico::Avviso);
        const QString principale = ImpostazioniBackup::CartellaPrincipale(cartella.percorso());

        b.Avvia();
        b.Passo();
        QVERIFY(b.InCorso());
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 1);
        adesso = adesso.addSecs(3600);
        QVERIFY(b.CopiaOra());
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 1);

        adesso = QDateTime(QDate(2026, 12, 10), QTime(7, 59));
        b.Passo();
        QVERIFY(!b.InCorso());
        adesso = adesso.addSecs(60);
        b.Passo();
        QVERIFY(b.InCorso());
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 2);
        QStringList quando;
        for (const ConservazioneCopie::Copia& c : ConservazioneCopie::Elenco(principale))
            quando << c.quando.toString(QStringLiteral("dd HH:mm"));
        QCOMPARE(quando, (QStringList{"10 08:00", "09 09:00"}));

        adesso = adesso.addSecs(600);
        QVERIFY(b.CopiaOra());
        b.Passo();
        b.Sospendi();
        QVERIFY(!b.InCorso());
        QCOMPARE(QDir(principale).entryList(QDir::Files).size(), 2);
        b.Passo();
        QVERIFY(!b.InCorso());
    }

    // A copy that fails is tried again within the hour, not the next day.
    void copiaFallitaRipetutaEntroLOra() {
        CartellaDiProva cartella;
        QFile ingombro(ImpostazioniBackup::CartellaPrincipale(cartella.percorso()));
        QVERIFY(ingombro.open(QIODevice::WriteOnly));
        ingombro.close();
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        BackupAutomatico b(archivio, cartella.percorso());
        const QDateTime adesso(QDate(2026, 12, 9), QTime(8, 0));
        b.Adesso = [&] { return adesso; };
        QSignalSpy avvisi(&b, &BackupAutomatico::Avviso);
        b.Avvia();
        b.Passo();
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 1);
        QVERIFY(b.ProssimaCopia() <= adesso.addSecs(3600));
    }

    // Once a week a copy gets the full check: an archive whose index disagrees with its table
    // passes the routine copies, then is told damaged at once, naming the newest good copy.
    void controlloSettimanaleTrovaLArchivioDanneggiato() {
        CartellaDiProva cartella;
        QDateTime adesso(QDate(2026, 12, 9), QTime(8, 0));
        ImpostazioniBackup impostazioni;
        impostazioni.ultimoControlloCompleto = adesso.date().addDays(-1);
        QVERIFY(impostazioni.Scrivi(cartella.percorso()));
        QVERIFY(EsameFile::IndiceDiscorde(cartella.file(Archivio::NomeFile())));
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        BackupAutomatico b(archivio, cartella.percorso());
        b.Adesso = [&] { return adesso; };
        QSignalSpy avvisi(&b, &BackupAutomatico::Avviso);
        b.Avvia();
        b.Passo();
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 0);
        const QString buona =
            ConservazioneCopie::Elenco(ImpostazioniBackup::CartellaPrincipale(cartella.percorso()))
                .constFirst()
                .percorso;

        adesso = adesso.addDays(7);
        b.Passo();
        QVERIFY(b.InCorso());
        QVERIFY(Finisce(b));
        QCOMPARE(avvisi.count(), 1);
        const QString testo = avvisi.first().first().toString();
        QVERIFY2(testo.contains(QStringLiteral("danneggiato")), qPrintable(testo));
        QVERIFY2(testo.contains(QFileInfo(buona).fileName()), qPrintable(testo));
    }

    // Two shops' programs share one second folder: each thins only its own copies there.
    void secondaCartellaCondivisa() {
        QTemporaryDir condivisa;
        CartellaDiProva cassa;
        CartellaDiProva banco;
        const auto cartelle = [&](const CartellaDiProva& programma, const QString& nome) {
            ImpostazioniBackup impostazioni;
            impostazioni.secondaCartella = condivisa.path();
            impostazioni.installazione = nome;
            impostazioni.Scrivi(programma.percorso());
            return ImpostazioniBackup::Leggi(programma.percorso()).Cartelle(programma.percorso());
        };
        const QStringList diBanco = cartelle(banco, QStringLiteral("VELTRIKA-banco"));
        const QStringList diCassa = cartelle(cassa, QStringLiteral("VELTRIKA-cassa"));
        const QDateTime adesso(QDate(2026, 12, 9), QTime(8, 0));
        const auto copia = [&](const CartellaDiProva& programma, const QStringList& dove,
                               const QDateTime& quando) {
            Archivio archivio;
            archivio.ApriArchivio(programma.percorso());
            CopiaArchivio c(archivio, dove, quando);
            return c.Completa() && c.Riuscita();
        };
        for (int giorni = 90; giorni >= 10; giorni -= 10)
            QVERIFY(copia(banco, diBanco, adesso.addDays(-giorni)));
        const QStringList primaDiBanco = QDir(diBanco.last()).entryList(QDir::Files);
        QVERIFY(primaDiBanco.size() >= 7);
        QVERIFY(copia(cassa, diCassa, adesso));
        QCOMPARE(QDir(diBanco.last()).entryList(QDir::Files), primaDiBanco);
        QCOMPARE(QDir(diCassa.last()).entryList(QDir::Files).size(), 1);
    }

    // A folder that hangs is given up after the time-out, while the timers go on.
    void cartellaBloccataAbbandonata() {
        QElapsedTimer tempo;
        tempo.start();
        int scatti = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++scatti; });
        timer.start(20);
        const std::optional<bool> esito = CartellaConTempo::Esegui(
            [] {
                std::this_thread::sleep_for(std::chrono::seconds(3));
                return true;
            },
            std::chrono::milliseconds(300));
        QVERIFY(!esito);
        QVERIFY(tempo.elapsed() < 2000);
        QVERIFY(scatti >= 5);
        QCOMPARE(CartellaConTempo::Esegui([] { return 7; }), std::optional(7));
    }
};

QTEST_GUILESS_MAIN(TstBackupAutomatico)
#include "tst_backupautomatico.moc"
