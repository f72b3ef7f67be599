#include "BancoMotorePty.h"
#include "ConnessioneEsterna.h"
#include "DatiDiProva.h"
#include "archive/RubricaClienti.h"
#include "desk/OperazioniSmsInAttesa.h"
#include "modem/RicezioneSms.h"
#include "modem/SmsLetto.h"

#include <QRandomGenerator>
#include <QTest>

using Guasto = ModemSimulato::Guasto;

namespace {

const QByteArray kMario = "+393331112222";

struct Pendente {
    QString numero, data, orario, orario2, orario3, testo;
    bool operator==(const Pendente&) const = default;
};

// What really landed in SmsTemporanei, read through another connection.
QList<Pendente> pendenti(const CartellaDiProva& c) {
    Archivio a;
    a.ApriArchivio(c.percorso());
    QList<Pendente> esito;
    Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        esito.append({rs.Testo(QStringLiteral("T3Numero")),
                      rs.Testo(QStringLiteral("T3DataArrivo")),
                      rs.Testo(QStringLiteral("T3OrarioArrivo")),
                      rs.Testo(QStringLiteral("T3OrarioArrivo2")),
                      rs.Testo(QStringLiteral("T3OrarioArrivo3")),
                      rs.Testo(QStringLiteral("T3TestoSmsRicevuto"))});
    return esito;
}

SmsSim sms(const QByteArray& mittente, const QByteArray& stamp, const QByteArray& testo,
           std::optional<QByteArray> alfa = QByteArray()) {
    SmsSim s;
    s.mittente = mittente;
    s.timestamp = stamp;
    s.testo = testo;
    s.alfa = std::move(alfa);
    return s;
}

// Commands heard from the first read of the first scan on.
QList<QByteArray> letturaECancellazioni(BancoMotorePty& b) {
    QList<QByteArray> c = b.comandi();
    const qsizetype primo = c.indexOf("AT+CMGR=1");
    return primo < 0 ? QList<QByteArray>{} : c.mid(primo);
}

// A piece of a long message from Mario, as read from the SIM.
SmsLetto parte(const QString& orario, const QString& testo, int numero, int totale = 2,
               int riferimento = 42) {
    SmsLetto s;
    s.mittente = QStringLiteral("+393331112222");
    s.numero = QStringLiteral("3331112222");
    s.data = QStringLiteral("07/12/26");
    s.orario = orario;
    s.testo = testo;
    s.concatenazione = CorpoSms::Concatenazione{riferimento, totale, numero};
    return s;
}

QStringList testi(const CartellaDiProva& c) {
    QStringList t;
    for (const Pendente& p : pendenti(c))
        t << p.testo;
    return t;
}

} // namespace

