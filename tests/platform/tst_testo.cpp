#include "platform/Testo.h"

#include <QTest>
#include <limits>

class TstTesto : public QObject {
    Q_OBJECT
private slots:
    void slicingTolleraPosizioniOltreLaFine() {
        QCOMPARE(Testo::Mid(QStringLiteral("+393331234567"), 4), QStringLiteral("3331234567"));
        QCOMPARE(Testo::Mid(QStringLiteral("abc"), 2, 1), QStringLiteral("b"));
        QCOMPARE(Testo::Mid(QStringLiteral("abc"), 3, 10), QStringLiteral("c"));
        QCOMPARE(Testo::Mid(QStringLiteral("abc"), 4), QString());
        QCOMPARE(Testo::Mid(QStringLiteral("abc"), 99, 2), QString());
        QCOMPARE(Testo::Mid(QStringLiteral("abc"), 0, 2), QStringLiteral("ab"));
        QCOMPARE(Testo::Mid(QString(), 1, 5), QString());
        QCOMPARE(Testo::Left(QStringLiteral("abc"), 5), QStringLiteral("abc"));
        QCOMPARE(Testo::Left(QStringLiteral("abc"), -1), QString());
        QCOMPARE(Testo::Right(QStringLiteral("abc"), 2), QStringLiteral("bc"));
        QCOMPARE(Testo::Right(QStringLiteral("abc"), 9), QStringLiteral("abc"));
    }

    void ricercaSenzaRiguardoAlleMaiuscole() {
        QCOMPARE(Testo::InStr(QStringLiteral("\r\nok\r\n"), QStringLiteral("OK")), 3);
        QCOMPARE(Testo::InStr(QStringLiteral("+CMGR: \"REC READ\""), QStringLiteral("read")), 13);
        QCOMPARE(Testo::InStr(QStringLiteral("ERROR"), QStringLiteral("OK")), 0);
        QCOMPARE(Testo::InStr(QStringLiteral("a:b:c"), QStringLiteral(":"), 3), 4);
        QCOMPARE(Testo::InStr(QStringLiteral("abc"), QStringLiteral("c"), 9), 0);
        QCOMPARE(Testo::InStr(QString(), QStringLiteral("OK")), 0);
        QCOMPARE(Testo::InStr(QStringLiteral("È così"), QStringLiteral("è")), 1);
    }

    void valLeggeIlNumeroIniziale() {
        QCOMPARE(Testo::Val(QStringLiteral("12abc")), 12.0);
        QCOMPARE(Testo::Val(QStringLiteral(" 1 2 3")), 123.0);
        QCOMPARE(Testo::Val(QStringLiteral("abc")), 0.0);
        QCOMPARE(Testo::Val(QStringLiteral("-4.5x")), -4.5);
        QCOMPARE(Testo::Val(QStringLiteral("12,34")), 12.0);
        QCOMPARE(Testo::Val(QStringLiteral("1e3")), 1000.0);
        QCOMPARE(Testo::Val(QStringLiteral("1e")), 1.0);
        QCOMPARE(Testo::Val(QStringLiteral(" 15,99\r\nOK")), 15.0);
        QCOMPARE(Testo::Val(QString()), 0.0);
        QCOMPARE(Testo::Val(QStringLiteral("1e999")), 0.0);
    }

    void testoNumerico() {
        QVERIFY(Testo::IsNumeric(QStringLiteral("3331234567")));
        QVERIFY(Testo::IsNumeric(QStringLiteral(" 333.123 ")));
        QVERIFY(Testo::IsNumeric(QStringLiteral("-12,5")));
        QVERIFY(Testo::IsNumeric(QStringLiteral("1e5")));
        QVERIFY(!Testo::IsNumeric(QString()));
        QVERIFY(!Testo::IsNumeric(QStringLiteral("333 123")));
        QVERIFY(!Testo::IsNumeric(QStringLiteral("1.2.3")));
        QVERIFY(!Testo::IsNumeric(QStringLiteral("12a")));
        QVERIFY(!Testo::IsNumeric(QStringLiteral(".")));
        QVERIFY(!Testo::IsNumeric(QStringLiteral("1e")));
    }

    void arrotondamentoAlPari() {
        QCOMPARE(Testo::Arrotonda(2.5), 2);
        QCOMPARE(Testo::Arrotonda(3.5), 4);
        QCOMPARE(Testo::Arrotonda(-2.5), -2);
        QCOMPARE(Testo::Arrotonda(2.4999), 2);
        QCOMPARE(Testo::Arrotonda(2.5001), 3);
        QCOMPARE(Testo::Arrotonda(99 * 10.0 / 3), 330);
        // A box holding "5e26" is beyond any integer.
        QCOMPARE(Testo::Arrotonda(5e26), std::numeric_limits<qint64>::max());
        QCOMPARE(Testo::Arrotonda(-5e26), std::numeric_limits<qint64>::min());
        QCOMPARE(Testo::Arrotonda(9223372036854775808.0), std::numeric_limits<qint64>::max());
        QCOMPARE(Testo::Arrotonda(std::nan("")), 0);
    }
};

QTEST_GUILESS_MAIN(TstTesto)
#include "tst_testo.moc"
