#include "modem/InterpreteSms.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// A reply to "AT+CMGR=" laid out as the standard gives it: header, body, empty line, OK.
QString risposta(const QString& intestazione, const QString& corpo) {
    return CRLF + QStringLiteral("+CMGR: ") + intestazione + CRLF + corpo + CRLF + CRLF +
           QStringLiteral("OK") + CRLF;
}

} // namespace

class TstInterpreteSms : public QObject {
    Q_OBJECT

private slots:
    // The header forms real modems send, each read whole.
    void formeDellIntestazione_data() {
        QTest::addColumn<QString>("intestazione");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("alfa");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("orario");
        const QString n = QStringLiteral("\"REC READ\",\"+393331234567\",");
        QTest::newRow("alfa vuoto")
            << n + QStringLiteral("\"\",\"26/12/07,10:15:30+04\"") << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("alfa omesso")
            << n + QStringLiteral(",\"26/12/07,10:15:30+04\"") << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("alfa con nome e virgola")
            << n + QStringLiteral("\"Rossi, Mario\",\"26/12/07,10:15:30+04\"") << "3331234567"
            << "Rossi, Mario"
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("senza campo alfa")
            << QStringLiteral("\"REC UNREAD\",\"+393331234567\",\"26/12/07,10:15:30+04\"")
            << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("anno a quattro cifre")
            << n + QStringLiteral(",\"2026/12/07,10:15:30+04\"") << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("zona di una cifra")
            << n + QStringLiteral(",\"26/12/07,10:15:30+4\"") << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("zona 40") << n + QStringLiteral(",\"26/12/07,10:15:30+40\"") << "3331234567"
                                 << ""
                                 << "07/12/26"
                                 << "10:15:30";
        QTest::newRow("zona negativa")
            << n + QStringLiteral(",\"26/1/7,9:05:03-08\"") << "3331234567"
            << ""
            << "07/01/26"
            << "09:05:03";
        QTest::newRow("stamp senza virgolette")
            << n + QStringLiteral(",26/12/07,10:15:30+04") << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("campi dopo lo stamp")
            << n + QStringLiteral("\"\",\"26/12/07,10:15:30+04\",145,4,0,0,\"+393359609600\",145,5")
            << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("numero nazionale")
            << QStringLiteral("\"REC READ\",\"3331234567\",,\"26/12/07,10:15:30+04\"")
            << "3331234567"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("numero breve")
            << QStringLiteral("\"REC READ\",\"40916\",,\"26/12/07,10:15:30+04\"") << "40916"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("numero estero")
            << QStringLiteral("\"REC READ\",\"+447700900123\",,\"26/12/07,10:15:30+04\"")
            << "+447700900123"
            << ""
            << "07/12/26"
            << "10:15:30";
        QTest::newRow("mittente alfanumerico")
            << QStringLiteral("\"REC READ\",\"TIM\",,\"26/12/07,10:15:30+04\"") << "TIM"
            << ""
            << "07/12/26"
            << "10:15:30";
        // Quotes of a sender's own: only a quote before a comma or the line's end closes a field.
        QTest::newRow("mittente con virgolette")
            << QStringLiteral("\"REC READ\",\"Bar \"Da Gino\"\",\"Pizza \"Bella\" \",\"26/12/07,10:15:30+04\"")
            << "Bar \"Da Gino\""
            << "Pizza \"Bella\""
            << "07/12/26"
            << "10:15:30";
    }
    void formeDellIntestazione() {
        QFETCH(QString, intestazione);
        QFETCH(QString, numero);
        QFETCH(QString, alfa);
        QFETCH(QString, data);
        QFETCH(QString, orario);
        const QString r = risposta(intestazione, QStringLiteral("Vorrei due pizze"));
        const auto sms = InterpreteSms::Leggi(r);
        QVERIFY(sms);
        QCOMPARE(sms->numero, numero);
        QCOMPARE(sms->alfa, alfa);
        QCOMPARE(sms->data, data);
        QCOMPARE(sms->orario, orario);
        QCOMPARE(sms->testo, QStringLiteral("Vorrei due pizze"));
        QCOMPARE(InterpreteSms::Estrai_Numero(r), numero);
        QCOMPARE(InterpreteSms::Estrai_Data(r), data);
        QCOMPARE(InterpreteSms::Estrai_Orario(r), orario);
        QCOMPARE(InterpreteSms::Estrai_Testo(r), QStringLiteral("Vorrei due pizze"));
    }

