#include "modem/RisposteModem.h"

#include <QRandomGenerator>
#include <QTest>

class TstRisposteModem : public QObject {
    Q_OBJECT
private slots:
    void revisione_data() {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<QString>("revisione");
        QTest::newRow("standard") << QStringLiteral("\r\n+CGMR: REV 1.0\r\n\r\nOK\r\n")
                                  << QStringLiteral(" REV 1.0");
        // The character right after a delimiter is never itself taken as one.
        QTest::newRow("dopo un delimitatore") << QStringLiteral("x:\r:z:") << QStringLiteral("z");
        QTest::newRow("eco rimasto")
            << QStringLiteral("AT+CGMR\r\r\n+CGMR: 1.2\r\nOK") << QStringLiteral(" 1.2");
        QTest::newRow("vuota") << QString() << QString();
        QTest::newRow("delimitatore finale") << QStringLiteral("x:y:") << QStringLiteral("");
    }
    void revisione() {
        QFETCH(QString, risposta);
        QFETCH(QString, revisione);
        QCOMPARE(RisposteModem::Estrai_Revisione(risposta), revisione);
    }

    void registrazione() {
        QCOMPARE(RisposteModem::StatoRegistrazione(QStringLiteral("\r\n+CREG: 0,1\r\n\r\nOK\r\n")),
                 QStringLiteral("1"));
        QCOMPARE(RisposteModem::StatoRegistrazione(QStringLiteral("\r\n+CREG: 2,5,\"1A2B\"\r\nOK")),
                 QStringLiteral("5"));
        // No ':' at all: the fourth character of the reply, which is no state.
        QCOMPARE(RisposteModem::StatoRegistrazione(QStringLiteral("\r\nOK\r\n")),
                 QStringLiteral("K"));
        QCOMPARE(RisposteModem::StatoRegistrazione(QStringLiteral("+CREG:")), QString());
        // An unsolicited line before the reply does not hide the state.
        QCOMPARE(RisposteModem::StatoRegistrazione(
                     QStringLiteral("\r\n+CMTI: \"SM\",3\r\nRING\r\n\r\n+CREG: 0,1\r\n\r\nOK\r\n")),
                 QStringLiteral("1"));
    }

    void segnale_data() {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<int>("livello");
        QTest::newRow("20") << QStringLiteral("\r\n+CSQ: 20,99\r\n\r\nOK\r\n") << 67;
        QTest::newRow("99 sconosciuto") << QStringLiteral("+CSQ: 99,99") << 0;
        QTest::newRow("oltre 31 limitato") << QStringLiteral("+CSQ: 40,99") << 100;
        QTest::newRow("1") << QStringLiteral("+CSQ: 1,0") << 3;
        QTest::newRow("0") << QStringLiteral("+CSQ: 0,0") << 0;
        QTest::newRow("senza spazio") << QStringLiteral("+CSQ:7,0") << 23;
        QTest::newRow("negativo") << QStringLiteral("+CSQ: -5,0") << 0;
        QTest::newRow("senza due punti") << QStringLiteral("\r\nOK\r\n") << -1;
        QTest::newRow("troncata") << QStringLiteral("+CSQ:") << 0;
        QTest::newRow("dopo una riga spontanea")
            << QStringLiteral("\r\n+CMTI: \"SM\",3\r\n\r\n+CSQ: 20,99\r\n\r\nOK\r\n") << 67;
    }
    void segnale() {
        QFETCH(QString, risposta);
        QFETCH(int, livello);
        QCOMPARE(RisposteModem::LivelloSegnale(risposta), livello);
    }

    void statoDellaSim() {
        using S = RisposteModem::StatoSim;
        QCOMPARE(RisposteModem::StatoDellaSim(QStringLiteral("\r\n+CME ERROR: SIM PUK required")),
                 S::PukRichiesto);
        QCOMPARE(RisposteModem::StatoDellaSim(QStringLiteral("\r\n+CME ERROR: SIM PIN required")),
                 S::PinRichiesto);
        QCOMPARE(RisposteModem::StatoDellaSim(QStringLiteral("+CME ERROR: SIM not inserted")),
                 S::SimAssente);
        QCOMPARE(RisposteModem::StatoDellaSim(QStringLiteral("+cme error: sim not INSERTED")),
                 S::SimAssente);
        QCOMPARE(RisposteModem::StatoDellaSim(QStringLiteral("\r\n+CLCK: (\"SC\",1)\r\n\r\nOK")),
                 S::Pronta);
        QCOMPARE(RisposteModem::StatoDellaSim(QString()), S::Pronta);
    }

    void nessunaRispostaFaUscireDalTesto() {
        QRandomGenerator caso(7);
        const QString alfabeto = QStringLiteral(":\r\n,+0123456789 CSQREGOKPINUK") + QChar(0xFF);
        for (int i = 0; i < 5000; ++i) {
            QString r;
            const int n = int(caso.bounded(40));
            for (int k = 0; k < n; ++k)
                r.append(alfabeto.at(int(caso.bounded(alfabeto.size()))));
            const int livello = RisposteModem::LivelloSegnale(r);
            QVERIFY(livello >= -1 && livello <= 100);
            QVERIFY(RisposteModem::StatoRegistrazione(r).size() <= 1);
            QVERIFY(RisposteModem::Estrai_Revisione(r).size() <= r.size());
        }
    }
};

QTEST_MAIN(TstRisposteModem)
#include "tst_rispostemodem.moc"
