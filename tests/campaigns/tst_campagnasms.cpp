#include "BancoMotore.h"
#include "DatiDiProva.h"
#include "campaigns/CampagnaSms.h"

#include <QFile>
#include <QTest>

namespace {

QString numero(int i) {
    return QStringLiteral("33300000%1").arg(i);
}

QStringList righe(const QString& percorso) {
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList r = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    r.removeLast();
    return r;
}

} // namespace

// The campaign with no window at all: rows, statuses, the run and the queue file.
class TstCampagnaSms : public QObject {
    Q_OBJECT
private slots:
    // Three customers, the third refused: the file says what happened to each; a sent row
    // unticked stays sent and the failed row, still ticked, is due at the next run.
    void unaCampagnaSenzaFinestra() {
        BancoMotore b(false, [](Archivio& a) {
            for (int i = 1; i <= 3; ++i)
                DatiDiProva::Cliente(a, numero(i), QStringLiteral("Cliente %1").arg(i));
        });
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.s().TickAttesa == 0 && b.s().TickPolling == 1; }) >= 0);
        for (int i = 1; i <= 2; ++i)
            b.modem.risposte[QStringLiteral("AT+CMGS=\"%1\"").arg(numero(i))] =
                QStringLiteral("\r\n> ");
        b.modem.risposte[QStringLiteral("AT+CMGS=\"%1\"").arg(numero(3))] =
            QStringLiteral("\r\n+CMS ERROR: 331\r\n");
        b.modem.risposte[QStringLiteral("Ciao")] = QStringLiteral("\r\n+CMGS: 5\r\n\r\nOK\r\n");

        CampagnaSms c(*b.globale, *b.motore);
        c.FinestraAperta(true);
        c.Carica(ElencoClienti::Leggi(b.globale->archivio, ElencoClienti::Attivi));
        QCOMPARE(c.NumeroRighe(), 3);
        for (int r = 1; r <= 3; ++r)
            c.Spunta(r, true);
        c.ImpostaTesti(QStringLiteral("Cli"), QString(), QStringLiteral("Ciao"));
        const auto gira = [&] {
            QVERIFY(c.Avvia());
            for (int i = 0; i < 500 && c.Attiva(); ++i) {
                b.tick();
                if (c.Timer1.isActive())
                    c.Timer1_Timer();
            }
            QVERIFY(!c.Attiva());
        };
        gira();
        QCOMPARE(righe(c.Coda().Percorso()),
                 (QStringList{"1I", "2I", "3S", "|0Cli", "|1", "|4", "|5Ciao"}));
        QCOMPARE(c.Riga(3).stato, StatoRiga::Errore);
        QCOMPARE(c.Riga(3).nota, QStringLiteral("L'SMS non è partito."));

        c.Spunta(1, false);
        QCOMPARE(c.Riga(1).stato, StatoRiga::Inviato);
        b.modem.risposte[QStringLiteral("AT+CMGS=\"%1\"").arg(numero(3))] =
            QStringLiteral("\r\n> ");
        gira();
        QCOMPARE(righe(c.Coda().Percorso()).mid(0, 3), (QStringList{"1I", "2I", "3I"}));
        QCOMPARE(b.nuoveRighe().count(QStringLiteral("Ciao")), 3);
    }
};

QTEST_GUILESS_MAIN(TstCampagnaSms)
#include "tst_campagnasms.moc"
