#include "BancoMotore.h"

#include <QSignalSpy>
#include <QTest>

// One SMS through the engine against the scripted modem: the outcome in each of its cases.
class TstInvioSms : public QObject {
    Q_OBJECT

    static void pronto(BancoMotore& b) {
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.s().TickAttesa == 0 && b.s().TickPolling == 1; }) >= 0);
        b.modem.risposte[QStringLiteral("AT+CMGS=\"333\"")] = QStringLiteral("\r\n> ");
        b.nuoveRighe();
    }

private slots:
    // A bare "OK" after the text is no result: the reference that follows is. The text is the
    // one of the moment the prompt comes, without the characters that would end it early.
    void okNudoAttendeIlRiferimento() {
        BancoMotore b;
        pronto(b);
        QString testo = QStringLiteral("Prima");
        b.motore->invio.TestoDaInviare = [&] { return testo; };
        b.modem.risposte[QStringLiteral("Pizza a 5 euro")] = ModemCopione::Ok();
        QSignalSpy terminati(b.motore.get(), &MotoreGsm::InvioTerminato);
        b.motore->invio.Invia(QStringLiteral("333"));
        testo = QStringLiteral("Pizza a 5\x1A euro\x1B");
        b.tick(4);
        QVERIFY(b.porta.scritto.endsWith(QStringLiteral("AT+CMGS=\"333\"\rPizza a 5 euro\x1A")));
        QVERIFY(b.motore->invio.InVolo());
        QCOMPARE(terminati.size(), 0);
        // While the SMS is out no poll goes to the modem.
        b.tick(300);
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CMGS=\"333\"", "Pizza a 5 euro"}));
        b.porta.inArrivo += QStringLiteral("\r\n+CMGS: 7\r\n\r\nOK\r\n");
        b.tick(2);
        QCOMPARE(terminati.size(), 1);
        QVERIFY(b.globale->InvioConcluso && !b.globale->InvioFallito);
        // Polling resumes with the registration, not with the SMS's index.
        QCOMPARE(b.globale->TipoComando, ComandoGsm::Registrazione);
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CREG?"; }, 120) >= 0);
    }

    void fallimenti() {
        BancoMotore b;
        pronto(b);
        b.motore->invio.TestoDaInviare = [] { return QStringLiteral("Ciao"); };
        // Refused at the address line: failed, and the text never went.
        b.modem.risposte[QStringLiteral("AT+CMGS=\"444\"")] =
            QStringLiteral("\r\n+CMS ERROR: 331\r\n");
        b.motore->invio.Invia(QStringLiteral("444"));
        b.tick(3);
        QVERIFY(b.globale->InvioFallito && !b.motore->invio.SenzaRisposta());

        // The text went and nothing came back: failed, the outcome unknown.
        b.modem.risposte[QStringLiteral("Ciao")] = ModemCopione::Ok();
        b.motore->invio.Invia(QStringLiteral("333"));
        QVERIFY(b.tickFinche([&] { return !b.motore->invio.InVolo(); }, 2000) > 1700);
        QVERIFY(b.globale->InvioFallito && b.motore->invio.SenzaRisposta());

        // The port fails the write: the outcome comes at once.
        b.porta.scritturaFallisce = true;
        b.globale->InvioConcluso = false;
        b.motore->invio.Invia(QStringLiteral("333"));
        QVERIFY(b.globale->InvioConcluso && b.globale->InvioFallito);
        QVERIFY(!b.motore->invio.InVolo());
        QVERIFY(b.dialogo.testi().last().contains(QStringLiteral("Errore Seriale")));
    }
};

QTEST_GUILESS_MAIN(TstInvioSms)
#include "tst_inviosms.moc"
