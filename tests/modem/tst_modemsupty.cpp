#include "BancoMotorePty.h"
#include "platform/PortaSerialeQt.h"

#include <QFile>
#include <QTest>

using Guasto = ModemSimulato::Guasto;

// The modem engine on the real serial layer against the project's modem simulator.
class TstModemSuPty : public QObject {
    Q_OBJECT

    static void controllaPannelloAbilitato(BancoMotorePty& b, int com) {
        QVERIFY(b.statiPorta.contains(QStringLiteral("Attesa Invio Comando Test Gsm")));
        QVERIFY(b.statiPorta.contains(QStringLiteral("Invio Comando per Test GSM")));
        QVERIFY(b.statiPorta.contains(QStringLiteral("GSM ON Com: %1").arg(com)));
        // The first poll: registration and signal.
        QVERIFY(b.finche([&] { return b.p().segnale > 0; }, 100));
        QCOMPARE(b.p().segnale, 67);
        QCOMPARE(b.p().operatore.testo, QStringLiteral("Operatore TIM"));
        QCOMPARE(b.p().rete.testo, QStringLiteral("Segnale GSM"));
        QVERIFY(b.s().GsmAbilitato);
        QVERIFY(!b.s().AperturaInCorso);
    }

    static void inserisci(BancoMotorePty& b, const QString& codice) {
        const qsizetype scritti = b.comandi().size();
        b.p().codicePin = codice;
        b.motore->pin.Ok();
        QVERIFY(b.finche([&] { return b.comandi().size() > scritti; }, 50));
        QVERIFY(b.finche([&] { return b.s().TickAttesa == 0 || b.abilitato(); }, 50));
    }

private slots:
    void avvioFinoAGsmAbilitato_data() {
        QTest::addColumn<bool>("conDtr");
        QTest::addColumn<int>("com");
        QTest::newRow("senza impulso") << false << 1;
        QTest::newRow("con impulso DTR") << true << 1;
        QTest::newRow("sulla terza porta") << false << 3;
    }
    void avvioFinoAGsmAbilitato() {
        QFETCH(bool, conDtr);
        QFETCH(int, com);
        BancoMotorePty b(com, conDtr);
        b.modem().impostaSegnale(20);
        QVERIFY(b.avviaFinoAdAbilitato());
        controllaPannelloAbilitato(b, com);
        const QList<QByteArray> attesi{"AT",
                                       "ATE0",
                                       "AT+CGMR",
                                       "AT+CMGF=1",
                                       "AT+CMEE=2",
                                       "AT+CSDH=1",
                                       "AT+CSCS=?",
                                       "AT+CSCS=\"8859-1\"",
                                       "AT+CSMP=17,167,0,0",
                                       "AT+CLCK?",
                                       "AT+CREG?",
                                       "AT+CSQ",
                                       "AT+CPMS?"};
        QVERIFY(b.finche([&] { return b.comandi().size() >= attesi.size(); }, 100));
        QCOMPARE(b.comandi().mid(0, attesi.size()), attesi);
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
        if (com != 1)
            QVERIFY(b.statiPorta.contains(QStringLiteral("Accendo il GSM Com: %1").arg(com)));
        // The revision the simulator reports is kept for the settings window.
        QVERIFY(!b.p().revisione.trimmed().isEmpty());
        QVERIFY(QString::fromLatin1(b.modem().revisione()).contains(b.p().revisione.trimmed()));
    }

