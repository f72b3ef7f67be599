#include "CartellaDiProva.h"
#include "archive/Archivio.h"
#include "backup/BackupAutomatico.h"
#include "backup/ConservazioneCopie.h"
#include "backup/ImpostazioniBackup.h"

#include <QDir>
#include <QSignalSpy>
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
};

QTEST_GUILESS_MAIN(TstBackupAutomatico)
#include "tst_backupautomatico.moc"
