#include "modem/TabellaComandi.h"

#include <QTest>

class TstTabellaComandi : public QObject {
    Q_OBJECT
private slots:
    void righeETimeout_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("indiceSim");
        QTest::addColumn<bool>("faseTesto");
        QTest::addColumn<QString>("riga");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("dalChiamante");
        QTest::newRow("test") << 0 << 0 << false << "AT" << 10 << false;
        QTest::newRow("eco") << 1 << 0 << false << "ATE0" << 10 << false;
        QTest::newRow("revisione") << 2 << 0 << false << "AT+CGMR" << 10 << false;
        QTest::newRow("testo") << 3 << 0 << false << "AT+CMGF=1" << 10 << false;
        QTest::newRow("errori") << 4 << 0 << false << "AT+CMEE=2" << 10 << false;
        QTest::newRow("registrazione") << 5 << 0 << false << "AT+CREG?" << 10 << false;
        QTest::newRow("segnale") << 6 << 0 << false << "AT+CSQ" << 10 << false;
        QTest::newRow("lettura") << 7 << 1 << false << "AT+CMGR=1" << 100 << false;
        QTest::newRow("lettura 12") << 7 << 12 << false << "AT+CMGR=12" << 100 << false;
        QTest::newRow("credito") << 8 << 0 << false << "" << 100 << true;
        QTest::newRow("credito testo") << 8 << 0 << true << "" << 1800 << true;
        QTest::newRow("cancella") << 9 << 3 << false << "AT+CMGD=3" << 10 << false;
        QTest::newRow("servizi") << 10 << 0 << false << "" << 100 << true;
        QTest::newRow("blocco sim") << 11 << 0 << false << "AT+CLCK?" << 100 << false;
        QTest::newRow("pin") << 12 << 0 << false << "" << 100 << true;
        QTest::newRow("richiesta pin") << 13 << 0 << false << "" << 100 << true;
        QTest::newRow("rubrica") << 14 << 0 << false << "AT+CPBR=1" << 100 << false;
        QTest::newRow("invio") << 15 << 0 << false << "" << 100 << true;
        QTest::newRow("invio testo") << 15 << 0 << true << "" << 1800 << true;
    }

    void righeETimeout() {
        QFETCH(int, tipo);
        QFETCH(int, indiceSim);
        QFETCH(bool, faseTesto);
        QFETCH(QString, riga);
        QFETCH(int, timeout);
        QFETCH(bool, dalChiamante);
        const auto c = TabellaComandi::Comando(tipo, indiceSim, faseTesto);
        QVERIFY(c.has_value());
        QCOMPARE(c->riga, riga);
        QCOMPARE(c->timeoutTick, timeout);
        QCOMPARE(c->preparatoDalChiamante, dalChiamante);
    }

    void fuoriTabellaNessunaRiga() {
        QVERIFY(!TabellaComandi::Comando(-1, 0, false));
        QVERIFY(!TabellaComandi::Comando(16, 0, false));
    }
};

QTEST_GUILESS_MAIN(TstTabellaComandi)
#include "tst_tabellacomandi.moc"
