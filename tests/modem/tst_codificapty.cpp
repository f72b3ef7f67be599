#include "BancoMotorePty.h"
#include "CaratteriSim.h"
#include "ServizioControllo.h"

#include <QTest>

namespace {

const QByteArray kMario = "+393331112222";
const QString kPizza = QStringLiteral("Vorrei un’altra pizza 🍕 alle 20");
const QString kOfferta = QStringLiteral("Offerta: pizza è bibita a 8 €");

// A message as the customer's phone sent it: its coding, and its place in a long message.
SmsSim sms(const QString& testo, const QByteArray& stamp, const QString& codifica = {},
           const QString& parte = {}) {
    SmsSim s;
    s.mittente = kMario;
    s.timestamp = stamp;
    QString errore;
    if (!CaratteriSim::Componi(s, testo, codifica, parte, &errore))
        qFatal("%s", qPrintable(errore));
    return s;
}

// The texts of SmsTemporanei, read through another connection, in the table's order.
QStringList pendenti(const CartellaDiProva& c) {
    Archivio a;
    a.ApriArchivio(c.percorso());
    QStringList t;
    Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        t << rs.Testo(QStringLiteral("T3OrarioArrivo")) + QLatin1Char(' ') +
                 rs.Testo(QStringLiteral("T3TestoSmsRicevuto"));
    return t;
}

// One SMS through the engine, as the campaign window sends it; what the phone shows.
QString invia(BancoMotorePty& b, const QString& testo) {
    const qsizetype prima = b.modem().richiesteInviate().size();
    b.motore->invio.TestoDaInviare = [testo] { return testo; };
    b.motore->invio.Preso();
    b.motore->invio.Invia(QStringLiteral("3334445555"));
    if (!b.finche([&] { return b.motore->invio.Concluso(); }) || b.motore->invio.Fallito() ||
        b.modem().richiesteInviate().size() != prima + 1)
        return QStringLiteral("<non partito>");
    return b.modem().richiesteInviate().last().arrivato;
}

QList<QByteArray> codifiche(BancoMotorePty& b) {
    QList<QByteArray> c;
    for (const QByteArray& riga : b.comandi())
        if (riga.startsWith("AT+CSMP"))
            c << riga;
    return c;
}

} // namespace

