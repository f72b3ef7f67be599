#include "BancoMotorePty.h"
#include "CaratteriSim.h"
#include "archive/Archivio.h"

#include <QTest>

namespace {

// Sender and text of every pending record, read through another connection.
QList<QPair<QString, QString>> pendenti(const CartellaDiProva& c) {
    Archivio a;
    a.ApriArchivio(c.percorso());
    QList<QPair<QString, QString>> esito;
    Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        esito.append(
            {rs.Testo(QStringLiteral("T3Numero")), rs.Testo(QStringLiteral("T3TestoSmsRicevuto"))});
    return esito;
}

} // namespace

// The largest things a SIM can hold reach the archive whole: the longest message the network
// carries, a SIM full of orders, senders that are no phone number.
class TstLimitiRicezione : public QObject {
    Q_OBJECT
private slots:
    // A message announcing 255 parts of 153 characters, its parts in 255 slots.
    void messaggioDi255Parti() {
        BancoMotorePty b;
        b.modem().impostaCapacita(255);
        QString intero;
        for (int n = 1; n <= 255; ++n) {
            const QString parte = QStringLiteral("%1 ").arg(n, 3, 10, QLatin1Char('0')) +
                                  QString(149, QLatin1Char('a' + n % 26));
            QCOMPARE(parte.size(), 153);
            intero += parte;
            SmsSim s;
            s.mittente = "+393331112222";
            s.timestamp = "26/12/07,10:15:30+04";
            QString errore;
            QVERIFY2(
                CaratteriSim::Componi(s, parte, {}, QStringLiteral("200/255/%1").arg(n), &errore),
                qPrintable(errore));
            QVERIFY(b.modem().impostaSms(n, s));
        }
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.modem().slotOccupati().isEmpty(); }, 20000));
        const auto p = pendenti(b.cartella);
        QCOMPARE(p.size(), 1);
        QCOMPARE(p[0].second.size(), 255 * 153);
        QCOMPARE(p[0].second, intero);
    }

    // A thousand orders waiting in a modem's memory of a thousand slots, among them senders that
    // are names (with quotes) or overlong: every one stored, none left behind.
    void milleMessaggiInAttesa() {
        BancoMotorePty b;
        b.modem().impostaCapacita(1000);
        const QList<QByteArray> nomi{"PIZZERIA", "Bar \"Da Gino\"", QByteArray(120, '7')};
        QList<QPair<QString, QString>> attesi;
        for (int i = 1; i <= 1000; ++i) {
            const QByteArray mittente =
                i <= nomi.size() ? nomi[i - 1] : "+39333" + QByteArray::number(1000000 + i);
            const QByteArray testo = "Ordine numero " + QByteArray::number(i);
            SmsSim s;
            s.mittente = mittente;
            s.timestamp = "26/12/07,10:15:30+04";
            s.testo = testo;
            QVERIFY(b.modem().impostaSms(i, s));
            // A name's own quotes are kept, though the modem writes them inside the field's.
            attesi.append({i <= nomi.size() ? QString::fromLatin1(mittente)
                                            : QStringLiteral("333") + QString::number(1000000 + i),
                           QString::fromLatin1(testo)});
        }
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.modem().slotOccupati().isEmpty(); }, 30000));
        auto p = pendenti(b.cartella);
        std::sort(p.begin(), p.end());
        std::sort(attesi.begin(), attesi.end());
        QCOMPARE(p.size(), 1000);
        QCOMPARE(p, attesi);
    }
};

QTEST_GUILESS_MAIN(TstLimitiRicezione)
#include "tst_limitiricezione.moc"