    // Bodies and what surrounds the reply: the text is kept whole.
    void corpoEContorno_data() {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("testo");
        const QString h =
            QStringLiteral("\"REC UNREAD\",\"+393331234567\",,\"26/12/07,10:15:30+04\"");
        QTest::newRow("virgolette nel testo")
            << risposta(h, QStringLiteral("Vorrei la \"diavola\" alle 20"))
            << "Vorrei la \"diavola\" alle 20";
        QTest::newRow("piu righe") << risposta(h, QStringLiteral("Riga uno\r\nRiga due\nRiga tre"))
                                   << "Riga uno\r\nRiga due\nRiga tre";
        QTest::newRow("riga OK nel testo")
            << risposta(h, QStringLiteral("Per domani\r\nOK\r\ngrazie"))
            << "Per domani\r\nOK\r\ngrazie";
        QTest::newRow("testo che finisce con OK")
            << risposta(h, QStringLiteral("Confermo\r\nOK")) << "Confermo\r\nOK";
        QTest::newRow("eco del comando")
            << QStringLiteral("AT+CMGR=1\r") + risposta(h, QStringLiteral("Ciao")) << "Ciao";
        QTest::newRow("righe spontanee prima e dopo")
            << QStringLiteral("\r\n+CMTI: \"SM\",3\r\n\r\nRING\r\n") +
                   risposta(h, QStringLiteral("Ciao")) + QStringLiteral("\r\n+CMTI: \"SM\",4\r\n")
            << "Ciao";
        QTest::newRow("riga spontanea prima di OK")
            << CRLF + QStringLiteral("+CMGR: ") + h + CRLF + QStringLiteral("Ciao") + CRLF + CRLF +
                   QStringLiteral("RING") + CRLF + CRLF + QStringLiteral("OK") + CRLF
            << "Ciao";
        QTest::newRow("rumore prima")
            << QStringLiteral("\u00ff\u00e9\u0080") + risposta(h, "Ciao") << "Ciao";
        QTest::newRow("testo vuoto") << risposta(h, QString()) << "";
        QTest::newRow("testo corto") << risposta(h, QStringLiteral("Sì")) << "Sì";
        QTest::newRow("senza riga vuota prima di OK")
            << CRLF + QStringLiteral("+CMGR: ") + h + CRLF + QStringLiteral("Ciao") + CRLF +
                   QStringLiteral("OK") + CRLF
            << "Ciao";
    }
    void corpoEContorno() {
        QFETCH(QString, r);
        QFETCH(QString, testo);
        const auto sms = InterpreteSms::Leggi(r);
        QVERIFY(sms);
        QCOMPARE(sms->testo, testo);
        QCOMPARE(sms->numero, QStringLiteral("3331234567"));
        QCOMPARE(sms->orario, QStringLiteral("10:15:30"));
    }

    void nessunMessaggio_data() {
        QTest::addColumn<QString>("r");
        QTest::newRow("posizione vuota") << "\r\nOK\r\n";
        QTest::newRow("errore") << "\r\n+CMS ERROR: 321\r\n";
        QTest::newRow("nulla") << "";
        QTest::newRow("risposta troncata")
            << "\r\n+CMGR: \"REC READ\",\"+393331234567\",,\"26/12/07,10:15:30+04\"\r\nVorrei";
        QTest::newRow("senza mittente")
            << "\r\n+CMGR: \"REC READ\",,,\"26/12/07,10:15:30\"\r\nx\r\n\r\nOK\r\n";
        QTest::newRow("messaggio inviato in memoria")
            << "\r\n+CMGR: \"STO SENT\",\"+393331234567\",,\r\nx\r\n\r\nOK\r\n";
        QTest::newRow("OK prima dell'intestazione")
            << "\r\nOK\r\n\r\n+CMGR: \"REC READ\",\"+393331234567\",,\"26/12/07,10:15:30\"\r\nx";
    }
    void nessunMessaggio() {
        QFETCH(QString, r);
        QVERIFY(!InterpreteSms::Leggi(r));
        QCOMPARE(InterpreteSms::Estrai_Testo(r), QString());
    }

