#include "BancoMotore.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
// The ESC written before the test ends a line of the in-memory port, an empty one.
const QString kEsc;
} // namespace

// The AT channel and the supervision cycle of the modem engine, tick by tick against the
// in-memory port and a scripted modem.
class TstCanaleGsm : public QObject {
    Q_OBJECT
private slots:
    void senzaImpulsoIlTestPartePoDopoLApertura() {
        BancoMotore b(false);
        b.accendi();
        QCOMPARE(b.porta.aperture, QVector<int>{1});
        QCOMPARE(b.porta.Settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(b.s().AttesaAccensione);
        // No DTR pulse: the wait before the test starts on the next idle tick.
        b.tick();
        QCOMPARE(b.p().porta.testo, QStringLiteral("Attesa Invio Comando Test Gsm"));
        b.tick(20);
        QVERIFY(b.porta.righeScritte.isEmpty());
        b.tick();
        QCOMPARE(b.porta.righeScritte, (QStringList{kEsc, QStringLiteral("AT")}));
        QCOMPARE(b.p().porta.testo, QStringLiteral("Invio Comando per Test GSM"));
        QVERIFY(b.s().TestInCorso);
        for (const auto& c : b.porta.cambiDtr)
            QVERIFY(!c.attivo);
    }

    // With the pulse, DTR is high for 21 ticks, and "AT" follows 21 ticks later. A search
    // started during the wait before the test gives the next pulse its 21 ticks all the same.
    void conImpulsoDtrAltoPerVentunoTickAncheDopoUnaRicerca() {
        BancoMotore b(true);
        b.accendi();
        QCOMPARE(b.porta.cambiDtr.size(), 1);
        QVERIFY(b.porta.cambiDtr[0].attivo);
        QVERIFY(b.tickFinche([&] { return b.porta.cambiDtr.size() == 2; }) >= 0);
        QVERIFY(!b.porta.cambiDtr[1].attivo);
        QCOMPARE(b.porta.cambiDtr[1].tick - b.porta.cambiDtr[0].tick, 21);

        // "Trova Gsm" half-way through the wait before the test: the new pulse is whole.
        QVERIFY(b.tickFinche([&] { return b.s().TickAccensione == 10; }) >= 0);
        QVERIFY(b.s().AttesaTest);
        b.porta.cambiDtr.clear();
        b.motore->supervisione.TrovaGsm();
        QCOMPARE(b.porta.cambiDtr.last().attivo, true);
        const int acceso = b.porta.cambiDtr.last().tick;
        QVERIFY(b.tickFinche([&] { return !b.porta.cambiDtr.last().attivo; }) >= 0);
        QCOMPARE(b.porta.cambiDtr.last().tick - acceso, 21);
        b.tick(20);
        QVERIFY(b.porta.righeScritte.isEmpty());
        b.tick();
        QCOMPARE(b.porta.righeScritte, (QStringList{kEsc, QStringLiteral("AT")}));
    }

    void laCatenaDiAvvioArrivaAGsmAbilitato() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        // The first poll goes out in the same tick that found the SIM ready.
        QCOMPARE(b.nuoveRighe(),
                 (QStringList{kEsc, "AT", "ATE0", "AT+CGMR", "AT+CMGF=1", "AT+CMEE=2", "AT+CSDH=1",
                              "AT+CSCS=?", "AT+CSCS=\"8859-1\"", "AT+CSCS?", "AT+CSMP=17,167,0,0",
                              "AT+CLCK?", "AT+CREG?"}));
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM ON Com: 1"));
        QVERIFY(b.s().GsmAbilitato);
        QVERIFY(!b.s().AperturaInCorso);
        QVERIFY(!b.p().trovaGsm);
        QCOMPARE(b.p().revisione, QStringLiteral(" REV 1.0"));
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
        QCOMPARE(b.dialogo.mostrati[0].titolo, QStringLiteral("Abilitazione MODULO GSM"));
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Abilita Pin"));
        QVERIFY(b.p().gestionePin);

        // Registration answered, then the signal and the scan; this modem does not say how many
        // messages it holds, so the scan ends at its second empty slot.
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo() && b.s().TickAttesa == 0; }) >= 0);
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CSQ", "AT+CPMS?", "AT+CMGR=1", "AT+CMGR=2"}));
        QCOMPARE(b.p().operatore.testo, QStringLiteral("Operatore TIM"));
        QCOMPARE(b.p().rete.testo, QStringLiteral("Segnale GSM"));
        QCOMPARE(b.p().segnale, 67);
        QVERIFY(b.p().operatore.attiva);
        QVERIFY(b.p().gestioneCredito);
        QVERIFY(b.s().Registrato);
        QVERIFY(b.porta.scritto.indexOf(QStringLiteral("AT+CMGD")) < 0);

        // The next poll comes at the 100th idle tick, counting the one that ended the exchange;
        // the modem that refused "AT+CPMS?" is not asked again.
        QCOMPARE(b.s().TickPolling, 1);
        b.tick(98);
        QVERIFY(b.nuoveRighe().isEmpty());
        b.tick();
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CREG?")});
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CMGR=2"; }) >= 0);
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CSQ", "AT+CMGR=1", "AT+CMGR=2"}));
    }

    void rispostaSenzaOkAllInizializzazioneFermaLaCatena_data() {
        QTest::addColumn<QString>("comando");
        QTest::newRow("eco") << QStringLiteral("ATE0");
        QTest::newRow("modo testo") << QStringLiteral("AT+CMGF=1");
        QTest::newRow("errori estesi") << QStringLiteral("AT+CMEE=2");
    }
    void rispostaSenzaOkAllInizializzazioneFermaLaCatena() {
        QFETCH(QString, comando);
        BancoMotore b;
        b.modem.risposte[comando] = QStringLiteral("\r\nERROR\r\n");
        b.accendi();
        QVERIFY(b.tickFinche([&] { return !b.dialogo.mostrati.isEmpty(); }, 300) >= 0);
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral("Attenzione: GSM non risponde")});
        b.tick(500);
        QCOMPARE(b.porta.righeScritte.last(), comando);
        QCOMPARE(b.dialogo.mostrati.size(), 1);
        QVERIFY(!b.abilitato());
    }

    void nessunaRispostaAlTestPassaAllaPortaSuccessiva() {
        BancoMotore b;
        b.porta.porteEsistenti = {1, 3};
        // COM1 holds a device that never answers; COM2 does not exist; COM3 is the modem.
        b.modem.muti = {QStringLiteral("AT")};
        b.accendi();
        QVERIFY(b.tickFinche([&] { return !b.porta.righeScritte.isEmpty(); }) >= 0);
        // The reply is given up exactly at the tenth tick of the wait.
        b.tick(8);
        QCOMPARE(b.porta.aperture, QVector<int>{1});
        b.tick();
        QCOMPARE(b.porta.aperture, (QVector<int>{1, 3}));
        QCOMPARE(b.s().PortaCom, 3);
        QVERIFY(!b.s().TestInCorso);
        b.modem.muti.clear();
        QVERIFY(b.tickFinche([&] { return b.abilitato(); }) >= 0);
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM ON Com: 3"));
    }

    // The search from COM1 to COM16: a missing port, or one another program holds, moves it on
    // and says which port comes next; a last port missing or held ends it; so does a device
    // that answers the test but not the revision on every port.
    void laRicercaDellePorte() {
        BancoMotore b;
        b.porta.porteEsistenti = {};
        b.accendi();
        QCOMPARE(b.s().PortaCom, 16);
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(b.p().trovaGsm);
        QVERIFY(!b.s().AperturaInCorso);
        QVERIFY(!b.p().rete.attiva);
        QVERIFY(!b.p().gestioneCredito);

        b.porta.porteEsistenti = {4, 5};
        b.porta.porteOccupate = {4};
        b.motore->supervisione.TrovaGsm();
        QCOMPARE(b.porta.aperture, QVector<int>{5});
        QCOMPARE(b.p().porta.testo, QStringLiteral("Accendo il GSM Com: 5"));
        QVERIFY(!b.p().trovaGsm);
        QVERIFY(b.s().AttesaAccensione);
        QVERIFY(!b.motore->canale.Occupato());

        b.porta.porteEsistenti = {16};
        b.porta.porteOccupate = {16};
        b.motore->supervisione.TrovaGsm();
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento o non Collegato"));

        b.porta.porteEsistenti = {1};
        b.porta.porteOccupate = {};
        b.modem.risposte[QStringLiteral("AT+CGMR")] = QStringLiteral("\r\nERROR\r\n");
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.tickFinche([&] { return b.s().PortaCom != 1; }, 300) >= 0);
        QCOMPARE(b.s().PortaCom, 16);
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(!b.porta.PortOpen());
        QVERIFY(!b.s().GsmAbilitato);
        QVERIFY(!b.motore->canale.Occupato());
    }

    // A reply is taken at its first quiet tick, however many ticks it takes to come. A long one
    // is taken as soon as its final result is in, except a message read, which always waits for
    // its quiet tick: its body may hold a line reading "OK".
    void laRispostaSiPrendeQuandoEIntera() {
        BancoMotore b;
        b.modem.muti = {QStringLiteral("AT+CREG?")};
        b.avviaFinoAdAbilitato();
        b.s().DiagnosticaAttiva = true;
        QVERIFY(b.s().TickAttesa > 0);
        b.porta.inArrivo += QStringLiteral("\r\n+CRE");
        b.tick();
        b.porta.inArrivo += QStringLiteral("G: 0,");
        b.tick();
        b.porta.inArrivo += QStringLiteral("1\r\n\r\nOK\r\n");
        b.tick();
        QVERIFY(b.dialogo.ricevute.isEmpty());
        b.tick();
        QCOMPARE(b.dialogo.ricevute, QStringList{QStringLiteral("\r\n+CREG: 0,1\r\n\r\nOK\r\n")});
        QCOMPARE(b.porta.righeScritte.last(), QStringLiteral("AT+CSQ"));

        // 220 characters without their result wait; with it they are taken at once.
        b.modem.muti = {QStringLiteral("AT+CSQ"), QStringLiteral("AT+CREG?")};
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CREG?"; }) >= 0);
        b.dialogo.ricevute.clear();
        b.porta.inArrivo = QString(230, QLatin1Char('x'));
        b.tick();
        QVERIFY(b.dialogo.ricevute.isEmpty());
        b.porta.inArrivo = QString(220, QLatin1Char('y')) + QStringLiteral("\r\nOK\r\n");
        b.tick();
        QCOMPARE(b.dialogo.ricevute.size(), 1);
        QCOMPARE(b.dialogo.ricevute.last().size(), 456);

        // A long message keeps arriving past 220 characters: taken whole at the quiet tick.
        b.modem.muti = {QStringLiteral("AT+CMGR=1")};
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CMGR=1"; }) >= 0);
        const QString testo = QString(150, QLatin1Char('a')) + QStringLiteral("\r\nOK\r\n") +
                              QString(150, QLatin1Char('b'));
        const QString risposta =
            QStringLiteral(
                "\r\n+CMGR: \"REC UNREAD\",\"+393331112222\",,\"26/12/07,10:15:30+04\"\r\n") +
            testo + QStringLiteral("\r\n\r\nOK\r\n");
        QString registrato;
        QObject::connect(
            b.motore.get(), &MotoreGsm::SmsRegistrato,
            [&](const QString&, const RicezioneSms::Risultato& r) { registrato = r.testo; });
        b.porta.inArrivo = risposta.left(230);
        b.tick();
        b.porta.inArrivo += risposta.mid(230);
        b.tick(2);
        QCOMPARE(b.porta.righeScritte.last(), QStringLiteral("AT+CMGD=1"));
        QCOMPARE(registrato, testo);
    }

    void treSerieDiPollingSenzaRispostaRiaccendonoIlModem() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        const int iniziali = int(b.dialogo.mostrati.size());
        auto serieSenzaRisposta = [&] {
            b.modem.muti = {QStringLiteral("AT+CREG?")};
            const qsizetype aperture = b.porta.aperture.size();
            QVERIFY(b.tickFinche([&] { return b.porta.aperture.size() > aperture; }, 1000) >= 0);
            QCOMPARE(b.s().MancateRisposte, 3);
            b.modem.muti.clear();
            // The search finds the modem again and its next answer closes the series.
            QVERIFY(b.tickFinche([&] { return b.s().MancateRisposte == 0; }, 1000) >= 0);
        };
        serieSenzaRisposta();
        QCOMPARE(b.s().Riaccensioni, 1);
        const QString riaccensione = QStringLiteral(
            "Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\nRiaccensione Automatica del GSM");
        QCOMPARE(b.dialogo.testi().mid(iniziali).count(riaccensione), 1);
        serieSenzaRisposta();
        serieSenzaRisposta();
        QCOMPARE(b.s().Riaccensioni, 3);
        const QStringList testi = b.dialogo.testi();
        QCOMPARE(testi.count(riaccensione), 3);
        // The second box comes once, right after the third re-power notice.
        QCOMPARE(testi.count(QStringLiteral("Il sistema ha Riacceso per 3 volte il modulo GSM.\n"
                                            "Possibile Anomalia. Contattare L'assistenza")),
                 1);
        QVERIFY(
            testi.value(testi.lastIndexOf(riaccensione) + 1).startsWith("Il sistema ha Riacceso"));

        // A modem that answers the start-up but never the registration: the count is not reset,
        // so no further re-power.
        b.modem.muti = {QStringLiteral("AT+CREG?")};
        b.tick(2000);
        QCOMPARE(b.s().Riaccensioni, 4);
        QVERIFY(b.s().MancateRisposte > 3);
    }

    void registrazioneInRoamingENonRegistrato() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CREG?")] =
            QStringLiteral("\r\n+CREG: 0,5\r\n\r\nOK\r\n");
        b.avviaFinoAdAbilitato();
        b.nuoveRighe();
        b.tick(350);
        // Roaming: registration only, no signal, no messages.
        const QStringList righe = b.nuoveRighe();
        QVERIFY(righe.size() >= 3);
        QCOMPARE(righe.count(QStringLiteral("AT+CREG?")), righe.size());
        QCOMPARE(b.p().operatore.testo, QStringLiteral("Operatore Romming"));
        QVERIFY(b.s().Registrato);
        QVERIFY(b.p().gestioneCredito);

        b.modem.risposte[QStringLiteral("AT+CREG?")] =
            QStringLiteral("\r\n+CREG: 0,2\r\n\r\nOK\r\n");
        b.tick(110);
        QCOMPARE(b.p().rete.testo, QStringLiteral("Non Registrato"));
        QCOMPARE(b.p().segnale, 0);
        QVERIFY(!b.s().Registrato);
        QVERIFY(!b.p().gestioneCredito);
    }

    void segnaleDebolissimoEFuoriScala_data() {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<int>("livello");
        QTest::addColumn<bool>("credito");
        // 99: the modem does not know the signal; an empty bar, as for no signal.
        QTest::newRow("99 sconosciuto") << QStringLiteral("+CSQ: 99,99") << 0 << false;
        QTest::newRow("1 sotto soglia") << QStringLiteral("+CSQ: 0,99") << 0 << false;
        QTest::newRow("31 massimo") << QStringLiteral("+CSQ: 31,0") << 100 << true;
    }
    void segnaleDebolissimoEFuoriScala() {
        QFETCH(QString, risposta);
        QFETCH(int, livello);
        QFETCH(bool, credito);
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CSQ")] =
            QStringLiteral("\r\n") + risposta + QStringLiteral("\r\n\r\nOK\r\n");
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.contains("AT+CMGR=1"); }) >= 0);
        QCOMPARE(b.p().segnale, livello);
        QCOMPARE(b.p().gestioneCredito, credito);
    }

    void segnaleSenzaOkNonLeggeMessaggiFinoAlPollingSuccessivo() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CSQ")] = QStringLiteral("\r\nERROR\r\n");
        b.avviaFinoAdAbilitato();
        QCOMPARE(b.nuoveRighe().last(), QStringLiteral("AT+CREG?"));
        b.tick(20);
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CSQ")});
        b.tick(110);
        QCOMPARE(b.nuoveRighe().value(0), QStringLiteral("AT+CMGR=1"));
    }

    void unErroreDiScritturaDaIlMessaggioEChiudeLaPorta() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        b.porta.scritturaFallisce = true;
        const qsizetype prima = b.dialogo.mostrati.size();
        QVERIFY(b.tickFinche([&] { return !b.porta.PortOpen(); }, 200) >= 0);
        QCOMPARE(b.dialogo.testi().mid(prima),
                 QStringList{QStringLiteral(" ATTENZIONE Errore Seriale. Modulo GSM Rotto o non "
                                            "Collegato. Premere il pulsante TROVA GSM")});
        QCOMPARE(b.dialogo.mostrati.last().stile, 0);
        QVERIFY(b.p().trovaGsm);
        QVERIFY(!b.motore->canale.Occupato());
        QVERIFY(!b.s().GsmAbilitato);
        QCOMPARE(b.s().TickAttesa, 0);
        // Nothing else breaks: the ticks go on, and "Trova Gsm" starts again.
        b.tick(50);
        b.porta.scritturaFallisce = false;
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.tickFinche([&] { return b.abilitato(); }) >= 0);
    }

    void conLaPortaChiusaNonSiScriveNienteENonPartIlTimeout() {
        BancoMotore b;
        b.porta.porteEsistenti = {};
        b.accendi();
        bool abbandonato = false;
        QCOMPARE(b.motore->canale.Invia(Comando::DallaTabella(ComandoGsm::Registrazione), {},
                                        [&](bool) { abbandonato = true; }),
                 0);
        QVERIFY(b.porta.scritto.isEmpty());
        QCOMPARE(b.s().TickAttesa, 0);
        QVERIFY(!b.s().InAttesaRisposta);
        QVERIFY(!b.motore->canale.Occupato());
        QVERIFY(!abbandonato);
        b.tick(30);
        QVERIFY(b.porta.scritto.isEmpty());
    }

    // The lines of the credit request by USSD and of a service code dialled as a call, as the
    // features that send them prepare them.
    void righeDellUssdEDellaChiamataDiServizio() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        b.s().DiagnosticaAttiva = true;
        b.tick(30);
        b.porta.scritto.clear();
        b.modem.muti.insert(QStringLiteral("AT+CUSD=1,\"*123#\""));
        Comando ussd = Comando::Composto(ComandoGsm::Credito, QStringLiteral("AT+CUSD=1,"), 100,
                                         Comando::Forma::TraVirgolette);
        ussd.argomento = QStringLiteral("*123#");
        QVERIFY(b.motore->canale.Invia(ussd, {}));
        QCOMPARE(b.porta.scritto, QStringLiteral("AT+CUSD=1,\"*123#\"\r"));
        QCOMPARE(b.dialogo.inviate.last(), QStringLiteral("AT+CUSD=1,\"*123#\""));
        // Unanswered, it holds the line for its own time-out, then the next one goes.
        QVERIFY(b.motore->canale.Invia(Comando::Composto(ComandoGsm::ServiziChiamata,
                                                         QStringLiteral("ATD*121#"), 100,
                                                         Comando::Forma::Chiamata),
                                       {}));
        // A queued command abandoned by its number never goes out; its owner is told.
        QList<bool> abbandoni;
        const int revisione = b.motore->canale.Invia(
            Comando::DallaTabella(ComandoGsm::Revisione),
            [](const RispostaAt&) { QFAIL("risposta"); },
            [&](bool partito) { abbandoni << partito; });
        QCOMPARE(b.motore->canale.InCoda(), 2);
        b.motore->canale.Abbandona(revisione);
        QCOMPARE(abbandoni, QList<bool>{false});
        QCOMPARE(b.motore->canale.InCoda(), 1);
        b.porta.scritto.clear();
        b.tick(98);
        QVERIFY(b.porta.scritto.isEmpty());
        b.tick();
        QCOMPARE(b.porta.scritto, QStringLiteral("ATD*121#;\r"));
        QVERIFY(!b.porta.righeScritte.contains(QStringLiteral("AT+CGMR")) ||
                b.porta.righeScritte.lastIndexOf(QStringLiteral("AT+CGMR")) <
                    b.porta.righeScritte.lastIndexOf(QStringLiteral("AT+CUSD=1,\"*123#\"")));
        QCOMPARE(b.dialogo.inviate.last(), QStringLiteral("ATD*121#"));
    }

    // While a notice of the engine is open a window's command waits in the queue and the
    // desk's own commands pass it; the notice closed, it goes out.
    void unAvvisoApertoTrattieneIComandiDelleFinestre() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        b.nuoveRighe();
        Comando finestra = Comando::DallaTabella(ComandoGsm::Rubrica);
        finestra.daFinestra = true;
        QStringList durante;
        b.dialogo.mentreAperto = [&] {
            b.motore->canale.Invia(finestra, {});
            b.motore->canale.Invia(Comando::DallaTabella(ComandoGsm::Segnale), {});
            durante = b.nuoveRighe();
        };
        b.motore->avvisi.Avvisa(QStringLiteral("Avviso"));
        b.tick();
        QCOMPARE(durante, QStringList{QStringLiteral("AT+CSQ")});
        QVERIFY(!b.motore->AvvisoAperto());
        b.dialogo.mentreAperto = nullptr;
        b.tick(3);
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CPBR=1")});
    }

    // A feature plugs its command in by sending it with its handler.
    void unGestoreRegistratoRiceveLaRisposta() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        b.tick(30);
        b.modem.risposte[QStringLiteral("AT+CPBR=1")] =
            QStringLiteral("\r\n+CPBR: 1,\"3331112222\",129,\"Mario\"\r\n\r\nOK\r\n");
        QStringList ricevute;
        b.motore->canale.Invia(
            Comando::DallaTabella(ComandoGsm::Rubrica), [&](const RispostaAt& r) {
                ricevute << r.Informazione(QStringLiteral("+CPBR:")).value_or(QString());
                QVERIFY(r.Ok());
            });
        b.tick(2);
        QCOMPARE(ricevute, QStringList{QStringLiteral("+CPBR: 1,\"3331112222\",129,\"Mario\"")});
    }

    // What the modem says of its own accord with the line at rest: "+CMTI:" starts the scan at
    // the next tick instead of the next poll, "SMS Ready" has the settings set again, a late
    // "+CUSD:" is still read for the credit, and "RING" is let be.
    void righeSpontaneeARiposo() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo() && b.s().TickPolling > 5; }) >= 0);
        b.nuoveRighe();
        b.modem.sms(1, QStringLiteral("+393331112222"), QStringLiteral("26/12/07,10:15:30+04"),
                    QStringLiteral("Una margherita"));
        b.porta.inArrivo += QStringLiteral("\r\nRING\r\n\r\n+CMTI: \"SM\",1\r\n");
        b.tick(2);
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CMGR=1")});
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        QVERIFY(b.nuoveRighe().contains(QStringLiteral("AT+CMGD=1")));

        b.porta.inArrivo += QStringLiteral("\r\nSMS Ready\r\n");
        b.tick(2);
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        QCOMPARE(b.nuoveRighe(),
                 (QStringList{"AT+CMGF=1", "AT+CSDH=1", "AT+CSCS=\"8859-1\"", "AT+CSCS?"}));
        // A modem that repeats "^BOOT" as a status line is set up again once a minute at most.
        b.porta.inArrivo += QStringLiteral("\r\n^BOOT:12345678,0,0,0,75\r\n");
        b.tick(2);
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        QVERIFY(b.nuoveRighe().isEmpty());
        const QDateTime dopo = QDateTime::currentDateTime().addSecs(61);
        b.motore->orologio = [dopo] { return dopo; };
        b.porta.inArrivo += QStringLiteral("\r\n^BOOT:12345678,0,0,0,75\r\n");
        b.tick(2);
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        QCOMPARE(b.nuoveRighe().value(0), QStringLiteral("AT+CMGF=1"));

        b.porta.inArrivo += QStringLiteral("\r\n+CUSD: 0,\"Credito residuo 7,50 Euro\",15\r\n");
        b.tick(2);
        QCOMPARE(b.globale->gestore.credito, QStringLiteral("7,50"));
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    // With the diagnostic lists shown the modem's model is asked once, when the line is free,
    // and told there; a new search asks it again.
    void ilModelloSiChiedeUnaVolta() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CGMM")] =
            QStringLiteral("\r\nSIM800 R14.18\r\n\r\nOK\r\n");
        b.avviaFinoAdAbilitato();
        b.s().DiagnosticaAttiva = true;
        b.motore->supervisione.ChiediModello();
        QVERIFY(b.tickFinche([&] { return b.motore->Inattivo(); }) >= 0);
        QCOMPARE(b.p().modello, QStringLiteral("SIM800 R14.18"));
        QVERIFY(b.dialogo.ricevute.contains(QStringLiteral("Modello del modem: SIM800 R14.18")));
        b.motore->supervisione.ChiediModello();
        b.tick(5);
        QCOMPARE(b.porta.righeScritte.count(QStringLiteral("AT+CGMM")), 1);
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.p().modello.isEmpty());
    }

    void spegniGsmTieneAltoIlDtrPerVentunoTickEChiudeLaPorta() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        b.tick(20);
        QCOMPARE(b.s().TickAttesa, 0);
        b.porta.cambiDtr.clear();
        int spento = 0;
        QObject::connect(b.motore.get(), &MotoreGsm::ModemSpento, [&] { ++spento; });
        b.motore->supervisione.SpegniGsm();
        QCOMPARE(b.porta.cambiDtr.size(), 1);
        const int inizio = b.porta.tick;
        QVERIFY(b.tickFinche([&] { return !b.porta.PortOpen(); }, 100) >= 0);
        QCOMPARE(b.porta.cambiDtr[1].tick - inizio, 21);
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento"));
        QVERIFY(!b.p().porta.attiva);
        QVERIFY(b.p().trovaGsm);
        QVERIFY(!b.s().GsmAbilitato);
        QCOMPARE(spento, 1);
    }

    // Echo left on, unsolicited lines, noise and bytes above 127 in every reply: the chain still
    // reaches the poll cycle, and random garbage never stops the ticks.
    void rumoreEdEcoNonFermanoLaCatena() {
        BancoMotore b;
        for (auto it = b.modem.risposte.begin(); it != b.modem.risposte.end(); ++it)
            it.value() = it.key() + QStringLiteral("\r\r\nRING\r\n") + QChar(0xE8) + QChar(0xFF) +
                         it.value() + QStringLiteral("\r\n+CMTI: \"SM\",3\r\n");
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.contains("AT+CMGR=1"); }) >= 0);
        QCOMPARE(b.p().operatore.testo, QStringLiteral("Operatore TIM"));

        QRandomGenerator caso(20261208);
        const QString alfabeto = QStringLiteral("AT+CREGSQOK:,\r\n\" 0123456789>") + QChar(0xE0);
        b.modem.risposte.clear();
        b.porta.risponditore = [&](const QString&) {
            QString r;
            const int n = int(caso.bounded(300));
            for (int i = 0; i < n; ++i)
                r.append(alfabeto.at(int(caso.bounded(alfabeto.size()))));
            return r;
        };
        b.tick(3000);
        QVERIFY(b.porta.inArrivo.size() < 1000);
    }
};

QTEST_GUILESS_MAIN(TstCanaleGsm)
#include "tst_canalegsm.moc"
