#include "BancoPty.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "SimulatorePty.h"
#include "app/FormChiusura.h"
#include "platform/PortaSerialeQt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <thread>

using Guasto = ModemSimulato::Guasto;

class TstModemSuPty : public QObject {
    Q_OBJECT

    static void controllaPannelloAbilitato(BancoPty& b, int com) {
        QVERIFY(b.statiPorta.contains(QStringLiteral("Attesa Invio Comando Test Gsm")));
        QVERIFY(b.statiPorta.contains(QStringLiteral("Invio Comando per Test GSM")));
        QVERIFY(b.statiPorta.contains(QStringLiteral("GSM ON Com: %1").arg(com)));
        QVERIFY(b.abilitato());
        // The first poll: registration and signal.
        QVERIFY(b.finche([&] { return b.form->ProgressBar1->value() > 0; }, 100));
        QCOMPARE(b.form->ProgressBar1->value(), 67);
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore TIM"));
        QCOMPARE(b.form->lblledmodem->text(), QStringLiteral("Segnale GSM"));
        QVERIFY(b.stato->GsmAbilitato);
        QVERIFY(!b.form->AperturaInCorso);
    }

private slots:
    void avvioFinoAGsmAbilitato_data() {
        QTest::addColumn<bool>("conDtr");
        QTest::newRow("senza impulso") << false;
        QTest::newRow("con impulso DTR") << true;
    }
    void avvioFinoAGsmAbilitato() {
        QFETCH(bool, conDtr);
        BancoPty b(1, conDtr);
        b.sim.modem().impostaSegnale(20);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        controllaPannelloAbilitato(b, 1);
        const QList<QByteArray> attesi{"AT",        "ATE0",     "AT+CGMR",  "AT+CMGF=1",
                                       "AT+CMEE=2", "AT+CLCK?", "AT+CREG?", "AT+CSQ"};
        QCOMPARE(b.comandi().mid(0, attesi.size()), attesi);
        QCOMPARE(b.copione.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
        // The revision the simulator reports is kept for the settings window.
        QVERIFY(!b.stato->RevisioneGsm.trimmed().isEmpty());
        QVERIFY(QString::fromLatin1(b.sim.modem().revisione())
                    .contains(b.stato->RevisioneGsm.trimmed()));
    }

    void ilModemSullaTerzaPortaSiTrovaCercando() {
        BancoPty b(3);
        b.sim.modem().impostaSegnale(20);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QCOMPARE(b.form->PortaCom, 3);
        controllaPannelloAbilitato(b, 3);
        QVERIFY(b.statiPorta.contains(QStringLiteral("Accendo il GSM Com: 3")));
    }

    void pinSbagliatoPoiGiusto() {
        BancoPty b;
        b.sim.modem().impostaPin("4321");
        b.sim.modem().impostaPinAttivo(true);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return !b.form->FrmPin->isHidden(); }));
        QCOMPARE(b.copione.testi().last(), QStringLiteral(" Prego, inserire il Codice PIN "));
        b.form->TxtPinCode->setText(QStringLiteral("0000"));
        b.form->BtnPinCode->click();
        QVERIFY(b.finche([&] { return b.form->LblPinCode->text() == "2° Inserimento PIN"; }, 50));
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Errore! Codice PIN non valido."));
        b.form->TxtPinCode->setText(QStringLiteral("4321"));
        b.form->BtnPinCode->click();
        QVERIFY(b.finche([&] { return b.abilitato(); }, 50));
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Codice Pin valido. Gsm Abilitato"));
        QCOMPARE(b.sim.modem().statoSim(), ModemSimulato::StatoSim::Pronta);
        QVERIFY(b.finche([&] { return b.form->ProgressBar1->value() > 0; }, 100));
    }

    void simBloccataSiSbloccaColPuk() {
        BancoPty b;
        b.sim.modem().impostaPin("4321");
        b.sim.modem().impostaPuk("52719034");
        b.sim.modem().impostaPinAttivo(true);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return !b.form->FrmPin->isHidden(); }));
        for (const char* sbagliato : {"1111", "2222", "3333"}) {
            const qsizetype scritti = b.comandi().size();
            b.form->TxtPinCode->setText(QString::fromLatin1(sbagliato));
            b.form->BtnPinCode->click();
            QVERIFY(b.finche(
                [&] { return b.form->TickAttesa == 0 && b.comandi().size() > scritti; }, 50));
        }
        QCOMPARE(b.sim.modem().statoSim(), ModemSimulato::StatoSim::AttesaPuk);
        QCOMPARE(b.form->LblPinCode->text(), QStringLiteral("Inserire PUK "));
        QVERIFY(b.copione.testi().last().startsWith(QStringLiteral("MODULO GSM bloccato.")));

        // The SIM now asks the PUK at every start: a new search finds it blocked.
        b.form->BtnTrovaGsm_Click();
        QVERIFY(b.finche([&] {
            return b.form->LblPinCode->text() == "Inserire PUK seguito da virgola e PIN ";
        }));
        b.form->TxtPinCode->setText(QStringLiteral("52719034,8316"));
        b.form->BtnPinCode->click();
        QVERIFY(b.finche([&] { return b.abilitato(); }, 50));
        b.tick();
        QCOMPARE(b.comandi().last(), QByteArray("AT+CREG?"));
        QVERIFY(b.comandi().contains("AT+CPIN=52719034,8316"));
        QCOMPARE(b.sim.modem().statoSim(), ModemSimulato::StatoSim::Pronta);
    }

    void senzaSimIlModemSiSpegne() {
        BancoPty b;
        b.sim.modem().impostaSimPresente(false);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return !b.porta->PortOpen() && b.form->TickAttesa == 0; }));
        QCOMPARE(b.copione.mostrati().last().title, QStringLiteral("SIM non inserita"));
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento"));
        QVERIFY(!b.stato->GsmAbilitato);
        const qsizetype comandi = b.comandi().size();
        b.tick(200);
        QCOMPARE(b.comandi().size(), comandi);
    }

    void ilModemCheScompareVieneRiaccesoECercato() {
        BancoPty b;
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        b.tick(30);
        b.sim.modem().impostaGuasto(Guasto::Muto);
        // Three unanswered polls, the re-power notice, then a search that finds nothing.
        QVERIFY(b.finche(
            [&] {
                return b.form->LbLPortaModem->text() == QLatin1String("GSM Spento o non Collegato");
            },
            2000));
        QCOMPARE(b.form->Riaccensioni, 1);
        QVERIFY(b.copione.testi().contains(
            QStringLiteral("Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\nRiaccensione "
                           "Automatica del GSM")));
        QVERIFY(b.form->BtnTrovaGsm->isEnabled());
        QVERIFY(!b.porta->PortOpen());

        // The modem is back: "Trova Gsm" finds it again.
        b.sim.modem().impostaGuasto(Guasto::Nessuno);
        b.form->BtnTrovaGsm->click();
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QCOMPARE(b.form->PortaCom, 1);
    }

    void chiusuraConIlModemAccesoLoSpegnePrimaDiFinire() {
        BancoPty b(1, true);
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QVERIFY(
            b.finche([&] { return b.form->TickAttesa == 0 && b.form->ProgressBar1->value() > 0; }));
        b.form->CmEsci_Click();
        QVERIFY(b.form->chiusura() && b.form->chiusura()->isVisible());
        b.tick(20);
        QVERIFY(!b.form->Scaricata());
        QVERIFY(b.porta->PortOpen());
        b.tick();
        QVERIFY(b.form->Scaricata());
        QVERIFY(!b.porta->PortOpen());
    }

    void risposteSpezzateIntruseERumorose_data() {
        QTest::addColumn<int>("guasto");
        QTest::newRow("spezzate") << int(Guasto::Spezzato);
        QTest::newRow("righe non richieste") << int(Guasto::Intruso);
        QTest::newRow("rumore") << int(Guasto::Rumore);
    }
    void risposteSpezzateIntruseERumorose() {
        QFETCH(int, guasto);
        BancoPty b;
        b.sim.modem().impostaGuasto(Guasto(guasto));
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QVERIFY(b.finche([&] { return b.form->ProgressBar1->value() > 0; }, 100));
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore TIM"));
    }
};

QTEST_MAIN(TstModemSuPty)
#include "tst_modemsupty.moc"
