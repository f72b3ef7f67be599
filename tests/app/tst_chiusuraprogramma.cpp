#include "BancoMotore.h"
#include "CopioneMessaggi.h"
#include "app/ChiusuraProgramma.h"
#include "backup/BackupAutomatico.h"
#include "backup/ImpostazioniBackup.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {
// The engine on its scripted modem, the program's copies and the closing, with a pending count
// the case sets.
struct Banco {
    BancoMotore m;
    BackupAutomatico backup{m.globale->archivio, m.cartella.percorso()};
    int daGestire = 0;
    ChiusuraProgramma chiusura{*m.motore, backup, [this] { return daGestire; }, nullptr};
    QSignalSpy spegnimento{&chiusura, &ChiusuraProgramma::SpegnimentoAvviato};
    QSignalSpy terminata{&chiusura, &ChiusuraProgramma::Terminata};

    // The closing copies written in the program's own folder of copies.
    int copie() const {
        const QString cartella = ImpostazioniBackup::Leggi(m.cartella.percorso())
                                     .Cartelle(m.cartella.percorso())
                                     .constFirst();
        return int(QDir(cartella).entryList(QDir::Files).size());
    }
};
} // namespace

class TestChiusuraProgramma : public QObject {
    Q_OBJECT
private slots:
    // Pending orders: "No" leaves the modem and the archive alone; "Sì" with the modem never
    // enabled closes the port and takes the copy at once.
    void conOrdiniDaGestireChiedePrimaDiChiudere() {
        Banco b;
        b.m.s().AperturaInCorso = false;
        b.daGestire = 2;
        CopioneMessaggi copione({Risposta::No, Risposta::Si});
        QVERIFY(b.chiusura.Richiedi() == ChiusuraProgramma::Scelta::Resta);
        QCOMPARE(copione.mostrati().constFirst().title, QStringLiteral("Chiusura Applicazione"));
        QVERIFY(!b.m.s().ChiusuraRichiesta);
        QVERIFY(!b.chiusura.Avviata());
        QCOMPARE(b.terminata.count(), 0);
        QCOMPARE(b.copie(), 0);

        QVERIFY(b.chiusura.Richiedi() == ChiusuraProgramma::Scelta::Chiudi);
        QCOMPARE(copione.mostrati().size(), 2);
        QCOMPARE(b.spegnimento.count(), 0);
        QCOMPARE(b.terminata.count(), 1);
        QCOMPARE(b.copie(), 1);
        // Once closed, a further "Esci" asks nothing and ends nothing twice.
        QVERIFY(!b.chiusura.Richiedi().has_value());
        QCOMPARE(copione.mostrati().size(), 2);
        QCOMPARE(b.terminata.count(), 1);
    }

    // With the modem enabled the copy waits until the modem is off, then comes exactly once,
    // even when the system asks to end meanwhile.
    void colModemAccesoAttendeLoSpegnimento() {
        Banco b;
        b.m.avviaFinoAdAbilitato();
        b.m.s().AperturaInCorso = false;
        QVERIFY(b.m.s().GsmAbilitato);
        QVERIFY(b.m.tickFinche([&] { return !b.m.s().InAttesaRisposta; }, 100) >= 0);
        CopioneMessaggi copione;
        QVERIFY(b.chiusura.Richiedi() == ChiusuraProgramma::Scelta::Chiudi);
        QVERIFY(copione.mostrati().isEmpty());
        QCOMPARE(b.spegnimento.count(), 1);
        QVERIFY(b.m.s().SpegnimentoRichiesto);
        QCOMPARE(b.terminata.count(), 0);
        QCOMPARE(b.copie(), 0);
        QVERIFY(b.m.tickFinche([&] { return b.terminata.count() > 0; }, 100) >= 0);
        QVERIFY(!b.m.porta.PortOpen());
        QCOMPARE(b.copie(), 1);
        b.chiusura.DiSistema();
        QCOMPARE(b.terminata.count(), 1);
    }

    // While the modem is being opened "Esci" is refused with a box; the system's end is not.
    void durantelAperturaSoloIlSistemaChiude() {
        Banco b;
        CopioneMessaggi copione;
        QVERIFY(!b.chiusura.Richiedi().has_value());
        QCOMPARE(copione.testi(),
                 QStringList{QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                            "completamento dell'Apertura ")});
        QVERIFY(!b.chiusura.Avviata());
        b.chiusura.DiSistema();
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(b.chiusura.DiSistemaInCorso());
        QCOMPARE(b.terminata.count(), 1);
        QCOMPARE(b.copie(), 1);
    }

    // A reply awaited from the modem: "No" to the forced interruption keeps the modem on.
    void conRispostaInAttesaNoLasciaIlModemAcceso() {
        Banco b;
        b.m.avviaFinoAdAbilitato();
        b.m.s().AperturaInCorso = false;
        b.m.s().InAttesaRisposta = true;
        CopioneMessaggi copione({Risposta::No});
        QVERIFY(b.chiusura.Richiedi() == ChiusuraProgramma::Scelta::Resta);
        QCOMPARE(copione.mostrati().constFirst().title, QStringLiteral("Conferma Chiusura"));
        QVERIFY(!b.m.s().SpegnimentoRichiesto);
        QVERIFY(!b.m.s().ChiusuraRichiesta);
        QCOMPARE(b.spegnimento.count(), 0);
        QVERIFY(b.m.porta.PortOpen());
    }
};

QTEST_MAIN(TestChiusuraProgramma)
#include "tst_chiusuraprogramma.moc"
