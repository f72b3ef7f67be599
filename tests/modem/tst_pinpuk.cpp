#include "BancoModem.h"

#include <QTest>

namespace {
const QString kTitolo = QStringLiteral("Abilitazione MODULO GSM");
}

// The SIM check at the end of the start-up, PIN and PUK entry, and the PIN request switched on
// and off, against the scripted modem.
class TstPinPuk : public QObject {
    Q_OBJECT

    // Start-up until the SIM check has been answered.
    static void finoAlControlloSim(BancoModem& b) {
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] {
            return b.porta->righeScritte.contains(QStringLiteral("AT+CLCK?")) &&
                   b.form->TickAttesa == 0;
        }) >= 0);
        b.nuoveRighe();
    }

    // Types into the PIN box and presses "OK"; the reply is framed over the next ticks.
    static void inserisci(BancoModem& b, const QString& codice) {
        b.form->TxtPinCode->setText(codice);
        b.form->BtnPinCode->click();
        b.tick(3);
    }

private slots:
    void pinSbagliatoPoiGiusto() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        b.modem.risposte[QStringLiteral("AT+CPIN=0000")] =
            ModemCopione::Errore("incorrect password");
        b.modem.risposte[QStringLiteral("AT+CPIN=1234")] = ModemCopione::Ok();
        finoAlControlloSim(b);
        QCOMPARE(b.copione.testi(), QStringList{QStringLiteral(" Prego, inserire il Codice PIN ")});
        QCOMPARE(b.copione.mostrati()[0].title, kTitolo);
        QCOMPARE(b.copione.mostrati()[0].style, 64);
        QVERIFY(!b.form->FrmPin->isHidden());
        QCOMPARE(b.form->LblPinCode->text(), QStringLiteral("1° Inserimento PIN"));
        // The PIN button with the frame open and the box empty asks for the code.
        b.form->BtnDisabilitaPinCode->click();
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Inserire il CODICE PIN"));
        QCOMPARE(b.copione.mostrati().last().title, QStringLiteral("Obligatorio Inserimento PIN"));
        // No poll while the SIM is not usable.
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());
        QCOMPARE(b.stato->TipoComando, 11);

        inserisci(b, QStringLiteral("0000"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CPIN=0000")});
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Errore! Codice PIN non valido."));
        QCOMPARE(b.copione.mostrati().last().style, 48);
        QCOMPARE(b.form->LblPinCode->text(), QStringLiteral("2° Inserimento PIN"));
        QVERIFY(b.form->TxtPinCode->text().isEmpty());
        QCOMPARE(b.stato->TipoComando, 12);

        inserisci(b, QStringLiteral("1234"));
        // The first poll goes out in the same tick.
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CPIN=1234", "AT+CREG?"}));
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Codice Pin valido. Gsm Abilitato"));
        QVERIFY(b.abilitato());
        QVERIFY(b.form->FrmPin->isHidden());
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Disabilita Pin"));
        QVERIFY(b.form->BtnDisabilitaPinCode->isEnabled());
    }

    void nellaCasellaDelPinSoloCifreEUnaVirgola() {
        BancoModem b;
        b.avviaFinoAllaLista();
        QTest::keyClicks(b.form->TxtPinCode, QStringLiteral("52a7\"19;0\r34,83x16,,"));
        QCOMPARE(b.form->TxtPinCode->text(), QStringLiteral("52719034,8316"));
    }

    void trePinSbagliatiChiedonoIlPuk() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        finoAlControlloSim(b);
        inserisci(b, QStringLiteral("1111"));
        inserisci(b, QStringLiteral("2222"));
        QCOMPARE(b.form->LblPinCode->text(), QStringLiteral("3° Inserimento PIN"));
        inserisci(b, QStringLiteral("3333"));
        QCOMPARE(b.form->TentativiPin, 3);
        QCOMPARE(
            b.copione.testi().last(),
            QStringLiteral("MODULO GSM bloccato.\nPer sbloccare inserire Codice PUK seguito da "
                           "virgola e PIN\nEsempio: 52719034,8316"));
        QCOMPARE(b.form->LblPinCode->text(), QStringLiteral("Inserire PUK "));
    }

    void simBloccataSiSbloccaColPuk() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PUK required");
        b.modem.risposte[QStringLiteral("AT+CPIN=52719034,8316")] = ModemCopione::Ok();
        finoAlControlloSim(b);
        QCOMPARE(b.copione.testi(),
                 QStringList{QStringLiteral(
                     " MODULO GMS bloccato.\nPer Sbloccare il GSM, inserire il Codice Puk ")});
        QCOMPARE(b.form->LblPinCode->text(),
                 QStringLiteral("Inserire PUK seguito da virgola e PIN "));
        QCOMPARE(b.form->TentativiPin, 3);
        QVERIFY(!b.form->FrmPin->isHidden());
        // Sent unquoted, exactly as typed.
        inserisci(b, QStringLiteral("52719034,8316"));
        QCOMPARE(b.nuoveRighe().value(0), QStringLiteral("AT+CPIN=52719034,8316"));
        QVERIFY(b.abilitato());
    }

    void senzaSimIlModemSiSpegne() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM not inserted");
        finoAlControlloSim(b);
        QCOMPARE(b.copione.mostrati().size(), 1);
        QCOMPARE(b.copione.mostrati()[0].title, QStringLiteral("SIM non inserita"));
        QCOMPARE(b.copione.mostrati()[0].style, 16);
        QCOMPARE(b.copione.testi()[0],
                 QStringLiteral("ATTENZIONE !!! SIM NON Inserita.\nChiudere il Programma ed "
                                "eseguire al procedura Inserimento SIM.\n\nMODULO GSM "
                                "Disabilitato modalita OFF-Line."));
        QVERIFY(b.porta->DTREnable());
        QVERIFY(b.form->SpegnimentoRichiesto);
        b.tick(21);
        QVERIFY(!b.porta->PortOpen());
        QVERIFY(!b.porta->DTREnable());
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento"));
        QVERIFY(!b.stato->GsmAbilitato);
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    void oKACasellaVuotaContaFinoATrePoiFuoriLinea() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        finoAlControlloSim(b);
        for (int i = 1; i <= 3; ++i) {
            b.form->BtnPinCode->click();
            QCOMPARE(b.form->TentativiPin, i);
            QCOMPARE(b.copione.testi().last(), QStringLiteral("Inserire il CODICE PIN"));
            QCOMPARE(b.copione.mostrati().last().title,
                     QStringLiteral("Obligatorio Inserimento PIN"));
        }
        b.form->BtnPinCode->click();
        QCOMPARE(b.form->TentativiPin, 3);
        QCOMPARE(b.copione.testi().last(),
                 QStringLiteral("Attivazione Modulo GSM Annullata. Modalità OFF-Line"));
        QVERIFY(!b.form->BtnDisabilitaPinCode->isEnabled());
        QVERIFY(b.nuoveRighe().isEmpty());
        // The program goes on without the modem: no poll.
        b.tick(300);
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    void laRichiestaDelPinSiAttivaESiDisattiva() {
        BancoModem b;
        b.modem.risposte[QStringLiteral("AT+CLCK=\"SC\",1,\"1234\"")] = ModemCopione::Ok();
        b.modem.risposte[QStringLiteral("AT+CLCK=\"SC\",0,\"1234\"")] = ModemCopione::Ok();
        b.avviaFinoAdAbilitato();
        b.tick(30);
        b.nuoveRighe();
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Abilita Pin"));

        b.form->BtnDisabilitaPinCode->click();
        QVERIFY(!b.form->FrmPin->isHidden());
        QVERIFY(!b.form->BtnDisabilitaPinCode->isEnabled());
        QCOMPARE(b.form->TentativiPin, 0);
        inserisci(b, QStringLiteral("1234"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",1,\"1234\"")});
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Codice Pin Abilitato"));
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Disabilita Pin"));
        QVERIFY(b.form->BtnDisabilitaPinCode->isEnabled());
        QVERIFY(b.form->FrmPin->isHidden());
        QCOMPARE(b.stato->TipoComando, 5);

        b.form->BtnDisabilitaPinCode->click();
        inserisci(b, QStringLiteral("1234"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",0,\"1234\"")});
        QCOMPARE(b.copione.testi().last(), QStringLiteral("Codice Pin Disabilitato"));
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Abilita Pin"));
    }

    void unCambioRifiutatoLasciaTuttoComEra() {
        BancoModem b;
        b.avviaFinoAdAbilitato();
        b.tick(30);
        b.nuoveRighe();
        const qsizetype messaggi = b.copione.mostrati().size();
        b.form->BtnDisabilitaPinCode->click();
        inserisci(b, QStringLiteral("9999"));
        QCOMPARE(b.nuoveRighe(), QStringList{QStringLiteral("AT+CLCK=\"SC\",1,\"9999\"")});
        QCOMPARE(b.copione.mostrati().size(), messaggi);
        QCOMPARE(b.form->BtnDisabilitaPinCode->text(), QStringLiteral("Abilita Pin"));
        QVERIFY(!b.form->FrmPin->isHidden());
        QCOMPARE(b.stato->TipoComando, 5);
        // ESC gives up the change.
        b.form->TxtPinCode->setText(QStringLiteral("12"));
        b.form->BtnPinEsc->click();
        QVERIFY(b.form->FrmPin->isHidden());
        QVERIFY(b.form->TxtPinCode->text().isEmpty());
        QVERIFY(b.form->BtnDisabilitaPinCode->isEnabled());
    }
};

QTEST_MAIN(TstPinPuk)
#include "tst_pinpuk.moc"
