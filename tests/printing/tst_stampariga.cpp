#include "CapoPty.h"
#include "CartellaDiProva.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSerialeQt.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QTest>

// StampaRiga on a real port: what one call puts on the printer's line.
class TstStampaRiga : public QObject {
    Q_OBJECT
private slots:
    void righe_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QByteArray>("attesi");
        QTest::newRow("vuota") << QString() << QByteArray("\" \"@");
        QTest::newRow("uno spazio") << QStringLiteral(" ") << QByteArray("\"  \"@");
        QTest::newRow("Nome:") << QStringLiteral("Nome:") << QByteArray("\"Nome: \"@");
        QTest::newRow("spazi consecutivi tutti scritti")
            << QStringLiteral("a  b") << QByteArray("\"a  b \"@");
        QTest::newRow("sette parole di cinque lettere")
            << QStringLiteral("pizza pasta birra fanta acqua torta panna")
            << QByteArray("\"pizza pasta birra fanta acqua \"@\"torta panna \"@");
        QTest::newRow("intestazione di 36 caratteri")
            << QStringLiteral("---| STAMPA SMS |-------------------")
            << QByteArray("\"---| STAMPA SMS \"@\"|------------------- \"@");
        QTest::newRow("36 trattini")
            << QString(36, QLatin1Char('-'))
            << QByteArray("\"\"@\"") + QByteArray(36, '-') + QByteArray(" \"@");
        QTest::newRow("a capo, il ritorno carrello non lascia traccia")
            << QStringLiteral("Vorrei\r\nuna pizza") << QByteArray("\"Vorrei\"@\"una pizza \"@");
        QTest::newRow("a capo dopo una parola che non entra nella riga")
            << QStringLiteral("12345678901234567890 123456789012345\nx")
            << QByteArray("\"12345678901234567890 \"@\"123456789012345\"@\"x \"@");
        QTest::newRow("parola di 36 caratteri con lo spazio: a capo prima")
            << QString(35, QLatin1Char('x'))
            << QByteArray("\"\"@\"") + QByteArray(35, 'x') + QByteArray(" \"@");
        QTest::newRow("parola di 35 con lo spazio: riempie la riga")
            << QString(34, QLatin1Char('x'))
            << QByteArray("\"") + QByteArray(34, 'x') + QByteArray(" \"@");
        QTest::newRow("parola lunga dopo altre: riga nuova")
            << QStringLiteral("ab ") + QString(34, QLatin1Char('x'))
            << QByteArray("\"ab \"@\"") + QByteArray(34, 'x') + QByteArray(" \"@");
        QTest::newRow("virgolette nel testo: apostrofi, la riga non si chiude")
            << QStringLiteral("Vorrei la \"diavola\" Jumbo")
            << QByteArray("\"Vorrei la 'diavola' Jumbo \"@");
        QTest::newRow("lettera accentata e euro, un byte ciascuno")
            << QStringLiteral("Caffè 1€") << QByteArray("\"Caff\xE8 1\x80 \"@");
        // What a stranger writes never drives the printer: the cash-drawer pulse, a reset, a
        // bell, a form feed; a C1 control, a lone half of a UTF-16 pair.
        QTest::newRow("cassetto, reset, campanello, avanzamento: solo ?")
            << QStringLiteral("Pizza") + QChar(0x1B) + QStringLiteral("p") + QChar(0) + QChar(25) +
                   QChar(0x7F) + QChar(7) + QChar(12) + QChar(0x1B) + QStringLiteral("@")
            << QByteArray("\"Pizza?p??????@ \"@");
        QTest::newRow("C1 e surrogato isolato come ?")
            << QStringLiteral("a") + QChar(0x85) + QChar(0x9B) + QChar(0x81) + QChar(0xD800) +
                   QStringLiteral("b")
            << QByteArray("\"a????b \"@");
        QTest::newRow("tabulazione come spazio")
            << QStringLiteral("a\tb") << QByteArray("\"a b \"@");
        QTest::newRow("segni invisibili di direzione e larghezza: nulla")
            << QStringLiteral("ab\u202Ecd\u200Bef\u2066gh\u2069\uFEFF")
            << QByteArray("\"abcdefgh \"@");
    }

    void righe() {
        QFETCH(QString, testo);
        QFETCH(QByteArray, attesi);
        CartellaDiProva cartella;
        CapoPty stampante;
        QVERIFY(stampante.valido());
        QVERIFY(stampante.collega(cartella.percorso(), 3));
        StatoGlobale stato(cartella.percorso());
        PortaSerialeQt porta(cartella.percorso());
        StampanteCorrente corrente(cartella.percorso());
        const ImpostazioniAttivita impostazioni;
        ModulofnStampa modulo(stato, impostazioni, porta, corrente);

        porta.setCommPort(3);
        porta.setPortOpen(true);
        modulo.StampaRiga(testo);
        porta.setPortOpen(false);
        QCOMPARE(stampante.leggi(attesi.right(2)), attesi);
    }
};

QTEST_MAIN(TstStampaRiga)
#include "tst_stampariga.moc"