    // A stamp that cannot be read leaves date and time empty, never a wrong one; the text stays.
    void stampIlleggibile() {
        for (const char* stamp :
             {"\"26/13/07,10:15:30+04\"", "\"ieri\"", "", "\"26/12/07,25:00:00\""}) {
            const auto sms = InterpreteSms::Leggi(
                risposta(QStringLiteral("\"REC READ\",\"+393331234567\",,") + QLatin1String(stamp),
                         QStringLiteral("Ciao")));
            QVERIFY(sms);
            QVERIFY2(sms->data.isEmpty() && sms->orario.isEmpty(), stamp);
            QCOMPARE(sms->testo, QStringLiteral("Ciao"));
        }
    }

    void orarioInSecondi() {
        QCOMPARE(InterpreteSms::Orario_In_Secondi(QStringLiteral("10:15:30")), 36930);
        QCOMPARE(InterpreteSms::Orario_In_Secondi(QStringLiteral("00:00:00")), 0);
        QCOMPARE(InterpreteSms::Orario_In_Secondi(QString()), 0);
        QCOMPARE(InterpreteSms::Orario_In_Secondi(QStringLiteral("1")), 3600);
    }

    // Thousands of cut, mangled and random replies: the parser never fails, and what it returns
    // is always taken from the reply itself, with a date and a time of the right shape.
    void nessunaRispostaLoFaFallire() {
        QRandomGenerator caso(20261208);
        const QStringList basi{
            risposta(QStringLiteral("\"REC READ\",\"+393331234567\",\"\",\"26/12/07,10:15:30+04\""),
                     QStringLiteral("Vorrei la \"diavola\"\r\nOK\r\nalle 20")),
            risposta(QStringLiteral("\"REC UNREAD\",\"+393331234567\",,\"2026/12/07,10:15:30+4\""),
                     QStringLiteral("Ciao")),
            QStringLiteral("AT+CMGR=3\r\r\n+CMTI: \"SM\",3\r\n") +
                risposta(QStringLiteral("\"REC READ\",\"TIM\",,\"26/12/07,10:15:30+04\""),
                         QStringLiteral("Credito 5,23 euro")),
            QStringLiteral("\r\nOK\r\n")};
        const QString alfabeto = QStringLiteral("\",\r\n:+/ OKREAD0123456789\u00e9\u00ff");
        const QRegularExpression formaData(QStringLiteral(R"(^\d\d/\d\d/\d\d$)"));
        const QRegularExpression formaOra(QStringLiteral(R"(^\d\d:\d\d:\d\d$)"));
        int letti = 0;
        for (int giro = 0; giro < 6000; ++giro) {
            QString r = basi[caso.bounded(basi.size())];
            switch (caso.bounded(4)) {
            case 0: // cut anywhere
                r.truncate(caso.bounded(r.size() + 1));
                break;
            case 1: // characters that matter to the parser, sprinkled in
                for (int k = caso.bounded(1, 6); k > 0; --k)
                    r.insert(caso.bounded(r.size() + 1),
                             alfabeto.at(caso.bounded(alfabeto.size())));
                break;
            case 2: // a piece taken out
                if (!r.isEmpty()) {
                    const int da = caso.bounded(r.size());
                    r.remove(da, caso.bounded(1, 12));
                }
                break;
            default: // noise
                r.clear();
                for (int k = caso.bounded(200); k > 0; --k)
                    r.append(QChar(caso.bounded(1, 256)));
                break;
            }
            const auto sms = InterpreteSms::Leggi(r);
            if (!sms)
                continue;
            ++letti;
            QVERIFY(r.contains(sms->testo));
            QVERIFY(QString(r).remove(QLatin1Char('"'))
                        .contains(QString(sms->mittente).remove(QLatin1Char('"'))));
            QVERIFY(!sms->mittente.isEmpty());
            QVERIFY(sms->data.isEmpty() || formaData.match(sms->data).hasMatch());
            QVERIFY(sms->orario.isEmpty() || formaOra.match(sms->orario).hasMatch());
            QCOMPARE(sms->data.isEmpty(), sms->orario.isEmpty());
        }
        // The mangling leaves many replies readable: the check above really ran.
        QVERIFY(letti > 500);
    }

