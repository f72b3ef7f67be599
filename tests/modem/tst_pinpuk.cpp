#include "BancoMotore.h"

#include <QTest>

namespace {
const QString kTitolo = QStringLiteral("Abilitazione MODULO GSM");
}

// The SIM check at the end of the start-up, PIN and PUK entry, and the PIN request switched on
// and off, against the scripted modem.
class TstPinPuk : public QObject {
    Q_OBJECT

    // Start-up until the SIM check has been answered.
    static void finoAlControlloSim(BancoMotore& b) {
        b.accendi();
        QVERIFY(b.tickFinche([&] {
            return b.porta.righeScritte.contains(QStringLiteral("AT+CLCK?")) &&
                   b.s().TickAttesa == 0;
        }) >= 0);
        b.nuoveRighe();
    }

    // Types into the PIN box and presses "OK"; the reply is framed over the next ticks.
    static void inserisci(BancoMotore& b, const QString& codice) {
        b.p().codicePin = codice;
        b.motore->pin.Ok();
        b.tick(3);
    }

private slots:
    void pinSbagliatoPoiGiusto() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        b.modem.risposte[QStringLiteral("AT+CPIN=0000")] =
            ModemCopione::Errore("incorrect password");
        b.modem.risposte[QStringLiteral("AT+CPIN=1234")] = ModemCopione::Ok();
        finoAlControlloSim(b);
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral(" Prego, inserire il Codice PIN ")});
        QCOMPARE(b.dialogo.mostrati[0].titolo, kTitolo);
        QCOMPARE(b.dialogo.mostrati[0].stile, 64);
        QVERIFY(b.p().riquadroPin);
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("1° Inserimento PIN"));
        // The PIN button with the frame open and the box empty asks for the code.
        b.motore->pin.Pulsante();
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Inserire il CODICE PIN"));
        QCOMPARE(b.dialogo.mostrati.last().titolo, QStringLiteral("Obligatorio Inserimento PIN"));
        // No poll while the SIM is not usable.
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());

        inserisci(b, QStringLiteral("0000"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CPIN=0000")});
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Errore! Codice PIN non valido."));
        QCOMPARE(b.dialogo.mostrati.last().stile, 48);
        QCOMPARE(b.p().TestoStatoPin(), QStringLiteral("2° Inserimento PIN"));
        QVERIFY(b.p().codicePin.isEmpty());
        QVERIFY(b.motore->Inattivo());

        inserisci(b, QStringLiteral("1234"));
        // The first poll goes out in the same tick.
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CPIN=1234", "AT+CREG?"}));
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Codice Pin valido. Gsm Abilitato"));
        QVERIFY(b.abilitato());
        QVERIFY(!b.p().riquadroPin);
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Disabilita Pin"));
        QVERIFY(b.p().gestionePin);
    }

    void senzaSimIlModemSiSpegne() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM not inserted");
        finoAlControlloSim(b);
        QCOMPARE(b.dialogo.mostrati.size(), 1);
        QCOMPARE(b.dialogo.mostrati[0].titolo, QStringLiteral("SIM non inserita"));
        QCOMPARE(b.dialogo.mostrati[0].stile, 16);
        QCOMPARE(b.dialogo.testi()[0],
                 QStringLiteral("ATTENZIONE !!! SIM NON Inserita.\nChiudere il Programma ed "
                                "eseguire al procedura Inserimento SIM.\n\nMODULO GSM "
                                "Disabilitato modalita OFF-Line."));
        QVERIFY(b.porta.DTREnable());
        b.tick(21);
        QVERIFY(!b.porta.PortOpen());
        QVERIFY(!b.porta.DTREnable());
        QCOMPARE(b.p().porta.testo, QStringLiteral("GSM Spento"));
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    void oKACasellaVuotaContaFinoATrePoiFuoriLinea() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        finoAlControlloSim(b);
        for (int i = 1; i <= 3; ++i) {
            b.motore->pin.Ok();
            QCOMPARE(b.s().TentativiPin, i);
            QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Inserire il CODICE PIN"));
        }
        b.motore->pin.Ok();
        QCOMPARE(b.s().TentativiPin, 3);
        QCOMPARE(b.dialogo.testi().last(),
                 QStringLiteral("Attivazione Modulo GSM Annullata. Modalità OFF-Line"));
        QVERIFY(!b.p().gestionePin);
        // The program goes on without the modem: no poll.
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    void laRichiestaDelPinSiAttivaESiDisattiva() {
        BancoMotore b;
        b.modem.risposte[QStringLiteral("AT+CLCK=\"SC\",1,\"1234\"")] = ModemCopione::Ok();
        b.modem.risposte[QStringLiteral("AT+CLCK=\"SC\",0,\"1234\"")] = ModemCopione::Ok();
        b.avviaFinoAdAbilitato();
        b.tick(30);
        b.nuoveRighe();
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Abilita Pin"));

        b.motore->pin.Pulsante();
        QVERIFY(b.p().riquadroPin);
        QVERIFY(!b.p().gestionePin);
        QCOMPARE(b.s().TentativiPin, 0);
        inserisci(b, QStringLiteral("1234"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",1,\"1234\"")});
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Codice Pin Abilitato"));
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Disabilita Pin"));
        QVERIFY(b.p().gestionePin);
        QVERIFY(!b.p().riquadroPin);
        QVERIFY(b.motore->Inattivo());

        b.motore->pin.Pulsante();
        inserisci(b, QStringLiteral("1234"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",0,\"1234\"")});
        QCOMPARE(b.dialogo.testi().last(), QStringLiteral("Codice Pin Disabilitato"));
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Abilita Pin"));
    }

    void unCambioRifiutatoLasciaTuttoComEra() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        b.tick(30);
        b.nuoveRighe();
        const qsizetype messaggi = b.dialogo.mostrati.size();
        b.motore->pin.Pulsante();
        inserisci(b, QStringLiteral("9999"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",1,\"9999\"")});
        QCOMPARE(b.dialogo.mostrati.size(), messaggi);
        QCOMPARE(b.p().TestoPulsantePin(), QStringLiteral("Abilita Pin"));
        QVERIFY(b.p().riquadroPin);
        QVERIFY(b.motore->Inattivo());
        // ESC gives up the change.
        b.p().codicePin = QStringLiteral("12");
        b.motore->pin.Esc();
        QVERIFY(!b.p().riquadroPin);
        QVERIFY(b.p().codicePin.isEmpty());
        QVERIFY(b.p().gestionePin);
    }
};

QTEST_GUILESS_MAIN(TstPinPuk)
#include "tst_pinpuk.moc"
