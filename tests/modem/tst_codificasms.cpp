#include "CaratteriSim.h"
#include "CodificaSim.h"
#include "ModemSimulato.h"
#include "modem/AlfabetoGsm.h"
#include "modem/CorpoSms.h"
#include "modem/InsiemeCaratteri.h"
#include "modem/InterpreteSms.h"
#include "platform/CodicePagina1252.h"
#include "printing/AvvolgimentoRiga.h"

#include <QTest>

namespace {

const QString kPizza = QStringLiteral("Vorrei un’altra pizza 🍕 alle 20");
// The same text as a phone codes it in UCS2 (UTF-16, big-endian).
const QString kPizzaUcs2 = QStringLiteral(
    "0056006F007200720065006900200075006E20190061006C007400720061002000700069007A007A006100"
    "20D83CDF5500200061006C006C0065002000320030");

} // namespace

class TstCodificaSms : public QObject {
    Q_OBJECT

private slots:
    void alfabetoDalloSchemaDiCodifica_data() {
        QTest::addColumn<int>("dcs");
        QTest::addColumn<int>("alfabeto");
        using A = CorpoSms::Alfabeto;
        QTest::newRow("7 bit") << 0x00 << int(A::Gsm7);
        QTest::newRow("8 bit") << 0x04 << int(A::Otto);
        QTest::newRow("UCS2") << 0x08 << int(A::Ucs2);
        QTest::newRow("UCS2 con classe") << 0x18 << int(A::Ucs2);
        QTest::newRow("UCS2 da cancellare") << 0x48 << int(A::Ucs2);
        QTest::newRow("compresso") << 0x28 << int(A::Gsm7);
        QTest::newRow("attesa messaggi UCS2") << 0xE0 << int(A::Ucs2);
        QTest::newRow("attesa messaggi") << 0xC8 << int(A::Gsm7);
        QTest::newRow("classe 8 bit") << 0xF4 << int(A::Otto);
        QTest::newRow("classe 7 bit") << 0xF1 << int(A::Gsm7);
        QTest::newRow("fuori scala") << 300 << int(A::Gsm7);
    }
    void alfabetoDalloSchemaDiCodifica() {
        QFETCH(int, dcs);
        QFETCH(int, alfabeto);
        QCOMPARE(int(CorpoSms::AlfabetoDaDcs(dcs)), alfabeto);
    }

    // Bodies as the modem shows them, each back to what the sender wrote; the user-data header
    // goes, its concatenation reference (8 or 16 bits) stays.
    void corpiDecodificati() {
        auto d = CorpoSms::Decodifica(kPizzaUcs2, 0x04, 0x08);
        QVERIFY(d);
        QCOMPARE(d->testo, kPizza);
        QVERIFY(!d->concatenazione);

        d = CorpoSms::Decodifica(QStringLiteral("0608041234030200500069007A007A0061"), 0x44, 0x08);
        QVERIFY(d);
        QCOMPARE(d->testo, QStringLiteral("Pizza"));
        QCOMPARE(d->concatenazione->riferimento, 0x1234);
        QCOMPARE(d->concatenazione->parti, 3);
        QCOMPARE(d->concatenazione->numero, 2);

        d = CorpoSms::Decodifica(QStringLiteral(" 050003A7020143616666E8 \r\n"), 0x44, 0xF4);
        QVERIFY(d);
        QCOMPARE(d->testo, QStringLiteral("Caffè"));
        QCOMPARE(d->concatenazione->riferimento, 0xA7);

        // A plain 7-bit body is already text in the modem's set.
        d = CorpoSms::Decodifica(QStringLiteral("Sì, perché no?"), 0x04, 0x00);
        QCOMPARE(d->testo, QStringLiteral("Sì, perché no?"));

        // 7-bit septets with a header: the fill bit after it is skipped.
        const QString lungo = QStringLiteral("Sì, perché no? Costa 8 € [due] @ casa");
        const QByteArray udh("\x05\x00\x03\x07\x03\x01", 6);
        d = CorpoSms::Decodifica(CorpoSms::InEsadecimale(AlfabetoGsm::Impacchetta(lungo, udh)),
                                 0x44, 0x00);
        QVERIFY(d);
        QCOMPARE(d->testo, lungo);
        QCOMPARE(d->concatenazione->numero, 1);

        // An element other than concatenation is passed over; a piece numbered 0 is none.
        d = CorpoSms::Decodifica(QStringLiteral("080A01000003070301004F004B"), 0x44, 0x08);
        QCOMPARE(d->testo, QStringLiteral("OK"));
        QCOMPARE(d->concatenazione->parti, 3);
        d = CorpoSms::Decodifica(QStringLiteral("050003070300004F004B"), 0x44, 0x08);
        QCOMPARE(d->testo, QStringLiteral("OK"));
        QVERIFY(!d->concatenazione);
    }