    // The extended header: <tooa>,<fo>,<pid>,<dcs>,<sca>,<tosca>,<length> after the time stamp
    // change no other field, and a UCS2 body with its user-data header is read as written.
    void intestazioneEstesa() {
        const QString h =
            QStringLiteral("\"REC UNREAD\",\"+393331234567\",,\"26/12/07,10:15:30+04\"");
        const QString coda = QStringLiteral(",145,68,0,8,\"+393359609600\",145,16");
        const auto sms = InterpreteSms::Leggi(
            risposta(h + coda, QStringLiteral("050003070302004F004B00200032")));
        QVERIFY(sms);
        QCOMPARE(sms->numero, QStringLiteral("3331234567"));
        QCOMPARE(sms->data, QStringLiteral("07/12/26"));
        QCOMPARE(sms->orario, QStringLiteral("10:15:30"));
        QCOMPARE(*sms->fo, 68);
        QCOMPARE(*sms->dcs, 8);
        QCOMPARE(sms->testo, QStringLiteral("OK 2"));
        QCOMPARE(sms->concatenazione->numero, 2);
        // Without the extended header, or with a body that is no hexadecimal, nothing is decoded.
        QCOMPARE(InterpreteSms::Leggi(risposta(h, QStringLiteral("004F004B")))->testo,
                 QStringLiteral("004F004B"));
        QCOMPARE(InterpreteSms::Leggi(risposta(h + coda, QStringLiteral("Ciao")))->testo,
                 QStringLiteral("Ciao"));
    }

    // 5,000 random headers with extra fields of every shape, some cut short: the parser never
    // fails nor reads outside the reply, the fields it takes are the reply's own, and a header
    // that is whole is read whole.
    void intestazioniCasualiConCampiInPiu() {
        QRandomGenerator caso(16122026);
        const QStringList pezzi{QStringLiteral("145"),         QStringLiteral("129"),
                                QStringLiteral("0"),           QStringLiteral("4"),
                                QStringLiteral("68"),          QStringLiteral("8"),
                                QStringLiteral("-1"),          QStringLiteral("256"),
                                QStringLiteral("99999999999"), QStringLiteral("\"+393359609600\""),
                                QStringLiteral("\"\""),        QStringLiteral("\"a,b\""),
                                QStringLiteral("\""),          QString(),
                                QStringLiteral("x"),           QStringLiteral("\u00e9")};
        const QString segni = QStringLiteral("0123456789ABCDEF\",\r\n OK");
        int interi = 0;
        for (int giro = 0; giro < 5000; ++giro) {
            const int fo = caso.bounded(2) ? 0x44 : 0x04;
            const int dcs = QList<int>{0, 4, 8, 0xF4, 0x18}.at(caso.bounded(5));
            QString h = QStringLiteral("\"REC READ\",\"+39333%1\",").arg(caso.bounded(1000000));
            if (caso.bounded(2))
                h += QStringLiteral("\"\"");
            h += caso.bounded(4) ? QStringLiteral(",\"26/12/07,10:15:30+04\"")
                                 : QStringLiteral(",26/12/07,10:15:30+04");
            const bool regolare = caso.bounded(2);
            if (regolare)
                h += QStringLiteral(",145,%1,0,%2,\"+393359609600\",145,9").arg(fo).arg(dcs);
            for (int k = caso.bounded(regolare ? 4 : 12); k > 0; --k)
                h += QLatin1Char(',') + pezzi.at(caso.bounded(pezzi.size()));
            QString corpo;
            for (int k = caso.bounded(40); k > 0; --k)
                corpo += segni.at(caso.bounded(segni.size()));
            QString r = risposta(h, corpo);
            const bool tagliata = caso.bounded(5) == 0;
            if (tagliata)
                r.truncate(caso.bounded(r.size() + 1));
            const auto sms = InterpreteSms::Leggi(r);
            if (!sms)
                continue;
            QVERIFY(r.contains(sms->corpo));
            QVERIFY(r.contains(sms->mittente));
            QVERIFY(!sms->fo || (*sms->fo >= 0 && *sms->fo <= 255));
            QVERIFY(!sms->dcs || (*sms->dcs >= 0 && *sms->dcs <= 255));
            if (sms->testo != sms->corpo)
                QVERIFY(sms->fo && sms->dcs);
            if (sms->concatenazione)
                QVERIFY(sms->concatenazione->numero >= 1 &&
                        sms->concatenazione->numero <= sms->concatenazione->parti);
            if (tagliata || !regolare)
                continue;
            ++interi;
            QCOMPARE(sms->orario, QStringLiteral("10:15:30"));
            QCOMPARE(*sms->fo, fo);
            QCOMPARE(*sms->dcs, dcs);
        }
        QVERIFY(interi > 1500);
    }
};

QTEST_GUILESS_MAIN(TstInterpreteSms)
#include "tst_interpretesms.moc"
