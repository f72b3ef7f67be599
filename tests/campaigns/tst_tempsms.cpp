#include "CartellaDiProva.h"
#include "campaigns/ClientiCampagna.h"
#include "campaigns/TempSms.h"
#include "platform/ErroreRuntime.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray contenuto(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// The queue file as bytes on disk, read back, and replaced whole; the recipients' filters.
class TstTempSms : public QObject {
    Q_OBJECT
private slots:
    void layoutERiletturaDeiTag() {
        CartellaDiProva cartella;
        TempSms coda(cartella.percorso());
        QVERIFY_THROWS_EXCEPTION(ErroreRuntime, coda.Leggi());
        coda.CreaVuoto();
        QCOMPARE(contenuto(coda.Percorso()), QByteArray("\r\n"));

        // Windows-1252, CR LF, and a text of several lines written over several lines.
        coda.Scrivi({"1S", "2-", "12I"}, QStringLiteral("Rò"), QStringLiteral("Bari"),
                    QStringLiteral("Sconti |0 e |5 città\n|0falso\n|4falso"));
        QCOMPARE(contenuto(coda.Percorso()),
                 QByteArray("1S\r\n2-\r\n12I\r\n|0R\xF2\r\n|1\r\n|4Bari\r\n"
                            "|5Sconti |0 e |5 citt\xE0\r\n|0falso\r\n|4falso\r\n"));
        // The text comes back whole; the lines after its tag are no tags.
        TempSms::Contenuto c = coda.Leggi();
        QCOMPARE(c.codici, QStringList({"1S", "2-", "12I"}));
        QCOMPARE(c.nome, QStringLiteral("Rò"));
        QCOMPARE(c.indirizzo, QStringLiteral("Bari"));
        QVERIFY(c.conMese && c.mese.isEmpty());
        QCOMPARE(c.testo, QStringLiteral("Sconti |0 e |5 città\n|0falso\n|4falso"));
        QCOMPARE(TempSms::Chiave(c.codici[2]), QStringLiteral("12"));
        QCOMPARE(TempSms::Lettera(c.codici[2]), QLatin1Char('I'));
    }

    // A write cut short (here by a file-size limit, as a full disk or a power cut would) leaves
    // the previous campaign whole.
    void unaScritturaInterrottaLasciaLaCodaPrecedente() {
        CartellaDiProva cartella;
        TempSms coda(cartella.percorso());
        coda.Scrivi({"1S", "2I"}, {}, {}, QStringLiteral("Prima"));
        const QByteArray prima = contenuto(coda.Percorso());

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit vecchio{};
        getrlimit(RLIMIT_FSIZE, &vecchio);
        rlimit piccolo = vecchio;
        piccolo.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &piccolo);
        QStringList molti;
        for (int i = 1; i <= 100; ++i)
            molti << QStringLiteral("%1S").arg(i);
        bool fallita = false;
        try {
            coda.Scrivi(molti, {}, {}, QStringLiteral("Dopo"));
        } catch (const ErroreRuntime&) {
            fallita = true;
        }
        setrlimit(RLIMIT_FSIZE, &vecchio);
        QVERIFY(fallita);
        QCOMPARE(contenuto(coda.Percorso()), prima);
    }

    void filtri() {
        const auto cliente = [](const char* nome, const char* nascita = "") {
            return ClienteRegistro{"1", "333", nome, nascita, "Via Roma 1, Bari", {}};
        };
        const FiltroClienti ro{QStringLiteral("ro"), {}, false, {}};
        QVERIFY(ro.Corrisponde(cliente("Rossi Mario")) && ro.Corrisponde(cliente("ROMANO")));
        QVERIFY(!ro.Corrisponde(cliente("Ferro")));
        QVERIFY(FiltroClienti({}, QStringLiteral("via roma"), false, {}).Corrisponde(cliente("x")));
        QVERIFY(!FiltroClienti({}, QStringLiteral("Bari"), false, {}).Corrisponde(cliente("x")));

        // 3 and 03 are March; 13, 0 and letters are no month (letters leave the last one).
        QString mese = QStringLiteral("07");
        QVERIFY(ClientiCampagna::controlloMese(QStringLiteral("3"), mese) && mese == "03");
        QVERIFY(ClientiCampagna::controlloMese(QStringLiteral("03"), mese) && mese == "03");
        QVERIFY(!ClientiCampagna::controlloMese(QStringLiteral("ab"), mese) && mese == "03");
        QVERIFY(!ClientiCampagna::controlloMese(QStringLiteral("13"), mese) && mese.isEmpty());
        QVERIFY(!ClientiCampagna::controlloMese(QStringLiteral("0"), mese));
        QVERIFY(ClientiCampagna::controlloMese(QStringLiteral("11"), mese));
        const FiltroClienti novembre{{}, {}, true, mese};
        QVERIFY(novembre.Corrisponde(cliente("x", "02/11/1970")));
        QVERIFY(!novembre.Corrisponde(cliente("x", "11/02/1970")));
        QVERIFY(!novembre.Corrisponde(cliente("x")));
    }
};

QTEST_GUILESS_MAIN(TstTempSms)
#include "tst_tempsms.moc"
