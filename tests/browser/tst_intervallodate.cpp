#include "archive/ChiaveData.h"
#include "browser/IntervalloDate.h"

#include <QTest>

namespace {
const QDate kOggi(2026, 12, 7);
const CaselleData kCaselleOggi{QStringLiteral("07"), QStringLiteral("12"), QStringLiteral("2026")};

// The boxes after normalisation, start then end.
std::pair<CaselleData, CaselleData> Normalizzate(CaselleData da, CaselleData a) {
    IntervalloDate::Normalizza(da, a, kOggi);
    return {da, a};
}
} // namespace

class TstIntervalloDate : public QObject {
    Q_OBJECT
private slots:
    void leCaselleSiCorreggonoNellOrdine() {
        // Empty boxes: from 01/01/2012 to today.
        auto [da, a] = Normalizzate({}, {});
        QCOMPARE(da,
                 (CaselleData{QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2012")}));
        QCOMPARE(a, kCaselleOggi);

        // Out of range: a start day of 45 and a month of 13 are clamped, the end's become today's.
        std::tie(da, a) =
            Normalizzate({QStringLiteral("45"), QStringLiteral("13"), QStringLiteral("2020")},
                         {QStringLiteral("40"), QStringLiteral("14"), QStringLiteral("2021")});
        QCOMPARE(da,
                 (CaselleData{QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2020")}));
        QCOMPARE(a,
                 (CaselleData{QStringLiteral("07"), QStringLiteral("12"), QStringLiteral("2021")}));

        // Pasted letters and zeros count as below 1.
        std::tie(da, a) =
            Normalizzate({QStringLiteral("ab"), QStringLiteral("0"), QStringLiteral("x1")},
                         {QStringLiteral("1.2.3"), QStringLiteral("0.5"), QStringLiteral("abc")});
        QCOMPARE(da,
                 (CaselleData{QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2012")}));
        QCOMPARE(a, kCaselleOggi);
    }

    // The range ends in the year typed: a later year is kept, not replaced by this year's.
    void lAnnoFinaleScrittoVale() {
        auto [da, a] =
            Normalizzate({}, {QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2035")});
        QCOMPARE(a.anno, QStringLiteral("2035"));
        std::tie(da, a) = Normalizzate({}, {QString(), QString(), QStringLiteral("20350")});
        QCOMPARE(a.anno, QStringLiteral("2026"));
    }

    void leChiavi() {
        // The year enters as characters 2 to 4 of its box: "12" is the year 2.
        QCOMPARE(IntervalloDate::Chiave(
                     {QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("12")}),
                 1 + 31 + 961 * 2);
        QCOMPARE(IntervalloDate::Chiave(
                     {QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2012")}),
                 1 + 31 + 961 * 12);
        // Decimals enter as numbers; the sum is rounded half to even.
        QCOMPARE(IntervalloDate::Chiave(
                     {QStringLiteral("1.5"), QStringLiteral("1"), QStringLiteral("2012")}),
                 11564); // 11564.5
        // The last date of a 16-bit key and the days after it keep their order.
        QCOMPARE(ChiaveData::DiData(QStringLiteral("28/02/34")), 32764);
        QVERIFY(ChiaveData::DiData(QStringLiteral("01/03/34")) > 32764);
        QVERIFY(ChiaveData::DiData(QStringLiteral("15/06/35")) >
                ChiaveData::DiData(QStringLiteral("31/12/34")));
        QVERIFY(IntervalloDate::Chiave(
                    {QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2035")}) >
                ChiaveData::DiData(QStringLiteral("15/06/35")));
        // The stored bytes give the key the text gives, well formed or not.
        for (const char* data : {"07/12/26", "7/12/26", "", "ab/cd/ef", "31/12/99"})
            QCOMPARE(ChiaveData::DiData(data, int(qstrlen(data))),
                     ChiaveData::DiData(QString::fromLatin1(data)));
        // A pasted exponent gives a far date, not an overflow.
        QVERIFY(IntervalloDate::Chiave(
                    {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("19e9")}) > 0);
    }
};

QTEST_APPLESS_MAIN(TstIntervalloDate)
#include "tst_intervallodate.moc"