    // What is not the hexadecimal its coding promises is no decoded body: the caller keeps it.
    void corpiIllegibili() {
        QVERIFY(!CorpoSms::Decodifica(QStringLiteral("0056006"), 0x04, 0x08));
        QVERIFY(!CorpoSms::Decodifica(QStringLiteral("Ciao"), 0x04, 0x08));
        QVERIFY(!CorpoSms::Decodifica(QStringLiteral("Ciao a tutti"), 0x44, 0x00));
        QVERIFY(!CorpoSms::Decodifica(QStringLiteral("0A0000"), 0x44, 0x08));
        QVERIFY(!CorpoSms::Decodifica(QString(), 0x44, 0x04));
        QCOMPARE(CorpoSms::Decodifica(QString(), 0x04, 0x08)->testo, QString());
    }

    // The classic septet packing, and the seven spare bits that are no "@".
    void septetti() {
        QCOMPARE(AlfabetoGsm::Spacchetta(QByteArray::fromHex("E8329BFD4697D9EC37"), 0),
                 QStringLiteral("hellohello"));
        QCOMPARE(AlfabetoGsm::Impacchetta(QStringLiteral("hellohello")).toHex().toUpper(),
                 QByteArray("E8329BFD4697D9EC37"));
        const QByteArray sette = AlfabetoGsm::Impacchetta(QStringLiteral("1234567"));
        QCOMPARE(sette.size(), 7);
        QCOMPARE(AlfabetoGsm::Spacchetta(sette, 0), QStringLiteral("1234567"));
        // A real "@" at the end stays when a septet of spare bits follows it.
        QCOMPARE(AlfabetoGsm::Spacchetta(AlfabetoGsm::Impacchetta(QStringLiteral("123456@")), 0),
                 QStringLiteral("123456@"));
        QCOMPARE(AlfabetoGsm::Spacchetta(AlfabetoGsm::Impacchetta(QStringLiteral("â")), 0),
                 QStringLiteral("?"));
    }