class TstRicezioneSms : public QObject {
    Q_OBJECT

private slots:
    // Messages at 1, 3 and 5. A modem that tells how many it holds has them all read in one
    // scan, each deleted once stored; one that does not is scanned up to its second empty slot,
    // and the message at 5 comes with the next scan, which goes on from there.
    void scansioneDellePosizioni_data() {
        QTest::addColumn<bool>("contaMessaggi");
        QTest::newRow("il modem dice quanti sono") << true;
        QTest::newRow("il modem non lo dice") << false;
    }
    void scansioneDellePosizioni() {
        QFETCH(bool, contaMessaggi);
        BancoMotorePty b(1, false, [](Archivio& a) {
            DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        });
        ModemSimulato& m = b.modem();
        m.impostaSenzaCpms(!contaMessaggi);
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        m.impostaSms(3, sms("+393479990000", "26/12/07,10:20:00+04", "Due diavole"));
        m.impostaSms(5, sms(kMario, "26/12/07,10:30:00+04", "Anche una birra"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.scansioniConcluse == 1; }));
        const QList<QByteArray> tutti{"AT+CMGR=1", "AT+CMGD=1", "AT+CMGR=2", "AT+CMGR=3",
                                      "AT+CMGD=3", "AT+CMGR=4", "AT+CMGR=5", "AT+CMGD=5"};
        QCOMPARE(letturaECancellazioni(b), contaMessaggi ? tutti : tutti.mid(0, 6));
        QCOMPARE(m.slotOccupati(), contaMessaggi ? QList<int>{} : QList<int>{5});
        QCOMPARE(b.registrati.size(), contaMessaggi ? 3 : 2);
        QCOMPARE(b.registrati[0].nome, QStringLiteral("Mario Rossi"));
        QCOMPARE(b.registrati[1].nome, QStringLiteral("Nuovo Cliente"));
        QCOMPARE(b.globale->NumeroCorrente,
                 contaMessaggi ? QStringLiteral("3331112222") : QStringLiteral("3479990000"));
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "", "", "Una margherita"},
            {"3479990000", "07/12/26", "10:20:00", "", "", "Due diavole"},
            {"3331112222", "07/12/26", "10:30:00", "", "", "Anche una birra"}};
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella), attesi);
        // A message in a slot emptied by an earlier scan is found too.
        m.impostaSms(2, sms(kMario, "26/12/07,11:00:00+04", "Ancora io"));
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella).size(), 4);
    }

    // Twenty orders on the SIM, and the program ended four times at random moments of its
    // scans and started again: in the end every order is stored once and none is left behind,
    // whatever gaps the interrupted scans left between them.
    void nessunMessaggioRestaSullaSimDopoInterruzioni() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        QStringList attesi;
        for (int i = 1; i <= 20; ++i) {
            const QByteArray minuti = QByteArray::number(10 + i);
            m.impostaSms(i, sms(kMario, "26/12/07,10:" + minuti + ":00+04",
                                "Ordine " + QByteArray::number(i)));
            attesi << QStringLiteral("Ordine %1").arg(i);
        }
        QRandomGenerator caso(20261208);
        QVERIFY(b.avviaFinoAdAbilitato());
        for (int interruzione = 0; interruzione < 4; ++interruzione) {
            QVERIFY(b.finche([&] { return b.comandi().last().startsWith("AT+CMG"); }));
            b.tick(int(caso.bounded(5, 40)));
            b.riavviaProgramma();
            QVERIFY(b.finche([&] { return b.abilitato(); }));
        }
        QVERIFY(b.simSvuotata());
        QCOMPARE(testi(b.cartella), attesi);
    }

    // The forms real modems send, each stored whole, on a line with the echo left on or with
    // unsolicited lines around or inside the reply.
    void formeRealiSullaLinea_data() {
        QTest::addColumn<bool>("ecoFisso");
        QTest::addColumn<int>("guasto");
        QTest::newRow("linea pulita") << false << int(Guasto::Nessuno);
        QTest::newRow("eco sempre attiva") << true << int(Guasto::Nessuno);
        QTest::newRow("righe spontanee fuori") << false << int(Guasto::IntrusoFuori);
        QTest::newRow("righe spontanee dentro") << false << int(Guasto::Intruso);
    }
    void formeRealiSullaLinea() {
        QFETCH(bool, ecoFisso);
        QFETCH(int, guasto);
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaEcoFisso(ecoFisso);
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Alfa omessa", std::nullopt));
        m.impostaSms(2, sms(kMario, "2026/12/07,11:00:00+4", "Anno intero"));
        m.impostaSms(3, sms(kMario, "26/12/07,12:00:00+40", "Vorrei la \"diavola\" alle 20",
                            QByteArray("Mario")));
        m.impostaSms(4, sms(kMario, "26/12/07,13:00:00-08",
                            "Per stasera:\r\nOK\r\n2 pizze\r\n"
                            "S\xec, grazie"));
        m.impostaSms(5, sms("3331112222", "26/12/07,14:00:00+04", "Numero nazionale"));
        QVERIFY(b.avviaFinoAdAbilitato());
        m.impostaGuasto(Guasto(guasto));
        QVERIFY(b.simSvuotata());
        m.impostaGuasto(Guasto::Nessuno);
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "", "", "Alfa omessa"},
            {"3331112222", "07/12/26", "11:00:00", "", "", "Anno intero"},
            {"3331112222", "07/12/26", "12:00:00", "", "", "Vorrei la \"diavola\" alle 20"},
            {"3331112222", "07/12/26", "13:00:00", "", "",
             QStringLiteral("Per stasera:\r\nOK\r\n2 pizze\r\nSì, grazie")},
            {"3331112222", "07/12/26", "14:00:00", "", "", "Numero nazionale"}};
        QCOMPARE(pendenti(b.cartella), attesi);
    }

    // The pieces of one long message a second or so apart make one record; a piece 5 s after
    // the first is a message of its own; pieces in the same second are all kept. Each piece read
    // again, even one between the first and the latest, is known and not stored twice.
    void partiDiUnMessaggioLungo() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        const SmsSim seconda = sms(kMario, "26/12/07,10:15:33+04", "una margherita,");
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Vorrei tre pizze:"));
        m.impostaSms(2, seconda);
        m.impostaSms(3, sms(kMario, "26/12/07,10:15:34+04", "due capricciose."));
        m.impostaSms(4, sms(kMario, "26/12/07,10:15:35+04", "Alle 20."));
        m.impostaSms(5, sms("+393479990000", "26/12/07,10:15:31+04", "Altro cliente"));
        m.impostaSms(6, sms("+393479990000", "26/12/07,10:15:31+04", "stesso secondo"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "10:15:34", "10:15:33",
             "Vorrei tre pizze: una margherita, due capricciose."},
            {"3331112222", "07/12/26", "10:15:35", "", "", "Alle 20."},
            {"3479990000", "07/12/26", "10:15:31", "10:15:31", "", "Altro cliente stesso secondo"}};
        QCOMPARE(pendenti(b.cartella), attesi);
        using E = RicezioneSms::Esito;
        const auto nuovi = [&] {
            return std::count_if(
                b.registrati.cbegin(), b.registrati.cend(),
                [](const RicezioneSms::Risultato& r) { return r.esito == E::Nuovo; });
        };
        QCOMPARE(b.registrati.size(), 6);
        QCOMPARE(nuovi(), 3);
        // The middle part comes back (its delete was lost): nothing changes.
        m.impostaSms(1, seconda);
        QVERIFY(b.simSvuotata());
        QCOMPARE(b.registrati.last().esito, E::Duplicato);
        QCOMPARE(pendenti(b.cartella), attesi);
    }

    // A message read again (its delete was lost) is stored once and deleted.
    void lettoDueVolteSiRegistraUnaVolta() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        const SmsSim s = sms(kMario, "26/12/07,10:15:30+04", "Una margherita");
        m.impostaSms(1, s);
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        m.impostaSms(1, s);
        QVERIFY(b.simSvuotata());
        QCOMPARE(pendenti(b.cartella).size(), 1);
        QCOMPARE(b.registrati.last().esito, RicezioneSms::Esito::Duplicato);
    }

    // A delete refused and then taken on its second try; another refused and then unanswered:
    // that message stays on the SIM, and read again, after its order was archived at the desk,
    // it is only deleted, never stored as a new order.
    void cancellazioneRifiutataONonRisposta() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        m.impostaSms(2, sms("+393479990000", "26/12/07,10:20:00+04", "Due diavole"));
        m.impostaGuastiCancellazione(
            {Guasto::Errore, Guasto::Nessuno, Guasto::Errore, Guasto::Muto});
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.scansioniConcluse == 1; }));
        QCOMPARE(letturaECancellazioni(b),
                 (QList<QByteArray>{"AT+CMGR=1", "AT+CMGD=1", "AT+CMGD=1", "AT+CMGR=2", "AT+CMGD=2",
                                    "AT+CMGD=2"}));
        QCOMPARE(m.slotOccupati(), QList<int>{2});
        QCOMPARE(pendenti(b.cartella).size(), 2);

        // The desk archives the second order before the next scan reads its slot again.
        Recordset& rs = b.globale->archivio.ApriTabella(QStringLiteral("SmsTemporanei"));
        for (rs.MoveFirst(); rs.Testo(QStringLiteral("T3Numero")) != "3479990000";)
            rs.MoveNext();
        QVERIFY(OperazioniSmsInAttesa::Archivia(b.globale->archivio, rs.Rowid()));
        QVERIFY(b.simSvuotata());
        QCOMPARE(b.scansioniConcluse, 2);
        QCOMPARE(testi(b.cartella), QStringList{QStringLiteral("Una margherita")});
        QCOMPARE(b.registrati.size(), 2);
        QCOMPARE(letturaECancellazioni(b).mid(6),
                 (QList<QByteArray>{"AT+CREG?", "AT+CSQ", "AT+CPMS?", "AT+CMGR=1", "AT+CMGR=2",
                                    "AT+CMGD=2"}));
    }

    // Operator and credit messages are known by their sender, never by a word of the text.
    void messaggiDelGestoreRiconosciutiDalMittente() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSms(1, sms("TIM", "26/12/07,09:00:00+04", "Offerta del mese"));
        m.impostaSms(2, sms(kMario, "26/12/07,10:15:30+04", "Ottimo, a domani"));
        m.impostaSms(3, sms("+393479990000", "26/12/07,10:16:00+04", "Vengo con TIM"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(testi(b.cartella), (QStringList{"Ottimo, a domani", "Vengo con TIM"}));
    }

    void creditoPerSmsDalNumeroDelCredito() {
        BancoMotorePty b(1, false, [](Archivio& a) {
            Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
            rs.MoveFirst();
            rs.Edit();
            rs.Imposta(QStringLiteral("TelCredito"), QStringLiteral("40916"));
            rs.Imposta(QStringLiteral("ModRispCredito"), 1);
            rs.Update();
        });
        ModemSimulato& m = b.modem();
        m.impostaSms(1, sms("40916", "26/12/07,09:00:00+04", "Il credito residuo e' 12,34 Euro."));
        m.impostaSms(2, sms(kMario, "26/12/07,10:15:30+04", "Mi costa 10 euro?"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.simSvuotata());
        QCOMPARE(b.globale->gestore.credito, QStringLiteral("12,34"));
        QCOMPARE(b.p().credito.testo, QStringLiteral("Credito : 12,34"));
        ConnessioneEsterna altro(b.cartella.file(Archivio::NomeFile()));
        QCOMPARE(altro.valore("SELECT CreditoSim FROM DatiGestoreSim").toString(),
                 QStringLiteral("12,34"));
        // A credit grown is a top-up, by SMS as by USSD.
        QCOMPARE(altro.valore("SELECT DataScadenza FROM DatiGestoreSim").toString(),
                 QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        // The customer's message mentioning euro is an order like any other.
        QCOMPARE(testi(b.cartella), QStringList{QStringLiteral("Mi costa 10 euro?")});
    }

    // The archive held by another program in the middle of a scan: the message stays on the
    // SIM, the user is told once, and once the archive is free every message is stored once.
    void archivioBloccatoAMetaScansione() {
        BancoMotorePty b;
        ModemSimulato& m = b.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Primo"));
        m.impostaSms(2, sms(kMario, "26/12/07,10:20:00+04", "Secondo"));
        m.impostaSms(3, sms(kMario, "26/12/07,10:25:00+04", "Terzo"));
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(b.finche([&] { return b.comandi().contains("AT+CMGD=1"); }));
        auto altro = std::make_unique<ConnessioneEsterna>(b.cartella.file(Archivio::NomeFile()));
        QCOMPARE(altro->esegui("BEGIN EXCLUSIVE"), 0);
        // Three more polls while the archive is held.
        const int letture = int(b.comandi().count("AT+CMGR=2"));
        QVERIFY(b.finche([&] { return b.comandi().count("AT+CMGR=2") >= letture + 3; }));
        QCOMPARE(m.slotOccupati(), (QList<int>{2, 3}));
        const auto avvisiArchivio = [&] {
            return b.dialogo.testi().filter(QStringLiteral("Impossibile salvare"));
        };
        QCOMPARE(avvisiArchivio().size(), 1);
        QVERIFY(avvisiArchivio()[0].startsWith(
            QStringLiteral("Impossibile salvare nell'archivio l'SMS ricevuto da 3331112222.\n")));
        QVERIFY(avvisiArchivio()[0].contains(QStringLiteral("/ 3218\n")));
        QVERIFY(avvisiArchivio()[0].endsWith(
            QStringLiteral("resta sulla SIM e sarà salvato alla prossima lettura.")));
        QVERIFY(!b.comandi().contains("AT+CMGD=2"));

        altro->esegui("ROLLBACK");
        altro.reset();
        QVERIFY(b.simSvuotata());
        QCOMPARE(testi(b.cartella), (QStringList{"Primo", "Secondo", "Terzo"}));
        QCOMPARE(avvisiArchivio().size(), 1);
    }

    // Pieces of long messages are known by sender, reference, count and number: a short last
    // piece in the same second as the first is no second reading, a plain message between two
    // pieces keeps its own record, the pieces join across a restart of the program, and a
    // missing piece leaves a mark. Each case on the archive file, reopened as after a restart.
    void partiConosciuteDalRiferimento() {
        CartellaDiProva c;
        RubricaClienti rubrica;
        const QDateTime adesso(QDate(2026, 12, 8), QTime(9, 30, 5));
        using E = RicezioneSms::Esito;
        const auto registra = [&](const SmsLetto& s) {
            Archivio a; // a fresh start of the program each time
            a.ApriArchivio(c.percorso());
            return RicezioneSms::Registra(a, rubrica, s, adesso).esito;
        };
        SmsLetto ciao = parte(QStringLiteral("10:16:32"), QStringLiteral("Ciao!"), 1);
        ciao.concatenazione.reset();

        QCOMPARE(registra(parte("10:15:30", "Due margherite. Grazie mill", 1)), E::Nuovo);
        QCOMPARE(registra(parte("10:15:30", "e.", 2)), E::Unito);
        QCOMPARE(registra(parte("10:15:30", "e.", 2)), E::Duplicato);
        QCOMPARE(registra(parte("10:16:30", "Una birra", 1, 2, 43)), E::Nuovo);
        QCOMPARE(registra(ciao), E::Nuovo);
        QCOMPARE(registra(parte("10:16:31", " media", 2, 2, 43)), E::Unito);
        QCOMPARE(registra(parte("10:17:00", "Uno ", 1, 3, 44)), E::Nuovo);
        QCOMPARE(registra(parte("10:17:01", "tre.", 3, 3, 44)), E::Unito);
        QCOMPARE(registra(parte("10:18:00", "coda", 3, 3, 45)), E::Nuovo);
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "10:15:30", "", "Due margherite. Grazie mille."},
            {"3331112222", "07/12/26", "10:16:30", "10:16:31", "", "Una birra media"},
            {"3331112222", "07/12/26", "10:16:32", "", "", "Ciao!"},
            {"3331112222", "07/12/26", "10:17:00", "10:17:01", "", "Uno […]tre."},
            {"3331112222", "07/12/26", "10:18:00", "", "", "[…]coda"}};
        QCOMPARE(pendenti(c), attesi);
        // The missing piece comes at last: the mark goes.
        QCOMPARE(registra(parte("10:17:02", "due ", 2, 3, 44)), E::Unito);
        QCOMPARE(pendenti(c)[3].testo, QStringLiteral("Uno due tre."));
    }

    // The storing rules on their own, without a modem.
    void regoleDiRegistrazione() {
        CartellaDiProva c;
        Archivio a;
        a.ApriArchivio(c.percorso());
        RubricaClienti rubrica;
        const QDateTime adesso(QDate(2026, 12, 8), QTime(9, 30, 5));
        const auto letto = [](const QString& orario, const QString& testo,
                              const QString& data = QStringLiteral("07/12/26")) {
            SmsLetto s;
            s.mittente = QStringLiteral("+393331112222");
            s.numero = QStringLiteral("3331112222");
            s.data = data;
            s.orario = orario;
            s.testo = testo;
            return s;
        };
        using E = RicezioneSms::Esito;
        QCOMPARE(
            RicezioneSms::Registra(a, rubrica, letto("10:15:33", "seconda parte"), adesso).esito,
            E::Nuovo);
        // Slots are not read in time order: the older first part joins the record.
        const auto r = RicezioneSms::Registra(a, rubrica, letto("10:15:30", "prima parte"), adesso);
        QCOMPARE(r.esito, E::Unito);
        QCOMPARE(r.orarioPrimo, QStringLiteral("10:15:33"));
        QCOMPARE(r.nome, QStringLiteral("Nuovo Cliente"));
        // Same time and a text already in the record: read twice.
        QCOMPARE(RicezioneSms::Registra(a, rubrica, letto("10:15:30", "prima parte"), adesso).esito,
                 E::Duplicato);
        // Another day, another message.
        QCOMPARE(
            RicezioneSms::Registra(a, rubrica, letto("10:15:30", "prima parte", "08/12/26"), adesso)
                .esito,
            E::Nuovo);
        // A stamp the modem garbled: stored with the clock's date and time, not left behind.
        const auto senzaData =
            RicezioneSms::Registra(a, rubrica, letto("", "senza data", ""), adesso);
        QCOMPARE(senzaData.esito, E::Nuovo);
        QCOMPARE(senzaData.data, QStringLiteral("08/12/26"));
        QCOMPARE(senzaData.orarioPrimo, QStringLiteral("09:30:05"));
        QCOMPARE(pendenti(c).size(), 3);
        QCOMPARE(pendenti(c)[0].testo, QStringLiteral("seconda parte prima parte"));
        QCOMPARE(pendenti(c)[2].orario, QStringLiteral("09:30:05"));
    }
};

QTEST_GUILESS_MAIN(TstRicezioneSms)
#include "tst_ricezionesms.moc"