class TstCodificaPty : public QObject {
    Q_OBJECT

private slots:
    // Today's phones: UCS2 with a curly apostrophe and an emoji, 8 bits, and 7 bits with Italian
    // letters through the 8859-1 set, each stored as written.
    void ordiniScrittiSuiTelefoniDiOggi() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSms(1, sms(kPizza, "26/12/07,10:15:30+04", QStringLiteral("ucs2")));
        m.impostaSms(2,
                     sms(QStringLiteral("Caffè"), "26/12/07,10:16:30+04", QStringLiteral("8bit")));
        m.impostaSms(3, sms(QStringLiteral("Sì, perché no?"), "26/12/07,10:17:30+04"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(m.insieme(), QByteArray("8859-1"));
        QVERIFY(m.intestazioneEstesa());
        QVERIFY(b.motore->codifica.Ucs2());
        QCOMPARE(pendenti(b.cartella), (QStringList{QStringLiteral("10:15:30 ") + kPizza,
                                                    QStringLiteral("10:16:30 Caffè"),
                                                    QStringLiteral("10:17:30 Sì, perché no?")}));
        QCOMPARE(b.registrati.first().testo, kPizza);
        QVERIFY(b.motore->codifica.Note().isEmpty());
    }

    // Three pieces of one long message, 8 s apart, read in two scans and out of order, make one
    // record in their own order; a plain message 8 s later is a record of its own, as always.
    void treParteUniteDalRiferimento() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        const QString p1 =
            QStringLiteral("Buonasera, vorrei ordinare per stasera due pizze marghe");
        const QString p2 = QStringLiteral("rita, una diavola e una 4 stagioni senza funghi, più ");
        const QString p3 = QStringLiteral("due birre. Consegna in via Roma 12 alle 20:30. Grazie!");
        m.impostaSms(1, sms(p2, "26/12/07,10:15:38+04", {}, QStringLiteral("42/3/2")));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella),
                 QStringList{QStringLiteral("10:15:38 […]") + p2 + QStringLiteral("[…]")});
        m.impostaSms(
            1, sms(p3, "26/12/07,10:15:46+04", QStringLiteral("ucs2"), QStringLiteral("42/3/3")));
        m.impostaSms(2, sms(p1, "26/12/07,10:15:30+04", {}, QStringLiteral("42/3/1")));
        m.impostaSms(3, sms(QStringLiteral("Ah, anche un calzone"), "26/12/07,10:15:54+04"));
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella),
                 (QStringList{QStringLiteral("10:15:38 ") + p1 + p2 + p3,
                              QStringLiteral("10:15:54 Ah, anche un calzone")}));
        // A piece read again (its delete was lost) changes nothing.
        m.impostaSms(1, sms(p1, "26/12/07,10:15:30+04", {}, QStringLiteral("42/3/1")));
        QVERIFY(b.simSvuotata());
        QCOMPARE(b.registrati.last().esito, RicezioneSms::Esito::Duplicato);
        QCOMPARE(pendenti(b.cartella).size(), 2);
    }

    // The modem resets itself (a power dip) between two scans and forgets its settings; the
    // orders that come after it are stored as written: a UCS2 one is no hexadecimal, a short
    // last piece read in the same second as the first joins it, and a plain message between
    // two pieces keeps its own record.
    void ordiniDopoCheIlModemRiparteDaSolo_data() {
        QTest::addColumn<bool>("pdu");
        QTest::newRow("riparte in modo testo") << false;
        QTest::newRow("riparte in modo PDU") << true;
    }
    void ordiniDopoCheIlModemRiparteDaSolo() {
        QFETCH(bool, pdu);
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaModoTesto(!pdu);
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        ServizioControllo controllo(m);
        QCOMPARE(controllo.esegui({QStringLiteral("riavvia")}).value(0), QStringLiteral("OK"));
        QVERIFY(!m.intestazioneEstesa());
        QCOMPARE(m.insieme(), QByteArray("IRA"));

        const QString glutine = QStringLiteral("Una pizza senza glutine, è possibile? Grazie 😊");
        const QString prima = QStringLiteral("Due margherite. Vorrei anche una birra, grazie mill");
        SmsSim fine = sms(QStringLiteral("e."), "26/12/07,10:15:30+04", {}, "7/2/2");
        SmsSim inizio = sms(prima, "26/12/07,10:15:30+04", {}, "7/2/1");
        fine.mittente = inizio.mittente = "+393479990000";
        m.impostaSms(1, sms(glutine, "26/12/07,10:15:20+04", QStringLiteral("ucs2")));
        m.impostaSms(2, inizio);
        m.impostaSms(3, fine);
        m.impostaSms(4, sms(QStringLiteral("Pizza al"), "26/12/07,10:16:30+04", {}, "9/2/1"));
        m.impostaSms(5, sms(QStringLiteral("Ciao!"), "26/12/07,10:16:32+04"));
        m.impostaSms(6, sms(QStringLiteral(" tonno"), "26/12/07,10:16:31+04", {}, "9/2/2"));
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella),
                 (QStringList{QStringLiteral("10:15:20 ") + glutine,
                              QStringLiteral("10:15:30 ") + prima + QStringLiteral("e."),
                              QStringLiteral("10:16:30 Pizza al tonno"),
                              QStringLiteral("10:16:32 Ciao!")}));
        QVERIFY(m.intestazioneEstesa());
        QCOMPARE(m.insieme(), QByteArray("8859-1"));
        // The settings were set again once, by the first message that came without them.
        QCOMPARE(b.comandi().count("AT+CSDH=1"), 2);
    }

    // "€" in a plain single SMS, on the three kinds of modem: one that takes "8859-1" (the
    // program's choice, which keeps Italian letters for sending) shows "?"; one that refuses it
    // and stays in "GSM" shows septet codes ("@" a NUL, "è" 0x04, "€" ESC "e"); one that stays
    // in "UCS2" shows every field in hexadecimal. The last two are read in their own set.
    void euroInUnSmsSemplice_data() {
        QTest::addColumn<QByteArray>("insieme");
        QTest::addColumn<QString>("arrivato");
        QTest::newRow("8859-1") << QByteArray() << QStringLiteral("8 ? @ casa, è pronta?");
        QTest::newRow("GSM") << QByteArray("GSM") << QStringLiteral("8 € @ casa, è pronta?");
        QTest::newRow("UCS2") << QByteArray("UCS2") << QStringLiteral("8 € @ casa, è pronta?");
    }
    void euroInUnSmsSemplice() {
        QFETCH(QByteArray, insieme);
        QFETCH(QString, arrivato);
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSenza8859(insieme);
        SmsSim s = sms(QStringLiteral("8 € @ casa, è pronta?"), "26/12/07,10:15:30+04");
        m.impostaSms(1, s);
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella), QStringList{QStringLiteral("10:15:30 ") + arrivato});
        QCOMPARE(b.registrati.first().esito, RicezioneSms::Esito::Nuovo);
    }

    // A campaign text with "€", which 8859-1 cannot carry, goes out as UCS2 and arrives whole;
    // the next plain text switches the coding back and keeps its "è".
    void testoDellaCampagnaInUcs2() {
        BancoMotorePty b;
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(invia(b, kOfferta), kOfferta);
        QCOMPARE(invia(b, kOfferta), kOfferta);
        QCOMPARE(invia(b, QStringLiteral("Grazie, è tutto")), QStringLiteral("Grazie, è tutto"));
        QCOMPARE(codifiche(b), (QList<QByteArray>{"AT+CSMP=17,167,0,0", "AT+CSMP=17,167,0,8",
                                                  "AT+CSMP=17,167,0,0"}));
        // Too long for one UCS2 message: plain, with the nearest letters the set has.
        const QString lungo = QString(70, QLatin1Char('x')) + QStringLiteral(" – ’ok’ 8 €");
        QCOMPARE(invia(b, lungo), QString(70, QLatin1Char('x')) + QStringLiteral(" - 'ok' 8 EUR"));
        QCOMPARE(codifiche(b).size(), 3);
    }

    // After a "€" campaign the modem keeps its UCS2 coding: the program started again sets the
    // plain one at start-up, so the next plain text is accepted; the credit asked by SMS goes
    // through the same coding step.
    void codificaDelModemDopoRiavvioECreditoPerSms() {
        BancoMotorePty b;
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(invia(b, kOfferta), kOfferta);
        QCOMPARE(b.modem().dcsInvio(), 8);
        b.riavviaProgramma();
        QVERIFY(b.finche([&] { return b.abilitato(); }) && b.simSvuotata());
        QCOMPARE(invia(b, QStringLiteral("Grazie, è tutto")), QStringLiteral("Grazie, è tutto"));

        QCOMPARE(invia(b, kOfferta), kOfferta);
        b.globale->gestore.modalita = 1;
        b.globale->gestore.numeroCredito = QStringLiteral("40916");
        b.globale->gestore.testoCredito = QStringLiteral("Credito è");
        QVERIFY(b.finche([&] { return b.s().Registrato && b.s().TickAttesa == 0; }));
        QVERIFY(b.motore->credito.GestioneCredito() == CreditoGsm::Esito::Richiesta);
        QVERIFY(b.finche([&] {
            return b.modem().richiesteInviate().last().destinatario == "40916" &&
                   b.s().TickAttesa == 0;
        }));
        QCOMPARE(b.modem().richiesteInviate().last().arrivato, QStringLiteral("Credito è"));
        QCOMPARE(codifiche(b).last(), QByteArray("AT+CSMP=17,167,0,0"));
    }

    // A modem that refuses AT+CSDH and AT+CSCS: the start-up goes on, messages are received and
    // sent as before (its IRA set shows "?" for an accent), and each refusal is noted once.
    void modemCheRifiutaTutto() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSenzaCsdh(true);
        m.impostaSenzaCscs(true);
        m.impostaSms(1, sms(QStringLiteral("Una margherita"), "26/12/07,10:15:30+04"));
        m.impostaSms(2, sms(QStringLiteral("Sì, perché no?"), "26/12/07,10:15:40+04"));
        m.impostaSms(3,
                     sms(QStringLiteral("Ciao"), "26/12/07,10:15:50+04", QStringLiteral("ucs2")));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella),
                 (QStringList{"10:15:30 Una margherita", "10:15:40 S?, perch? no?",
                              "10:15:50 004300690061006F"}));
        QCOMPARE(b.motore->codifica.Note().size(), 2);
        QVERIFY(!b.motore->codifica.Ucs2());
        QCOMPARE(invia(b, QStringLiteral("Offerta pizza")), QStringLiteral("Offerta pizza"));
        QCOMPARE(invia(b, kOfferta), QStringLiteral("Offerta: pizza ? bibita a 8 ?"));
        // Only the plain coding set at start-up.
        QCOMPARE(codifiche(b), QList<QByteArray>{"AT+CSMP=17,167,0,0"});
        // Searched again, the same modem refuses the same: nothing more is noted.
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.finche([&] { return b.abilitato() && b.comandi().count("AT+CSDH=1") == 2; }));
        QCOMPARE(b.motore->codifica.Note().size(), 2);
    }

    // The program ended between "AT+CMGS=" and its text: the modem still waits for the text.
    // The next start-up drops it with ESC, so "AT" is answered and nothing is sent.
    void unSmsLasciatoAMetaNonBloccaLAvvio() {
        BancoMotorePty b;
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        b.motore->invio.TestoDaInviare = [] { return QStringLiteral("Offerta"); };
        b.motore->invio.Invia(QStringLiteral("3334445555"));
        b.tick();
        QCOMPARE(b.comandi().last(), QByteArray("AT+CMGS=\"3334445555\""));
        b.riavviaProgramma();
        QVERIFY(b.finche([&] { return b.abilitato(); }, 400));
        QCOMPARE(b.motore->stato.PortaCom, 1);
        QVERIFY(b.modem().richiesteInviate().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstCodificaPty)
#include "tst_codificapty.moc"
