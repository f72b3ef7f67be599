#include "BancoMotore.h"

#include <QSignalSpy>
#include <QTest>

// One SMS through the engine against the scripted modem, in the cases the simulator cannot play.
class TstInvioSms : public QObject {
    Q_OBJECT
private slots:
    // A bare "OK" after the text is no result: the reference that follows is. The text is the
    // one of the moment the prompt comes, without the characters that would end it early; no
    // poll goes out meanwhile, and afterwards polling resumes with the registration.
    void okNudoAttendeIlRiferimento() {
        BancoMotore b;
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.s().TickAttesa == 0 && b.s().TickPolling == 1; }) >= 0);
        b.modem.risposte[QStringLiteral("AT+CMGS=\"333\"")] = QStringLiteral("\r\n> ");
        b.modem.risposte[QStringLiteral("AT+CMGS=\"444\"")] =
            QStringLiteral("\r\n+CMS ERROR: 331\r\n");
        b.modem.risposte[QStringLiteral("Pizza a 5 euro")] = ModemCopione::Ok();
        QString testo = QStringLiteral("Prima");
        b.motore->invio.TestoDaInviare = [&] { return testo; };
        QSignalSpy terminati(b.motore.get(), &MotoreGsm::InvioTerminato);

        // Refused at the address line: failed, and the text never went.
        b.motore->invio.Invia(QStringLiteral("444"));
        b.tick(3);
        QVERIFY(b.motore->invio.Fallito() && !b.motore->invio.SenzaRisposta());
        // A text emptied meanwhile: ESC drops the SMS at the prompt.
        testo.clear();
        b.motore->invio.Invia(QStringLiteral("333"));
        b.tick(5);
        QVERIFY(b.porta.scritto.endsWith(QStringLiteral("AT+CMGS=\"333\"\r\x1B")));
        QVERIFY(b.motore->invio.Fallito());
        b.nuoveRighe();

        b.motore->invio.Invia(QStringLiteral("333"));
        testo = QStringLiteral("Pizza a 5\x1A euro\x1B");
        b.tick(300);
        QVERIFY(b.porta.scritto.endsWith(QStringLiteral("AT+CMGS=\"333\"\rPizza a 5 euro\x1A")));
        QCOMPARE(b.nuoveRighe(), (QStringList{"AT+CMGS=\"333\"", "Pizza a 5 euro"}));
        QCOMPARE(terminati.size(), 2);
        b.porta.inArrivo += QStringLiteral("\r\n+CMGS: 7\r\n\r\nOK\r\n");
        b.tick(2);
        QCOMPARE(terminati.size(), 3);
        QVERIFY(b.motore->invio.Concluso() && !b.motore->invio.Fallito());
        QVERIFY(b.motore->Inattivo());
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CREG?"; }, 120) >= 0);
    }
};

QTEST_GUILESS_MAIN(TstInvioSms)
#include "tst_inviosms.moc"