    // Vectors of the 3GPP coding rules, in hexadecimal, against the program's coding and the
    // simulator's own, written apart: a fault in one is not mirrored by the other.
    void vettoriDelleRegoleDiCodifica_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QByteArray>("intestazione"); // the user-data header, length included
        QTest::addColumn<QByteArray>("attesi");
        QTest::newRow("settetti classici")
            << QStringLiteral("hellohello") << QByteArray() << QByteArray("E8329BFD4697D9EC37");
        QTest::newRow("quattro lettere")
            << QStringLiteral("Test") << QByteArray() << QByteArray("D4F29C0E");
        QTest::newRow("euro dalla tabella estesa")
            << QStringLiteral("€") << QByteArray() << QByteArray("9B32"); // 1B 65
        QTest::newRow("lettere italiane")
            << QStringLiteral("è@ù") << QByteArray() << QByteArray("048001"); // 04 00 06
        // A 6-octet header leaves one fill bit before the first septet; a 7-octet one none.
        QTest::newRow("concatenazione a 8 bit")
            << QStringLiteral("Hi") << QByteArray("0500032A0201") << QByteArray("0500032A02019069");
        QTest::newRow("concatenazione a 16 bit")
            << QStringLiteral("Hi") << QByteArray("060804012C0201")
            << QByteArray("060804012C0201C834");
    }
    void vettoriDelleRegoleDiCodifica() {
        QFETCH(QString, testo);
        QFETCH(QByteArray, intestazione);
        QFETCH(QByteArray, attesi);
        const QByteArray udh = QByteArray::fromHex(intestazione);
        QCOMPARE(AlfabetoGsm::Impacchetta(testo, udh).toHex().toUpper(), attesi);
        const std::optional<QList<int>> codici = CodificaSim::Codici(testo, true);
        QVERIFY(codici);
        QCOMPARE(CodificaSim::Impacchetta(*codici, udh).toHex().toUpper(), attesi);
        const int salto = (int(udh.size()) * 8 + 6) / 7 * 7;
        QCOMPARE(AlfabetoGsm::Spacchetta(QByteArray::fromHex(attesi), salto), testo);
        if (!udh.isEmpty()) {
            const auto d = CorpoSms::Decodifica(QString::fromLatin1(attesi), 0x44, 0x00);
            QVERIFY(d);
            QCOMPARE(d->testo, testo);
            QCOMPARE(d->concatenazione->riferimento, udh.size() == 6 ? 0x2A : 0x012C);
        }
    }

    // UCS2 is UTF-16 big-endian: a character beyond the first plane is a surrogate pair.
    void vettoriUcs2() {
        const QString testo = QStringLiteral("è€😊");
        const QByteArray attesi("00E820ACD83DDE0A");
        QCOMPARE(CorpoSms::Ucs2Esadecimale(testo).toLatin1(), attesi);
        QCOMPARE(CodificaSim::Esadecimale(CodificaSim::Ucs2(testo)), attesi);
        QCOMPARE(CorpoSms::Decodifica(QString::fromLatin1(attesi), 0x04, 0x08)->testo, testo);
        QCOMPARE(CodificaSim::DaUcs2(QByteArray::fromHex(attesi)), testo);
        QCOMPARE(CodificaSim::IntestazioneConcatenazione(300, 2, 1).toHex().toUpper(),
                 QByteArray("0804012C0201"));
    }

    // A full 7-bit part: 153 septets after an 8-bit reference header (152 after a 16-bit one)
    // fill 140 octets exactly, so a final "@" (or CR) is a character and not padding; one septet
    // fewer leaves seven spare bits that are padding. The length of the extended header settles
    // it, read from the simulated modem's own reply.
    void parteSetteBitPiena_data() {
        QTest::addColumn<QString>("parte");
        QTest::addColumn<QString>("testo");
        const QString pieno = QString(152, QLatin1Char('x'));
        QTest::newRow("@ finale, 8 bit") << QStringLiteral("7/2/1") << pieno + QLatin1Char('@');
        QTest::newRow("CR finale, 8 bit") << QStringLiteral("7/2/1") << pieno + QLatin1Char('\r');
        QTest::newRow("@ finale, 16 bit")
            << QStringLiteral("300/2/1") << pieno.left(151) + QLatin1Char('@');
        QTest::newRow("un settetto in meno") << QStringLiteral("7/2/1") << pieno;
        QTest::newRow("breve con @") << QStringLiteral("7/2/2") << QStringLiteral("ciao @");
    }
    void parteSetteBitPiena() {
        QFETCH(QString, parte);
        QFETCH(QString, testo);
        SmsSim s;
        s.mittente = "+393331112222";
        s.timestamp = "26/12/07,10:15:30+04";
        QString errore;
        QVERIFY(CaratteriSim::Componi(s, testo, {}, parte, &errore));
        ModemSimulato m;
        m.impostaSms(1, s);
        const QByteArray risposta = m.ricevi("ATE0\rAT+CSDH=1\rAT+CMGR=1\r");
        const auto letto = InterpreteSms::Leggi(
            CodicePagina1252::Decodifica(risposta.mid(risposta.indexOf("+CMGR:"))));
        QVERIFY(letto);
        QCOMPARE(letto->testo, testo);
        QVERIFY(letto->concatenazione);
    }

    // Fields as a modem shows them in its character set, read back.
    void campiNelSetDelModem() {
        const QString gsm = QStringLiteral("Costa 8") + QChar(0x1B) + QStringLiteral("e, ") +
                            QChar(0x04) + QStringLiteral(" a casa?");
        QCOMPARE(InsiemeCaratteri::DalModem(gsm, QStringLiteral("GSM")),
                 QStringLiteral("Costa 8€, è a casa?"));
        QCOMPARE(InsiemeCaratteri::DalModem(QString(QChar(0)) + QStringLiteral("casa"),
                                            QStringLiteral("GSM")),
                 QStringLiteral("@casa"));
        QCOMPARE(InsiemeCaratteri::DalModem(QStringLiteral("002B0033003900330033003300310031"),
                                            QStringLiteral("UCS2")),
                 QStringLiteral("+3933311"));
        QCOMPARE(InsiemeCaratteri::DalModem(QStringLiteral("Sì"), QStringLiteral("8859-1")),
                 QStringLiteral("Sì"));
    }

    // What a plain SMS typed in the modem's set does not carry, each character once.
    void caratteriNonTrasmessi() {
        const QString offerta = QStringLiteral("Offerta: pizza è bibita a 8 € (è vero)");
        QCOMPARE(InsiemeCaratteri::NonTrasmessi(offerta, QStringLiteral("8859-1")),
                 QStringLiteral("€"));
        QCOMPARE(InsiemeCaratteri::NonTrasmessi(offerta, QStringLiteral("IRA")),
                 QStringLiteral("è€"));
        QCOMPARE(InsiemeCaratteri::NonTrasmessi(offerta, QString()), QStringLiteral("è€"));
        QCOMPARE(InsiemeCaratteri::NonTrasmessi(kPizza, QStringLiteral("8859-1")),
                 QStringLiteral("’🍕"));
        QCOMPARE(InsiemeCaratteri::NonTrasmessi(QStringLiteral("Crêpe `x` [1]\nàòù"),
                                                QStringLiteral("8859-1")),
                 QStringLiteral("ê`"));
    }

    // On the receipt printer: curly quotes straight, an emoji one "?" in one column, a letter
    // outside the code page its bare letter, the code page's own letters as themselves.
    void stampaNelCodiceDellaStampante() {
        QCOMPARE(AvvolgimentoRiga::Protocollo(kPizza),
                 QStringLiteral("\"Vorrei un'altra pizza ? alle 20 \"@"));
        QCOMPARE(AvvolgimentoRiga::Protocollo(QStringLiteral("“Dvořák” – 8 € …")),
                 QStringLiteral("\"'Dvorák' – 8 € … \"@"));
        const QString emoji = QStringLiteral("🍕").repeated(34) + QStringLiteral(" fine");
        QCOMPARE(AvvolgimentoRiga::Protocollo(emoji), QStringLiteral("\"") +
                                                          QString(34, QLatin1Char('?')) +
                                                          QStringLiteral(" \"@\"fine \"@"));
        QCOMPARE(CodicePagina1252::Codifica(AvvolgimentoRiga::Protocollo(QStringLiteral("Sì"))),
                 QByteArray("\"S\xEC \"@"));
    }
};

QTEST_GUILESS_MAIN(TstCodificaSms)
#include "tst_codificasms.moc"
