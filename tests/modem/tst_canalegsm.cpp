#include "BancoModem.h"
#include "platform/Testo.h"

#include <QRandomGenerator>
#include <QTest>

// The AT channel and the supervision cycle of the main window, tick by tick against the
// in-memory port and a scripted modem.
class TstCanaleGsm : public QObject {
    Q_OBJECT
private slots:
    void senzaImpulsoIlTestPartePoDopoLApertura() {
        BancoModem b(false);
        b.avviaFinoAllaLista();
        QCOMPARE(b.porta->aperture, QVector<int>{1});
        QVERIFY(b.form->AttesaAccensione);
        // No DTR pulse: the wait before the test starts on the next idle tick.
        b.tick();
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("Attesa Invio Comando Test Gsm"));
        QVERIFY(b.porta->righeScritte.isEmpty());
        b.tick(20);
        QVERIFY(b.porta->righeScritte.isEmpty());
        b.tick();
        QCOMPARE(b.porta->righeScritte, QStringList{QStringLiteral("AT")});
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("Invio Comando per Test GSM"));
        QVERIFY(b.form->TestInCorso);
        for (const auto& c : b.porta->cambiDtr)
            QVERIFY(!c.attivo);
    }

    void conImpulsoDtrAltoPerVentunoTickPoiIlTest() {
        BancoModem b(true);
        b.avviaFinoAllaLista();
        QCOMPARE(b.porta->cambiDtr.size(), 1);
        const auto acceso = b.porta->cambiDtr[0];
        QVERIFY(acceso.attivo);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("Porta Gsm ="));
        QVERIFY(b.tickFinche([&] { return b.porta->cambiDtr.size() == 2; }) >= 0);
        const auto spento = b.porta->cambiDtr[1];
        QVERIFY(!spento.attivo);
        // 21 pulse ticks, plus the tick that fills the list right after the opening.
        QCOMPARE(spento.tick - acceso.tick, 22);
        QVERIFY(b.porta->righeScritte.isEmpty());
        b.tick(20);
        QVERIFY(b.porta->righeScritte.isEmpty());
        b.tick();
        QCOMPARE(b.porta->righeScritte, QStringList{QStringLiteral("AT")});
    }

    void laCatenaDiAvvioArrivaAGsmAbilitato() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        // The first poll goes out in the same tick that found the SIM ready.
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT", "ATE0", "AT+CGMR", "AT+CMGF=1", "AT+CMEE=2",
                                              "AT+CLCK?", "AT+CREG?"}));
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM ON Com: 1"));
        QVERIFY(b.stato->GsmAbilitato);
        QVERIFY(!b.form->AperturaInCorso);
        QVERIFY(!b.form->BtnTrovaGsm->isEnabled());
        QCOMPARE(b.stato->RevisioneGsm, QStringLiteral(" REV 1.0"));
        QCOMPARE(b.copione.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
        QCOMPARE(b.copione.mostrati()[0].title, QStringLiteral("Abilitazione MODULO GSM"));
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Abilita Pin"));
        QVERIFY(b.form->BtnDisabilitaPinCode->isEnabled());
        QCOMPARE(b.stato->TipoComando, 5);

        // Registration answered, then the signal and the message scan.
        QVERIFY(b.tickFinche(
                    [&] { return b.stato->TipoComando == 5 && b.form->TickAttesa == 0; }) >= 0);
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CSQ", "AT+CMGR=1", "AT+CMGR=2"}));
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore TIM"));
        QCOMPARE(b.form->lblledmodem->text(), QStringLiteral("Segnale GSM"));
        QCOMPARE(b.form->ProgressBar1->value(), 67);
        QVERIFY(b.form->lblprovider->isEnabled());
        QVERIFY(b.form->BtnTestCredito->isEnabled());
        QVERIFY(b.form->Registrato);
        // Nothing is deleted from the SIM while messages are not read.
        QVERIFY(b.porta->scritto.indexOf(QStringLiteral("AT+CMGD")) < 0);

        // The next poll comes at the 100th idle tick, counting the one that ended the exchange.
        QCOMPARE(b.form->TickPolling, 1);
        b.tick(98);
        QVERIFY(b.nuoveRighe().isEmpty());
        b.tick();
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CREG?")});
    }

    void rispostaSenzaOkAllInizializzazioneFermaLaCatena_data() {
        QTest::addColumn<QString>("comando");
        QTest::newRow("eco") << QStringLiteral("ATE0");
        QTest::newRow("modo testo") << QStringLiteral("AT+CMGF=1");
        QTest::newRow("errori estesi") << QStringLiteral("AT+CMEE=2");
    }
    void rispostaSenzaOkAllInizializzazioneFermaLaCatena() {
        QFETCH(QString, comando);
        BancoModem b;
        b.modem.risposte[comando] = QStringLiteral("\r\nERROR\r\n");
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return !b.copione.mostrati().isEmpty(); }, 300) >= 0);
        QCOMPARE(b.copione.testi(), QStringList{QStringLiteral("Attenzione: GSM non risponde")});
        QCOMPARE(b.porta->righeScritte.last(), comando);
        b.tick(500);
        QCOMPARE(b.porta->righeScritte.last(), comando);
        QCOMPARE(b.copione.mostrati().size(), 1);
        QVERIFY(!b.abilitato());
    }

    void nessunaRispostaAlTestPassaAllaPortaSuccessiva() {
        BancoModem b;
        b.porta->porteEsistenti = {1, 3};
        // COM1 holds a device that never answers; COM2 does not exist; COM3 is the modem.
        b.modem.spento = true;
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return !b.porta->righeScritte.isEmpty(); }) >= 0);
        b.modem.spento = false;
        b.modem.muti = {QStringLiteral("AT")};
        // The reply is given up exactly at the tenth tick of the wait.
        b.tick(8);
        QCOMPARE(b.porta->aperture, QVector<int>{1});
        b.tick();
        QCOMPARE(b.porta->aperture, (QVector<int>{1, 3}));
        QCOMPARE(b.form->PortaCom, 3);
        QVERIFY(!b.form->TestInCorso);
        b.modem.muti.clear();
        QVERIFY(b.tickFinche([&] { return b.abilitato(); }) >= 0);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM ON Com: 3"));
    }

    void unaRispostaSenzaOkAllaRevisioneCercaSullaPortaSuccessiva() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CGMR")] = QStringLiteral("\r\nERROR\r\n");
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return b.form->PortaCom != 1; }, 300) >= 0);
        QCOMPARE(b.form->PortaCom, 16);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(!b.porta->PortOpen());
        QVERIFY(!b.stato->GsmAbilitato);
        QCOMPARE(b.stato->TipoComando, 0);
    }

    void laRicercaArrivaACom16ESiFerma() {
        BancoModem b;
        b.porta->porteEsistenti = {};
        b.avviaFinoAllaLista();
        QCOMPARE(b.form->PortaCom, 16);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(b.form->BtnTrovaGsm->isEnabled());
        QVERIFY(!b.form->AperturaInCorso);
        QVERIFY(!b.form->lblledmodem->isEnabled());
        QVERIFY(!b.form->BtnTestCredito->isEnabled());
        QVERIFY(b.porta->aperture.isEmpty());

        // A missing lower port moves the search on and says which port comes next.
        b.porta->porteEsistenti = {5};
        b.form->BtnTrovaGsm->click();
        QCOMPARE(b.porta->aperture, QVector<int>{5});
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("Accendo il GSM Com: 5"));
        QVERIFY(b.form->AttesaAccensione);
    }

    void laRispostaSiPrendeAlPrimoTickQuieto() {
        BancoModem b;
        b.modem.muti = {QStringLiteral("AT+CREG?")};
        b.avviaFinoAdAbilitato();
        b.form->FrModem->show();
        QVERIFY(b.form->TickAttesa > 0);
        // The reply comes in three pieces over three ticks: nothing is cut.
        b.porta->inArrivo += QStringLiteral("\r\n+CRE");
        b.tick();
        b.porta->inArrivo += QStringLiteral("G: 0,");
        b.tick();
        b.porta->inArrivo += QStringLiteral("1\r\n\r\nOK\r\n");
        b.tick();
        QVERIFY(b.form->TickAttesa > 0);
        QCOMPARE(b.form->ListRicevutiModem->count(), 0);
        b.tick();
        QCOMPARE(b.form->ListRicevutiModem->count(), 1);
        QCOMPARE(b.form->ListRicevutiModem->item(0)->text(),
                 QStringLiteral("\r\n+CREG: 0,1\r\n\r\nOK\r\n"));
        QCOMPARE(b.porta->righeScritte.last(), QStringLiteral("AT+CSQ"));
    }

    // A long message keeps arriving past 220 characters: it is taken whole at the quiet tick,
    // not cut (a cut reply has no "OK", so the message would never leave the SIM).
    void unMessaggioLungoNonSiTaglia() {
        BancoModem b;
        b.modem.muti = {QStringLiteral("AT+CMGR=1")};
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] {
            return b.porta->righeScritte.value(b.porta->righeScritte.size() - 1) ==
                   QStringLiteral("AT+CMGR=1");
        }) >= 0);
        const QString testo =
            QString(150, QLatin1Char('a')) + QLatin1Char(' ') + QString(150, QLatin1Char('b'));
        const QString risposta =
            QStringLiteral(
                "\r\n+CMGR: \"REC UNREAD\",\"+393331112222\",,\"26/12/07,10:15:30+04\"\r\n") +
            testo + QStringLiteral("\r\n\r\nOK\r\n");
        b.porta->inArrivo = risposta.left(230);
        b.tick();
        b.porta->inArrivo += risposta.mid(230);
        b.tick(2);
        QCOMPARE(b.form->TickAttesa, 1); // the delete has been sent
        QCOMPARE(b.porta->righeScritte.last(), QStringLiteral("AT+CMGD=1"));
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 1);
        QCOMPARE(b.form->ListaSMS->topLevelItem(0)->text(4), testo);
    }

    void centoVentiCaratteriSiPrendonoSubito() {
        BancoModem b;
        b.modem.muti = {QStringLiteral("AT+CREG?")};
        b.avviaFinoAdAbilitato();
        b.form->FrModem->show();
        QVERIFY(b.form->TickAttesa > 0);
        b.porta->inArrivo = QString(219, QLatin1Char('x'));
        b.tick();
        QCOMPARE(b.form->ListRicevutiModem->count(), 0);
        b.porta->inArrivo += QLatin1Char('y');
        b.tick();
        QCOMPARE(b.form->ListRicevutiModem->count(), 1);
        QCOMPARE(b.form->ListRicevutiModem->item(0)->text().size(), 220);
        QCOMPARE(b.form->TickAttesa, 0);
        // Without "OK" the registration query counts as unanswered.
        QCOMPARE(b.form->MancateRisposte, 1);
    }

    void treSerieDiPollingSenzaRispostaRiaccendonoIlModem() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.copione.Rispondi(1);
        const int messaggiIniziali = int(b.copione.mostrati().size());
        auto serieSenzaRisposta = [&] {
            b.modem.muti = {QStringLiteral("AT+CREG?")};
            const qsizetype aperture = b.porta->aperture.size();
            QVERIFY(b.tickFinche([&] { return b.porta->aperture.size() > aperture; }, 1000) >= 0);
            QCOMPARE(b.form->MancateRisposte, 3);
            b.modem.muti.clear();
            // The search finds the modem again and its next answer closes the series.
            QVERIFY(b.tickFinche([&] { return b.form->MancateRisposte == 0; }, 1000) >= 0);
        };
        serieSenzaRisposta();
        QCOMPARE(b.form->Riaccensioni, 1);
        const QString riaccensione = QStringLiteral(
            "Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\nRiaccensione Automatica del GSM");
        QCOMPARE(b.copione.testi().mid(messaggiIniziali).count(riaccensione), 1);
        serieSenzaRisposta();
        serieSenzaRisposta();
        QCOMPARE(b.form->Riaccensioni, 3);
        const QStringList testi = b.copione.testi();
        QCOMPARE(testi.count(riaccensione), 3);
        QCOMPARE(testi.count(QStringLiteral("Il sistema ha Riacceso per 3 volte il modulo GSM.\n"
                                            "Possibile Anomalia. Contattare L'assistenza")),
                 1);
        // The second box comes right after the third re-power notice.
        QVERIFY(
            testi.value(testi.lastIndexOf(riaccensione) + 1).startsWith("Il sistema ha Riacceso"));
    }

    void unModemCheNonRispondeAlPollingNonRiaccendeDueVolte() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.modem.muti = {QStringLiteral("AT+CREG?")};
        b.tick(2000);
        // After the re-power the modem answers the start-up but never the registration: the
        // count is not reset, so no second re-power.
        QCOMPARE(b.form->Riaccensioni, 1);
        QVERIFY(b.form->MancateRisposte > 3);
    }

    void inRoamingSiInterrogaSoloLaRegistrazione() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CREG?")] =
            QStringLiteral("\r\n+CREG: 0,5\r\n\r\nOK\r\n");
        b.avviaFinoAdAbilitato();
        b.nuoveRighe();
        b.tick(350);
        const QStringList righe = b.nuoveRighe();
        QVERIFY(righe.size() >= 3);
        for (const QString& r : righe)
            QCOMPARE(r, QStringLiteral("AT+CREG?"));
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore Romming"));
        QVERIFY(b.form->Registrato);
        QVERIFY(b.form->BtnTestCredito->isEnabled());
    }

    void nonRegistratoAzzeraIlSegnale() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.tick(10);
        QCOMPARE(b.form->ProgressBar1->value(), 67);
        b.modem.risposte[QStringLiteral("AT+CREG?")] =
            QStringLiteral("\r\n+CREG: 0,2\r\n\r\nOK\r\n");
        b.nuoveRighe();
        b.tick(210);
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CREG?", "AT+CREG?"}));
        QCOMPARE(b.form->lblledmodem->text(), QStringLiteral("Non Registrato"));
        QCOMPARE(b.form->ProgressBar1->value(), 0);
        QVERIFY(!b.form->Registrato);
        QVERIFY(!b.form->BtnTestCredito->isEnabled());
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
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CSQ")] =
            QStringLiteral("\r\n") + risposta + QStringLiteral("\r\n\r\nOK\r\n");
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.porta->righeScritte.contains("AT+CMGR=1"); }) >= 0);
        QCOMPARE(b.form->ProgressBar1->value(), livello);
        QCOMPARE(b.form->BtnTestCredito->isEnabled(), credito);
    }

    void segnaleSenzaOkNonLeggeMessaggiFinoAlPollingSuccessivo() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CSQ")] = QStringLiteral("\r\nERROR\r\n");
        b.avviaFinoAdAbilitato();
        QCOMPARE(b.nuoveRighe().last(), QStringLiteral("AT+CREG?"));
        b.tick(20);
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CSQ")});
        QCOMPARE(b.stato->TipoComando, 7);
        b.tick(110);
        QCOMPARE(b.nuoveRighe().value(0), QStringLiteral("AT+CMGR=1"));
    }

    void unErroreDiScritturaDaIlMessaggioEChiudeLaPorta() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.porta->scritturaFallisce = true;
        b.copione.Rispondi(1);
        const qsizetype prima = b.copione.mostrati().size();
        QVERIFY(b.tickFinche([&] { return !b.porta->PortOpen(); }, 200) >= 0);
        QCOMPARE(b.copione.testi().mid(prima),
                 QStringList{QStringLiteral(" ATTENZIONE Errore Seriale. Modulo GSM Rotto o non "
                                            "Collegato. Premere il pulsante TROVA GSM")});
        QCOMPARE(b.copione.mostrati().last().style, 0);
        QVERIFY(b.form->BtnTrovaGsm->isEnabled());
        QCOMPARE(b.stato->TipoComando, 0);
        QVERIFY(!b.stato->GsmAbilitato);
        QCOMPARE(b.form->TickAttesa, 0);
        // Nothing else breaks: the ticks go on, and "Trova Gsm" starts again.
        b.tick(50);
        b.porta->scritturaFallisce = false;
        b.form->BtnTrovaGsm->click();
        QVERIFY(b.tickFinche([&] { return b.abilitato(); }) >= 0);
    }

    void conLaPortaChiusaNonSiScriveNienteENonPartIlTimeout() {
        BancoModem b;
        b.porta->porteEsistenti = {};
        b.avviaFinoAllaLista();
        b.stato->TipoComando = 5;
        b.form->SetStringa_Gsm();
        QVERIFY(b.porta->scritto.isEmpty());
        QCOMPARE(b.form->TickAttesa, 0);
        QVERIFY(b.form->InAttesaRisposta);
        b.tick(30);
        QVERIFY(b.form->InAttesaRisposta);
    }

    void righeDellUssdEDellaChiamataDiServizio() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.form->FrModem->show();
        b.tick(30);
        b.porta->scritto.clear();
        b.stato->NumeroCredito = QStringLiteral("*123#");
        b.stato->StringaGsm = QStringLiteral("AT+CUSD=1,");
        b.form->ArgomentoTraVirgolette = true;
        b.stato->TipoComando = 8;
        b.form->SetStringa_Gsm();
        QCOMPARE(b.porta->scritto, QStringLiteral("AT+CUSD=1,\"*123#\"\r"));
        QCOMPARE(b.form->ListSendModem->item(b.form->ListSendModem->count() - 1)->text(),
                 QStringLiteral("AT+CUSD=1,\"*123#\""));
        QVERIFY(!b.form->ArgomentoTraVirgolette);
        QCOMPARE(b.form->TimeoutTick, 100);

        b.porta->scritto.clear();
        b.stato->StringaGsm = QStringLiteral("ATD*121#");
        b.form->ChiamataVocale = true;
        b.stato->TipoComando = 10;
        b.form->SetStringa_Gsm();
        QCOMPARE(b.porta->scritto, QStringLiteral("ATD*121#;\r"));
        QCOMPARE(b.form->ListSendModem->item(b.form->ListSendModem->count() - 1)->text(),
                 QStringLiteral("ATD*121#"));

        b.form->btnClearModem->click();
        QCOMPARE(b.form->ListSendModem->count(), 0);
        QCOMPARE(b.form->ListRicevutiModem->count(), 0);
    }

    void laDiagnosticaTieneSoloLeUltimeMilleRighe() {
        BancoModem b;
        b.avviaFinoAllaLista();
        b.form->FrModem->show();
        b.stato->TipoComando = 14; // no handler: the reply is only logged
        for (int i = 1; i <= 1100; ++i)
            b.form->Ricevi_Dati(QString::number(i));
        QCOMPARE(b.form->ListRicevutiModem->count(), 1000);
        QCOMPARE(b.form->ListRicevutiModem->item(0)->text(), QStringLiteral("101"));
        QCOMPARE(b.form->ListRicevutiModem->item(999)->text(), QStringLiteral("1100"));
    }

    void spegniGsmTieneAltoIlDtrPerVentunoTickEChiudeLaPorta() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.tick(20);
        QCOMPARE(b.form->TickAttesa, 0);
        b.porta->cambiDtr.clear();
        b.form->BtnSpegniGsm_Click();
        QCOMPARE(b.porta->cambiDtr.size(), 1);
        const int inizio = b.porta->tick;
        QVERIFY(b.tickFinche([&] { return !b.porta->PortOpen(); }, 100) >= 0);
        QCOMPARE(b.porta->cambiDtr.size(), 2);
        QCOMPARE(b.porta->cambiDtr[1].tick - inizio, 21);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento"));
        QVERIFY(!b.form->LbLPortaModem->isEnabled());
        QVERIFY(b.form->BtnTrovaGsm->isEnabled());
        QVERIFY(!b.stato->GsmAbilitato);
        QVERIFY(!b.form->Scaricata());
    }

    // Echo left on, unsolicited lines, noise and bytes above 127 in every reply: the chain still
    // reaches the poll cycle, and random garbage never stops the ticks.
    void rumoreEdEcoNonFermanoLaCatena() {
        BancoModem b;
        for (auto it = b.modem.risposte.begin(); it != b.modem.risposte.end(); ++it)
            it.value() = it.key() + QStringLiteral("\r\r\nRING\r\n") + QChar(0xE8) + QChar(0xFF) +
                         it.value() + QStringLiteral("\r\n+CMTI: \"SM\",3\r\n");
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.porta->righeScritte.contains("AT+CMGR=1"); }) >= 0);
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore TIM"));

        QRandomGenerator caso(20261208);
        const QString alfabeto = QStringLiteral("AT+CREGSQOK:,\r\n\" 0123456789>") + QChar(0xE0);
        b.modem.risposte.clear();
        b.porta->risponditore = [&](const QString&) {
            QString r;
            const int n = int(caso.bounded(300));
            for (int i = 0; i < n; ++i)
                r.append(alfabeto.at(int(caso.bounded(alfabeto.size()))));
            return r;
        };
        b.tick(3000);
        QVERIFY(b.form->Timer1.isActive());
        QVERIFY(b.porta->inArrivo.size() < 1000);
    }
};

QTEST_MAIN(TstCanaleGsm)
#include "tst_canalegsm.moc"
