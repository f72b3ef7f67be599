#include "ModemSimulato.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace {

// A modem that has already been told ATE0, so answers can be compared without the echo.
void senzaEco(ModemSimulato& m) {
    QCOMPARE(m.ricevi("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
}

QByteArray comando(ModemSimulato& m, const QByteArray& riga) {
    return m.ricevi(riga + '\r');
}

QByteArray ok() {
    return "\r\nOK\r\n";
}
QByteArray info(const QByteArray& riga) {
    return "\r\n" + riga + "\r\n\r\nOK\r\n";
}
QByteArray esito(const QByteArray& riga) {
    return "\r\n" + riga + "\r\n";
}

} // namespace

class TstModemSimulato : public QObject {
    Q_OBJECT
private slots:
    void ecoFinoAdAte0() {
        ModemSimulato m;
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(m.ricevi("at+csq\r"), QByteArray("at+csq\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n"));
        // A command in pieces, LF dropped, empty lines ignored altogether.
        QCOMPARE(m.ricevi("A"), QByteArray());
        QCOMPARE(m.ricevi("T\r\n"), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(m.ricevi("\r\n\r"), QByteArray());
        QCOMPARE(m.ricevi("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
        QCOMPARE(m.ricevi("AT\r"), ok());
        QCOMPARE(m.ricevi("ATE1\r"), ok());
        QCOMPARE(m.ricevi("AT\rAT\r"), QByteArray("AT\r\r\nOK\r\nAT\r\r\nOK\r\n"));
        senzaEco(m);
        QCOMPARE(m.ricevi("ATZ\r"), ok());
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    }

    void rispostaDiOgniComando_data() {
        QTest::addColumn<QByteArray>("riga");
        QTest::addColumn<QByteArray>("risposta");
        QTest::newRow("AT") << QByteArray("AT") << ok();
        QTest::newRow("revisione") << QByteArray("AT+CGMR") << info("+CGMR: SIMGSM 1.0.2");
        QTest::newRow("modo testo") << QByteArray("AT+CMGF=1") << ok();
        QTest::newRow("modo sbagliato") << QByteArray("AT+CMGF=2") << esito("ERROR");
        QTest::newRow("modo letto") << QByteArray("at+cmgf?") << info("+CMGF: 1");
        QTest::newRow("errori estesi") << QByteArray("AT+CMEE=2") << ok();
        QTest::newRow("errori oltre 2") << QByteArray("AT+CMEE=3") << esito("ERROR");
        QTest::newRow("rete") << QByteArray("AT+CREG?") << info("+CREG: 0,1");
        QTest::newRow("segnale") << QByteArray("AT+CSQ") << info("+CSQ: 20,99");
        QTest::newRow("sim pronta") << QByteArray("AT+CLCK?") << info("+CLCK: (\"SC\",0)");
        QTest::newRow("blocco interrogato") << QByteArray("AT+CLCK=\"sc\",2") << info("+CLCK: 0");
        QTest::newRow("pin letto") << QByteArray("AT+CPIN?") << info("+CPIN: READY");
        QTest::newRow("pin quando pronta") << QByteArray("AT+CPIN=1234") << ok();
        QTest::newRow("rubrica") << QByteArray("AT+CPBR=1") << ok();
        QTest::newRow("chiamata servizio") << QByteArray("ATD*121#;") << ok();
        QTest::newRow("chiamata dati") << QByteArray("ATD*121#") << esito("ERROR");
        QTest::newRow("riaggancia") << QByteArray("ATH") << ok();
        QTest::newRow("ussd abilitato") << QByteArray("AT+CUSD=1") << ok();
        QTest::newRow("sconosciuto") << QByteArray("AT+XYZ") << esito("ERROR");
        QTest::newRow("prova sconosciuto") << QByteArray("AT+XYZ=?") << esito("ERROR");
        QTest::newRow("base sconosciuto") << QByteArray("ATX") << esito("ERROR");
        QTest::newRow("senza AT") << QByteArray("CIAO") << esito("ERROR");
        QTest::newRow("indice non numero") << QByteArray("AT+CMGR=uno") << esito("ERROR");
    }

    void rispostaDiOgniComando() {
        QFETCH(QByteArray, riga);
        QFETCH(QByteArray, risposta);
        ModemSimulato m;
        senzaEco(m);
        QCOMPARE(comando(m, riga), risposta);
    }

    void impostazioniNelleRisposte() {
        ModemSimulato m;
        senzaEco(m);
        m.impostaRevisione("R 9.9");
        m.impostaSegnale(99);
        QCOMPARE(comando(m, "AT+CGMR"), info("+CGMR: R 9.9"));
        QCOMPARE(comando(m, "AT+CSQ"), info("+CSQ: 99,99"));
        m.impostaStatoRete(ModemSimulato::StatoRete::Roaming);
        QCOMPARE(comando(m, "AT+CREG?"), info("+CREG: 0,5"));
        m.impostaStatoRete(ModemSimulato::StatoRete::Ricerca);
        QCOMPARE(comando(m, "AT+CREG?"), info("+CREG: 0,2"));
        m.impostaStatoRete(ModemSimulato::StatoRete::Casa);
        // Without a ready SIM there is no registration, whatever the network.
        m.impostaPinAttivo(true);
        QCOMPARE(comando(m, "AT+CREG?"), info("+CREG: 0,0"));
        m.impostaSimPresente(false);
        QCOMPARE(comando(m, "AT+CREG?"), info("+CREG: 0,0"));
    }

    void erroriSecondoCmee() {
        ModemSimulato m;
        senzaEco(m);
        m.impostaSimPresente(false);
        QCOMPARE(comando(m, "AT+CLCK?"), esito("ERROR"));
        QCOMPARE(comando(m, "AT+CMEE=1"), ok());
        QCOMPARE(comando(m, "AT+CLCK?"), esito("+CME ERROR: 10"));
        QCOMPARE(comando(m, "AT+CMEE=2"), ok());
        QCOMPARE(comando(m, "AT+CLCK?"), esito("+CME ERROR: SIM not inserted"));
        QCOMPARE(comando(m, "AT+CPIN?"), esito("+CME ERROR: SIM not inserted"));
        QCOMPARE(comando(m, "AT+CLCK=\"SC\",1,\"1234\""), esito("+CME ERROR: SIM not inserted"));
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\""), esito("+CME ERROR: SIM not inserted"));
        // SMS commands keep their own codes whatever CMEE says.
        QCOMPARE(comando(m, "AT+CMEE=0"), ok());
        QCOMPARE(comando(m, "AT+CMGR=1"), esito("+CMS ERROR: 310"));
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), esito("+CMS ERROR: 310"));
        // Putting a locked SIM back in asks for its PIN.
        m.impostaPinAttivo(true);
        m.impostaSimPresente(true);
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PIN"));
    }

    void treVolteIlPinSbagliatoPoiIlPuk() {
        ModemSimulato m;
        senzaEco(m);
        comando(m, "AT+CMEE=2");
        m.impostaPinAttivo(true);
        QCOMPARE(comando(m, "AT+CLCK?"), esito("+CME ERROR: SIM PIN required"));
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PIN"));
        QCOMPARE(comando(m, "AT+CMGR=1"), esito("+CMS ERROR: 311"));
        QCOMPARE(comando(m, "AT+CPIN=?"), ok()); // a query, not an attempt
        QCOMPARE(comando(m, "AT+CPIN=0000"), esito("+CME ERROR: incorrect password"));
        QCOMPARE(comando(m, "AT+CPIN=\"0000\""), esito("+CME ERROR: incorrect password"));
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PIN"));
        QCOMPARE(comando(m, "AT+CPIN=0000"), esito("+CME ERROR: incorrect password"));

        QCOMPARE(comando(m, "AT+CLCK?"), esito("+CME ERROR: SIM PUK required"));
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PUK"));
        QCOMPARE(comando(m, "AT+CMGR=1"), esito("+CMS ERROR: 316"));
        QCOMPARE(comando(m, "AT+CPIN=1234"), esito("+CME ERROR: SIM PUK required"));
        QCOMPARE(comando(m, "AT+CPIN=\"87654321\",\"4321\""),
                 esito("+CME ERROR: incorrect password"));
        QCOMPARE(m.tentativiPukRimasti(), 9);
        QCOMPARE(comando(m, "AT+CPIN=12345678,4321"), ok());
        QCOMPARE(m.statoSim(), ModemSimulato::StatoSim::Pronta);
        QCOMPARE(m.tentativiPinRimasti(), 3);
        QCOMPARE(m.tentativiPukRimasti(), 10);

        const QByteArray pronta = comando(m, "AT+CLCK?");
        QCOMPARE(pronta, info("+CLCK: (\"SC\",1)"));
        for (const char* parola : {"PIN", "PUK", "inserted"})
            QVERIFY(!pronta.contains(parola));

        // From now on the new PIN is the one.
        m.riavvia();
        senzaEco(m);
        comando(m, "AT+CMEE=2");
        QCOMPARE(comando(m, "AT+CPIN=1234"), esito("+CME ERROR: incorrect password"));
        QCOMPARE(comando(m, "AT+CPIN=4321"), ok());
        QCOMPARE(m.tentativiPinRimasti(), 3);
    }

    void dieciPukSbagliatiBloccanoLaSim() {
        ModemSimulato m;
        senzaEco(m);
        comando(m, "AT+CMEE=2");
        m.impostaPinAttivo(true);
        for (int i = 0; i < 3; ++i)
            comando(m, "AT+CPIN=9999");
        for (int i = 0; i < 9; ++i)
            QCOMPARE(comando(m, "AT+CPIN=11111111,1111"), esito("+CME ERROR: incorrect password"));
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PUK"));
        comando(m, "AT+CPIN=11111111,1111");
        QCOMPARE(m.statoSim(), ModemSimulato::StatoSim::Guasta);
        const QByteArray guasta = esito("+CME ERROR: SIM failure");
        QCOMPARE(comando(m, "AT+CPIN?"), guasta);
        QCOMPARE(comando(m, "AT+CLCK?"), guasta);
        QCOMPARE(comando(m, "AT+CPIN=12345678,1111"), guasta);
        QCOMPARE(comando(m, "AT+CMGR=1"), esito("+CMS ERROR: 313"));
        m.riavvia();
        QCOMPARE(m.statoSim(), ModemSimulato::StatoSim::Guasta);
    }

    void bloccoPinDalProgramma() {
        ModemSimulato m;
        senzaEco(m);
        comando(m, "AT+CMEE=2");
        QCOMPARE(comando(m, "AT+CLCK=\"SC\",1,\"9999\""), esito("+CME ERROR: incorrect password"));
        QCOMPARE(m.tentativiPinRimasti(), 2);
        QCOMPARE(comando(m, "AT+CLCK=\"SC\",1,\"1234\""), ok());
        QCOMPARE(m.tentativiPinRimasti(), 3);
        QCOMPARE(comando(m, "AT+CLCK=\"SC\",2"), info("+CLCK: 1"));
        // Switching the lock on does not ask for the PIN until the next power on.
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: READY"));
        m.riavvia();
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PIN"));
        QCOMPARE(comando(m, "AT+CPIN=1234"), ok());
        QCOMPARE(comando(m, "AT+CLCK=SC,0,1234"), ok());
        m.riavvia();
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: READY"));
        QCOMPARE(comando(m, "AT+CMEE=2"), ok());
        QCOMPARE(comando(m, "AT+CLCK=\"AO\",2"), esito("+CME ERROR: operation not allowed"));
        QCOMPARE(comando(m, "AT+CLCK=\"SC\",1"), esito("ERROR"));
    }

    void letturaSms_data() {
        QTest::addColumn<QByteArray>("mittente");
        QTest::addColumn<QByteArray>("alfa");
        QTest::addColumn<bool>("alfaOmessa");
        QTest::addColumn<QByteArray>("timestamp");
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<QByteArray>("intestazione");
        const QByteArray ts = "24/05/01,10:00:00+08";
        QTest::newRow("normale") << QByteArray("+393331234567") << QByteArray() << false << ts
                                 << QByteArray("Ciao")
                                 << QByteArray("\"+393331234567\",\"\",\"24/05/01,10:00:00+08\"");
        QTest::newRow("con nome") << QByteArray("+39333") << QByteArray("Mario Rossi") << false
                                  << ts << QByteArray("Ciao")
                                  << QByteArray("\"+39333\",\"Mario Rossi\",\"" + ts + "\"");
        QTest::newRow("alfa omessa")
            << QByteArray("+39333") << QByteArray() << true << ts << QByteArray("Ciao")
            << QByteArray("\"+39333\",,\"" + ts + "\"");
        QTest::newRow("virgolette")
            << QByteArray("+39333") << QByteArray() << false << ts
            << QByteArray("Dice \"ciao\", poi va") << QByteArray("\"+39333\",\"\",\"" + ts + "\"");
        QTest::newRow("piu righe e OK") << QByteArray("+39333") << QByteArray() << false << ts
                                        << QByteArray("riga uno\r\nOK\r\nriga tre")
                                        << QByteArray("\"+39333\",\"\",\"" + ts + "\"");
        QTest::newRow("data strana")
            << QByteArray("3331234567") << QByteArray() << false
            << QByteArray("2024/05/01,10:00:00+4") << QByteArray("\xE8 \x80")
            << QByteArray("\"3331234567\",\"\",\"2024/05/01,10:00:00+4\"");
    }

    void letturaSms() {
        QFETCH(QByteArray, mittente);
        QFETCH(QByteArray, alfa);
        QFETCH(bool, alfaOmessa);
        QFETCH(QByteArray, timestamp);
        QFETCH(QByteArray, testo);
        QFETCH(QByteArray, intestazione);
        ModemSimulato m;
        senzaEco(m);
        // Bytes above ASCII cross the line as stored once the set is 8859-1.
        QCOMPARE(comando(m, "AT+CSCS=\"8859-1\""), QByteArray("\r\nOK\r\n"));
        const auto a = alfaOmessa ? std::nullopt : std::optional<QByteArray>(alfa);
        QCOMPARE(m.aggiungiSms(mittente, testo, timestamp, a), 1);
        const QByteArray coda = "\r\n" + testo + "\r\n\r\nOK\r\n";
        QCOMPARE(comando(m, "AT+CMGR=1"), "\r\n+CMGR: \"REC UNREAD\"," + intestazione + coda);
        QCOMPARE(m.sms(1)->stato, SmsSim::Stato::Letto);
        QCOMPARE(comando(m, "AT+CMGR=1"), "\r\n+CMGR: \"REC READ\"," + intestazione + coda);
    }

    void letturaFuoriIntervalloVuotaOInPdu() {
        ModemSimulato m;
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CMGR=0"), esito("+CMS ERROR: 321"));
        QCOMPARE(comando(m, "AT+CMGR=31"), esito("+CMS ERROR: 321"));
        QCOMPARE(comando(m, "AT+CMGR=30"), ok());
        m.impostaVuotoComeErrore(true);
        QCOMPARE(comando(m, "AT+CMGR=30"), esito("+CMS ERROR: 321"));
        m.impostaCapacita(10);
        QCOMPARE(comando(m, "AT+CMGR=11"), esito("+CMS ERROR: 321"));
        m.aggiungiSms("+39333", "x", "24/05/01,10:00:00+08");
        QCOMPARE(comando(m, "AT+CMGF=0"), ok());
        QCOMPARE(comando(m, "AT+CMGR=1"), esito("+CMS ERROR: 302"));
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), esito("+CMS ERROR: 302"));
        QCOMPARE(m.sms(1)->stato, SmsSim::Stato::NonLetto);
    }

    void listaSms() {
        ModemSimulato m;
        senzaEco(m);
        m.aggiungiSms("+391", "uno", "24/05/01,10:00:00+08");
        m.impostaSms(3, SmsSim{SmsSim::Stato::Letto, "+393", std::nullopt, "t3", "tre"});
        QCOMPARE(comando(m, "AT+CMGL=\"ALL\""),
                 QByteArray("\r\n+CMGL: 1,\"REC UNREAD\",\"+391\",\"\",\"24/05/01,10:00:00+08\"\r\n"
                            "uno\r\n+CMGL: 3,\"REC READ\",\"+393\",,\"t3\"\r\ntre\r\n\r\nOK\r\n"));
        QCOMPARE(comando(m, "AT+CMGL=\"REC UNREAD\""), ok());
    }

    void cancellazione() {
        ModemSimulato m;
        senzaEco(m);
        for (const char* t : {"a", "b", "c"})
            m.aggiungiSms("+39333", t);
        QCOMPARE(comando(m, "AT+CMGD=2"), ok());
        QCOMPARE(m.slotOccupati(), QList<int>({1, 3}));
        QCOMPARE(comando(m, "AT+CMGD=2"), ok());
        QCOMPARE(comando(m, "AT+CMGD=0"), esito("+CMS ERROR: 321"));
        QCOMPARE(comando(m, "AT+CMGD=31"), esito("+CMS ERROR: 321"));
        QCOMPARE(m.aggiungiSms("+39333", "d"), 2);
        QCOMPARE(comando(m, "AT+CMGD=1,0"), ok());
        QCOMPARE(m.slotOccupati(), QList<int>({2, 3}));
        comando(m, "AT+CMGR=3");
        QCOMPARE(comando(m, "AT+CMGD=1,1"), ok()); // read ones only
        QCOMPARE(m.slotOccupati(), QList<int>({2}));
        QCOMPARE(comando(m, "AT+CMGD=1,4"), ok());
        QVERIFY(m.slotOccupati().isEmpty());
    }

    void cpmsContaLePosizioniOccupate() {
        ModemSimulato m;
        senzaEco(m);
        m.impostaCapacita(10);
        const auto memoria = [](int usate) {
            const QByteArray sm = "\"SM\"," + QByteArray::number(usate) + ",10";
            return info("+CPMS: " + sm + ',' + sm + ',' + sm);
        };
        QCOMPARE(comando(m, "AT+CPMS?"), memoria(0));
        for (const char* t : {"a", "b", "c"})
            m.aggiungiSms("+39333", t);
        // Gaps between occupied slots change the count, not the capacity.
        m.impostaSms(9, SmsSim{SmsSim::Stato::NonLetto, "+39444", {}, "t", "in fondo"});
        QCOMPARE(comando(m, "at+cpms?"), memoria(4));
        comando(m, "AT+CMGD=2");
        QCOMPARE(comando(m, "AT+CPMS?"), memoria(3));
        // Reading leaves the message in its slot.
        comando(m, "AT+CMGR=9");
        QCOMPARE(comando(m, "AT+CPMS?"), memoria(3));
        comando(m, "AT+CMGD=1,4");
        QCOMPARE(comando(m, "AT+CPMS?"), memoria(0));
        QCOMPARE(comando(m, "AT+CPMS=?"), ok());
        QCOMPARE(comando(m, "AT+CPMS"), esito("ERROR"));

        // The unsolicited line lands between the storage line and the final OK.
        m.aggiungiSms("+39333", "d");
        m.impostaGuasto(ModemSimulato::Guasto::Intruso, 1);
        const QByteArray sm = "\"SM\",1,10";
        QCOMPARE(comando(m, "AT+CPMS?"),
                 esito("+CPMS: " + sm + ',' + sm + ',' + sm) + esito("RING") + ok());

        // The SIM must be ready, as for the other message commands.
        m.impostaPinAttivo(true);
        QCOMPARE(comando(m, "AT+CPMS?"), esito("+CMS ERROR: 311"));
    }

    void cpmsRifiutatoDaUnModemVecchio() {
        ModemSimulato m;
        senzaEco(m);
        m.impostaSenzaCpms(true);
        m.aggiungiSms("+39333", "x");
        comando(m, "AT+CMEE=2");
        // Not a +CMS error: the command does not exist on this modem.
        QCOMPARE(comando(m, "AT+CPMS?"), esito("ERROR"));
        QCOMPARE(comando(m, "AT+CPMS=?"), esito("ERROR"));
        QCOMPARE(comando(m, "AT+CMGR=1").right(6), ok());
        m.impostaSenzaCpms(false);
        QCOMPARE(comando(m, "AT+CPMS?"), info("+CPMS: \"SM\",1,30,\"SM\",1,30,\"SM\",1,30"));
    }

    void simPienaEPostiEsatti() {
        ModemSimulato m;
        m.impostaCapacita(3);
        QCOMPARE(m.aggiungiSms("+1", "a"), 1);
        QCOMPARE(m.aggiungiSms("+1", "b"), 2);
        QCOMPARE(m.aggiungiSms("+1", "c"), 3);
        QCOMPARE(m.aggiungiSms("+1", "d"), 0);
        QVERIFY(!m.impostaSms(4, SmsSim{}));
        QVERIFY(m.impostaSms(2, SmsSim{SmsSim::Stato::NonLetto, "+2", {}, "t", "nuovo"}));
        QCOMPARE(m.sms(2)->testo, QByteArray("nuovo"));
        static const QRegularExpression adesso(
            QStringLiteral("^\\d\\d/\\d\\d/\\d\\d,\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d$"));
        QVERIFY2(adesso.match(QString::fromLatin1(m.sms(1)->timestamp)).hasMatch(),
                 m.sms(1)->timestamp.constData());
        m.impostaCapacita(1);
        QCOMPARE(m.slotOccupati(), QList<int>({1}));
    }

    void invioSms() {
        ModemSimulato m;
        QList<RichiestaInviata> avvisate;
        m.impostaAvvisoRichiesta([&](const RichiestaInviata& r) { avvisate << r; });
        QCOMPARE(m.ricevi("AT+CMGS=\"+39333\"\r"), QByteArray("AT+CMGS=\"+39333\"\r\r\n> "));
        // A CR inside the text is text, echoed like the rest.
        QCOMPARE(m.ricevi("Ciao\rA"), QByteArray("Ciao\rA"));
        QCOMPARE(m.ricevi("\x1A"), info("+CMGS: 1"));
        QCOMPARE(avvisate.size(), 1);
        QCOMPARE(avvisate[0].tipo, RichiestaInviata::Tipo::Sms);
        QCOMPARE(avvisate[0].destinatario, QByteArray("+39333"));
        QCOMPARE(avvisate[0].testo, QByteArray("Ciao\rA"));
        QCOMPARE(avvisate[0].riferimento, 1);

        m.ricevi("AT+CMGS=\"+39444\"\rnon mandare");
        QCOMPARE(m.ricevi("\x1B"), ok());
        QCOMPARE(m.richiesteInviate().size(), 1);
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));

        senzaEco(m);
        QCOMPARE(m.ricevi("AT+CMGS=+39555\r"), QByteArray("\r\n> "));
        QCOMPARE(m.ricevi("zitto"), QByteArray());
        QCOMPARE(m.ricevi("\x1A"), info("+CMGS: 2"));
        QCOMPARE(m.richiesteInviate().last().destinatario, QByteArray("+39555"));
        // The reference wraps after 255.
        for (int i = 3; i <= 256; ++i)
            m.ricevi("AT+CMGS=\"1\"\rx\x1A");
        QCOMPARE(m.richiesteInviate().last().riferimento, 0);
        QCOMPARE(m.ricevi("AT+CMGS=\"1\"\rx\x1A"), "\r\n> " + info("+CMGS: 1"));
    }

    void invioSmsSenzaReteOTestoTroppoLungo() {
        ModemSimulato m;
        senzaEco(m);
        m.impostaStatoRete(ModemSimulato::StatoRete::Ricerca);
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), esito("+CMS ERROR: 331"));
        m.impostaStatoRete(ModemSimulato::StatoRete::Roaming);
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), QByteArray("\r\n> "));
        // The network goes while the text is typed.
        m.impostaStatoRete(ModemSimulato::StatoRete::Assente);
        QCOMPARE(m.ricevi("testo\x1A"), esito("+CMS ERROR: 331"));
        QVERIFY(m.richiesteInviate().isEmpty());

        m.impostaStatoRete(ModemSimulato::StatoRete::Casa);
        comando(m, "AT+CMGS=\"+39333\"");
        m.ricevi(QByteArray(100000, 'x'));
        QVERIFY(m.byteInAttesa() <= ModemSimulato::kMassimoTestoSms);
        QCOMPARE(m.ricevi("\x1A"), info("+CMGS: 1"));
        QCOMPARE(m.richiesteInviate().last().testo.size(), ModemSimulato::kMassimoTestoSms);
    }

    void ussdEChiamate() {
        ModemSimulato m;
        senzaEco(m);
        const QByteArray credito = ok() + esito("+CUSD: 0,\"Credito residuo: 5,23 Euro\",15");
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\",15"), credito);
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\""), credito);
        m.impostaRispostaUssd("Hai 2 euro");
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\""), ok() + esito("+CUSD: 0,\"Hai 2 euro\",15"));
        QCOMPARE(comando(m, "ATD*121#;"), ok());
        const QList<RichiestaInviata> r = m.richiesteInviate();
        QCOMPARE(r.size(), 4);
        QCOMPARE(r[0].tipo, RichiestaInviata::Tipo::Ussd);
        QCOMPARE(r[0].destinatario, QByteArray("*123#"));
        QCOMPARE(r[3].tipo, RichiestaInviata::Tipo::Chiamata);
        QCOMPARE(r[3].destinatario, QByteArray("*121#"));

        m.impostaStatoRete(ModemSimulato::StatoRete::Assente);
        comando(m, "AT+CMEE=2");
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\""), esito("+CME ERROR: no network service"));
        QCOMPARE(comando(m, "ATD*121#;"), esito("NO CARRIER"));
        QCOMPARE(m.richiesteInviate().size(), 4);
    }

    void registroDeiComandi() {
        ModemSimulato m;
        m.impostaGuasto(ModemSimulato::Guasto::Muto, 1);
        m.ricevi("AT\r\r\nATE0\rat+cmgr=1\r");
        QCOMPARE(m.comandiRicevuti(), QList<QByteArray>({"AT", "ATE0", "at+cmgr=1"}));
    }

    void guastoMuto() {
        ModemSimulato m;
        m.aggiungiSms("+39333", "x");
        m.impostaGuasto(ModemSimulato::Guasto::Muto, 3);
        QCOMPARE(m.ricevi("AT\r"), QByteArray());
        // Not heard means not done: echo stays on, the message stays unread.
        QCOMPARE(m.ricevi("ATE0\r"), QByteArray());
        QCOMPARE(m.ricevi("AT+CMGR=1\r"), QByteArray());
        QCOMPARE(m.sms(1)->stato, SmsSim::Stato::NonLetto);
        QCOMPARE(m.guasto(), ModemSimulato::Guasto::Nessuno);
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));

        // On the Ctrl-Z of a text the message leaves and only the answer is lost.
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), QByteArray("\r\n> "));
        m.impostaGuasto(ModemSimulato::Guasto::Muto, 1);
        QCOMPARE(m.ricevi("ciao\x1A"), QByteArray());
        QCOMPARE(m.richiesteInviate().size(), 1);
        QCOMPARE(comando(m, "AT"), ok());
    }

    // Deletes with faults of their own: refused, unheard, then done; the message stays until
    // a delete goes through, and other commands are not touched.
    void cancellazioniGuaste() {
        ModemSimulato m;
        m.aggiungiSms("+39333", "x");
        senzaEco(m);
        m.impostaGuastiCancellazione({ModemSimulato::Guasto::Errore, ModemSimulato::Guasto::Muto});
        QCOMPARE(comando(m, "AT+CMGD=1"), QByteArray("\r\n+CMS ERROR: 500\r\n"));
        QCOMPARE(comando(m, "AT"), ok());
        QCOMPARE(comando(m, "AT+CMGD=1"), QByteArray());
        QCOMPARE(m.slotOccupati(), QList<int>{1});
        QCOMPARE(comando(m, "AT+CMGD=1"), ok());
        QVERIFY(m.slotOccupati().isEmpty());
    }

    void guastoErrore() {
        ModemSimulato m;
        senzaEco(m);
        m.aggiungiSms("+39333", "x");
        m.impostaGuasto(ModemSimulato::Guasto::Errore);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(comando(m, "AT+CSQ"), esito("ERROR"));
        QCOMPARE(comando(m, "AT+CMGD=1"), esito("ERROR"));
        QCOMPARE(m.slotOccupati(), QList<int>({1}));
        m.impostaGuasto(ModemSimulato::Guasto::Nessuno);
        QCOMPARE(comando(m, "AT"), ok());
    }

    void guastoSpezzato() {
        ModemSimulato m;
        m.impostaGuasto(ModemSimulato::Guasto::Spezzato);
        const QByteArray intera = "\r\n+CSQ: 20,99\r\n\r\nOK\r\n";
        const QByteArray prima = m.ricevi("AT+CSQ\r");
        QCOMPARE(prima, "AT+CSQ\r" + intera.left(intera.size() / 2));
        QVERIFY(m.haRimandato());
        QCOMPARE(m.rimandato(), intera.mid(intera.size() / 2));
        QCOMPARE(m.rimandato(), QByteArray());
        // A new command before the rest was collected: the rest still comes first.
        const QByteArray a = m.ricevi("AT\r");
        const QByteArray b = m.ricevi("AT\r");
        QCOMPARE(a + b + m.rimandato(), QByteArray("AT\r\r\nOK\r\nAT\r\r\nOK\r\n"));
        QCOMPARE(b.left(3), QByteArray("K\r\n"));
    }

    void guastoIntrusoERumore() {
        ModemSimulato m;
        senzaEco(m);
        m.aggiungiSms("+39333", "x");
        m.aggiungiSms("+39333", "y");
        m.impostaGuasto(ModemSimulato::Guasto::Intruso, 3);
        QCOMPARE(comando(m, "AT+CSQ"), "\r\n+CSQ: 20,99\r\n" + esito("RING") + ok());
        QCOMPARE(comando(m, "AT"), esito("+CMTI: \"SM\",2") + ok());
        QCOMPARE(comando(m, "AT+CUSD=1,\"*123#\""),
                 esito("RING") + ok() + esito("+CUSD: 0,\"Credito residuo: 5,23 Euro\",15"));
        QCOMPARE(comando(m, "AT"), ok());

        m.impostaGuasto(ModemSimulato::Guasto::Rumore, 1);
        const QByteArray disturbato = comando(m, "AT");
        QVERIFY(disturbato.endsWith(ok()));
        const QByteArray rumore = disturbato.chopped(ok().size());
        QVERIFY(!rumore.isEmpty());
        QVERIFY(std::any_of(rumore.begin(), rumore.end(),
                            [](char c) { return static_cast<unsigned char>(c) > 127; }));
        QCOMPARE(comando(m, "AT"), ok());

        // Unsolicited lines on both sides of the answer.
        m.impostaGuasto(ModemSimulato::Guasto::IntrusoFuori, 1);
        QCOMPARE(comando(m, "AT+CSQ"), esito("+CMTI: \"SM\",2") + esito("RING") +
                                           "\r\n+CSQ: 20,99\r\n" + ok() + esito("+CMTI: \"SM\",2"));
        QCOMPARE(comando(m, "AT"), ok());
    }

    void spentoNonSenteNullaERiaccesoChiedeIlPin() {
        ModemSimulato m;
        m.impostaPinAttivo(true);
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CPIN=1234"), ok());
        QCOMPARE(comando(m, "AT+CMEE=2"), ok());
        m.aggiungiSms("+39333", "x");
        // Half a split answer still to come, and half a command typed.
        m.impostaGuasto(ModemSimulato::Guasto::Spezzato, 1);
        comando(m, "AT+CSQ");
        QVERIFY(m.haRimandato());
        QCOMPARE(m.ricevi("AT+CMG"), QByteArray());

        const qsizetype uditi = m.comandiRicevuti().size();
        m.impostaGuasto(ModemSimulato::Guasto::Spento);
        QVERIFY(!m.haRimandato());
        QCOMPARE(m.ricevi("D=1\r"), QByteArray());
        QCOMPARE(m.ricevi("AT\rATE1\rAT+CMGD=1,4\r"), QByteArray());
        QCOMPARE(m.ricevi(QByteArray(100000, 'A')), QByteArray());
        QCOMPARE(m.ricevi("\r"), QByteArray());
        QCOMPARE(m.comandiRicevuti().size(), uditi);
        QCOMPARE(m.slotOccupati(), QList<int>({1}));
        QCOMPARE(m.guasto(), ModemSimulato::Guasto::Spento);

        // Back on as after a power cycle: echo on, terse errors, the PIN asked again, the
        // message still on the SIM, nothing left of what was typed before.
        m.impostaGuasto(ModemSimulato::Guasto::Nessuno);
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(m.statoSim(), ModemSimulato::StatoSim::AttesaPin);
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CLCK?"), esito("ERROR"));
        QCOMPARE(comando(m, "AT+CPIN?"), info("+CPIN: SIM PIN"));
        QCOMPARE(comando(m, "AT+CPIN=1234"), ok());
        QCOMPARE(m.slotOccupati(), QList<int>({1}));
        QCOMPARE(m.tentativiPinRimasti(), 3);
    }

    void spentoDuranteUnTestoEConAltriGuasti() {
        ModemSimulato m;
        senzaEco(m);
        QCOMPARE(comando(m, "AT+CMGS=\"+39333\""), QByteArray("\r\n> "));
        m.ricevi("mezzo");
        // A count means nothing to a modem without power.
        m.impostaGuasto(ModemSimulato::Guasto::Spento, 1);
        QCOMPARE(m.ricevi("testo\x1A"), QByteArray());
        QCOMPARE(m.ricevi("AT\r"), QByteArray());
        QCOMPARE(m.guasto(), ModemSimulato::Guasto::Spento);
        QVERIFY(m.richiesteInviate().isEmpty());

        // Another fault powers it on too, and then plays as usual; the text was lost.
        m.impostaGuasto(ModemSimulato::Guasto::Errore, 1);
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nERROR\r\n"));
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
        QVERIFY(m.richiesteInviate().isEmpty());
        // Without the lock the SIM is ready at once.
        QCOMPARE(m.statoSim(), ModemSimulato::StatoSim::Pronta);
    }

    void ecoCheNonSiSpegne() {
        ModemSimulato m;
        m.impostaEcoFisso(true);
        QCOMPARE(m.ricevi("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    }

    void ingressoMalformatoLimitato() {
        ModemSimulato m;
        senzaEco(m);
        QCOMPARE(m.ricevi("\xFF\xFE\x80garbage\r"), esito("ERROR"));
        m.ricevi(QByteArray(100000, 'A'));
        QVERIFY(m.byteInAttesa() <= ModemSimulato::kMassimoRiga);
        QCOMPARE(m.ricevi("\r"), esito("ERROR"));
        QCOMPARE(comando(m, "AT"), ok());

        // Line noise of every byte value, in uneven pieces: the buffers stay bounded and the
        // modem still answers afterwards.
        QRandomGenerator caso(42);
        for (int pezzo = 0; pezzo < 200; ++pezzo) {
            QByteArray rumore(int(caso.bounded(1, 3000)), Qt::Uninitialized);
            for (char& c : rumore)
                c = char(caso.bounded(256));
            m.ricevi(rumore);
            QVERIFY(m.byteInAttesa() <= ModemSimulato::kMassimoRiga);
        }
        m.ricevi("\x1B\r");
        m.riavvia();
        QCOMPARE(m.ricevi("AT\r"), QByteArray("AT\r\r\nOK\r\n"));
        QVERIFY(m.comandiRicevuti().size() <= ModemSimulato::kMassimoRegistro);
    }
};

QTEST_GUILESS_MAIN(TstModemSimulato)
#include "tst_modemsimulato.moc"