    void pinSbagliatoPoiGiusto() {
        BancoMotorePty b;
        b.modem().impostaPin("4321");
        b.modem().impostaPinAttivo(true);
        b.accendi();
        QVERIFY(b.finche([&] { return b.p().riquadroPin; }));
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral(" Prego, inserire il Codice PIN "));
        inserisci(b, QStringLiteral("0000"));
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("2° Inserimento PIN"));
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Errore! Codice PIN non valido."));
        inserisci(b, QStringLiteral("4321"));
        QVERIFY(b.abilitato());
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Codice Pin valido. Gsm Abilitato"));
        QCOMPARE(b.modem().statoSim(), ModemSimulato::StatoSim::Pronta);
        QVERIFY(b.finche([&] { return b.p().segnale > 0; }, 100));
    }

    // Three wrong PINs block the SIM, which then asks for the PUK at every start: a new search
    // finds it blocked, and the PUK, a comma and a new PIN, sent unquoted as typed, free it.
    void simBloccataSiSbloccaColPuk() {
        BancoMotorePty b;
        b.modem().impostaPin("4321");
        b.modem().impostaPuk("52719034");
        b.modem().impostaPinAttivo(true);
        b.accendi();
        QVERIFY(b.finche([&] { return b.p().riquadroPin; }));
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("1° Inserimento PIN"));
        inserisci(b, QStringLiteral("1111"));
        inserisci(b, QStringLiteral("2222"));
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("3° Inserimento PIN"));
        inserisci(b, QStringLiteral("3333"));
        QCOMPARE(b.modem().statoSim(), ModemSimulato::StatoSim::AttesaPuk);
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("Inserire PUK "));
        QCOMPARE(
            b.dialogo.testi().last(),
            QStringLiteral("MODULO GSM bloccato.\nPer sbloccare inserire Codice PUK seguito da "
                           "virgola e PIN\nEsempio: 52719034,8316"));

        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.finche([&] { return b.p().statoPin == StatoPin::PukRichiesto; }));
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("Inserire PUK seguito da virgola e PIN "));
        QCOMPARE(b.s().TentativiPin, 3);
        QCOMPARE(
            b.dialogo.testi().last(),
            QStringLiteral(" MODULO GMS bloccato.\nPer Sbloccare il GSM, inserire il Codice Puk "));
        inserisci(b, QStringLiteral("52719034,8316"));
        QVERIFY(b.abilitato());
        QVERIFY(b.comandi().contains("AT+CPIN=52719034,8316"));
        QCOMPARE(b.modem().statoSim(), ModemSimulato::StatoSim::Pronta);
    }

    // The PIN entered, the modem then switched off long enough for the program to re-power and
    // search it in vain; back on, it asks for the PIN again, as after any power cycle. "Trova
    // Gsm" finds it, and the PIN typed in the frame is entered, not taken for a change of the
    // PIN request, so polling starts again.
    void ilPinSiInserisceDiNuovoDopoCheIlModemESparito() {
        BancoMotorePty b;
        b.modem().impostaPin("4321");
        b.modem().impostaPinAttivo(true);
        b.accendi();
        QVERIFY(b.finche([&] { return b.p().riquadroPin; }));
        inserisci(b, QStringLiteral("4321"));
        QVERIFY(b.abilitato());
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Disabilita Pin"));
        b.tick(30);

        b.modem().impostaGuasto(Guasto::Spento);
        QVERIFY(b.finche(
            [&] { return b.p().porta.testo == QLatin1String("GSM Spento o non Collegato"); },
            2000));
        QCOMPARE(b.s().Riaccensioni, 1);
        QVERIFY(!b.abilitato());
        QVERIFY(!b.p().gestionePin);

        b.modem().impostaGuasto(Guasto::Nessuno);
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.finche([&] { return b.p().riquadroPin && b.s().TickAttesa == 0; }));
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral(" Prego, inserire il Codice PIN "));
        const qsizetype ricerca = b.comandi().lastIndexOf("AT+CLCK?");
        inserisci(b, QStringLiteral("4321"));
        QVERIFY(b.abilitato());
        const QList<QByteArray> dopo = b.comandi().mid(ricerca);
        QVERIFY(dopo.contains("AT+CPIN=4321"));
        QVERIFY(!dopo.contains("AT+CLCK=\"SC\",0,\"4321\""));
        QVERIFY(b.finche([&] { return b.comandi().last() == QByteArray("AT+CSQ"); }, 200));
    }

    // "Abilita Pin" pressed while a read of the SIM awaits its reply: the change waits for its
    // turn, the SIM's refusal is the PIN's answer and the message read is the scan's, which goes
    // on to its end.
    void abilitaPinMentreUnaLetturaAttendeRisposta() {
        BancoMotorePty b;
        b.modem().aggiungiSms("+393331112222", "Una margherita", "26/12/07,10:15:30+04");
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(
            b.finche([&] { return b.motore->canale.TipoInVolo() == ComandoGsm::LetturaSms; }, 300));
        const qsizetype mostrati = b.dialogo.mostrati.size();
        b.motore->pin.Pulsante();
        b.p().codicePin = QStringLiteral("9999");
        b.motore->pin.Ok();
        QVERIFY(b.simSvuotata());
        QCOMPARE(b.registrati.size(), 1);
        QCOMPARE(b.registrati[0].testo, QStringLiteral("Una margherita"));
        QVERIFY(b.dialogo.testi().mid(mostrati).isEmpty());
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Abilita Pin"));
        QVERIFY(b.p().riquadroPin);
        QVERIFY(!b.modem().pinAttivo());
        const QList<QByteArray> c = b.comandi();
        QVERIFY(c.indexOf("AT+CLCK=\"SC\",1,\"9999\"") > c.indexOf("AT+CMGR=1"));
        QVERIFY(c.indexOf("AT+CMGD=1") > 0);
        // Read once: its reply was not lost to the PIN's command.
        QCOMPARE(c.count("AT+CMGR=1"), 1);
    }

    void senzaSimIlModemSiSpegne() {
        BancoMotorePty b;
        b.modem().impostaSimPresente(false);
        b.accendi();
        QVERIFY(b.finche([&] { return !b.porta->PortOpen() && b.s().TickAttesa == 0; }));
        QCOMPARE(b.dialogo.mostrati.last().titolo, QStringLiteral("SIM non inserita"));
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento"));
        QVERIFY(!b.s().GsmAbilitato);
        const qsizetype comandi = b.comandi().size();
        b.tick(200);
        QCOMPARE(b.comandi().size(), comandi);
    }

    // A port another program holds: the search goes on, and the diagnostic lists name the holder.
    void unaPortaTenutaDaUnAltroProgrammaENominata() {
        BancoMotorePty b;
        PortaSerialeQt altra(b.cartella.percorso());
        altra.setCommPort(1);
        altra.setPortOpen(true);
        QFile comm(QStringLiteral("/proc/self/comm"));
        QVERIFY(comm.open(QIODevice::ReadOnly));
        const QString questo = QString::fromLocal8Bit(comm.readAll()).trimmed();
        b.s().DiagnosticaAttiva = true;
        b.accendi();
        QVERIFY(b.finche(
            [&] { return b.p().porta.testo == QLatin1String("GSM Spento o non Collegato"); }));
        QVERIFY(b.dialogo.ricevute.contains(QStringLiteral("COM1 è usata da %1 (pid %2)")
                                                .arg(questo)
                                                .arg(QCoreApplication::applicationPid())));
        QVERIFY(b.comandi().isEmpty());
    }

    void ilModemCheScompareVieneRiaccesoECercato() {
        BancoMotorePty b;
        QVERIFY(b.avviaFinoAdAbilitato());
        b.tick(30);
        b.modem().impostaGuasto(Guasto::Muto);
        // Three unanswered polls, the re-power notice, then a search that finds nothing.
        QVERIFY(b.finche(
            [&] { return b.p().porta.testo == QLatin1String("GSM Spento o non Collegato"); },
            2000));
        QCOMPARE(b.s().Riaccensioni, 1);
        QVERIFY(b.dialogo.testi().contains(
            QStringLiteral("Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\nRiaccensione "
                           "Automatica del GSM")));
        QVERIFY(b.p().trovaGsm);
        QVERIFY(!b.porta->PortOpen());

        // The modem is back: "Trova Gsm" finds it again.
        b.modem().impostaGuasto(Guasto::Nessuno);
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QCOMPARE(b.s().PortaCom, 1);
    }

    void risposteSpezzateIntruseERumorose_data() {
        QTest::addColumn<int>("guasto");
        QTest::newRow("spezzate") << int(Guasto::Spezzato);
        QTest::newRow("righe non richieste") << int(Guasto::Intruso);
        QTest::newRow("rumore") << int(Guasto::Rumore);
    }
    void risposteSpezzateIntruseERumorose() {
        QFETCH(int, guasto);
        BancoMotorePty b;
        b.modem().impostaGuasto(Guasto(guasto));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.p().segnale > 0; }, 100));
        QCOMPARE(b.p().operatore.testo, QStringLiteral("Operatore TIM"));
    }
};

QTEST_GUILESS_MAIN(TstModemSuPty)
#include "tst_modemsupty.moc"
