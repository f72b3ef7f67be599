#include "BancoPty.h"
#include "CapoPty.h"
#include "ConnessioneEsterna.h"
#include "DatiDiProva.h"
#include "RegistroSuoni.h"
#include "TestoPdf.h"
#include "desk/FormMsgBox1.h"
#include "archive/RubricaClienti.h"
#include "modem/RicezioneSms.h"
#include "printing/StampanteCorrente.h"

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

QStringList riga(const QTreeWidgetItem* r) {
    QStringList celle;
    for (int i = 0; i < 5; ++i)
        celle << r->text(i);
    return celle;
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

// The modem ready and polled, with the program through its first scan.
void pronto(BancoPty& b) {
    QVERIFY(b.avvia());
    QVERIFY(b.finche([&] { return b.abilitato(); }));
}

// Ticks until the modem has been asked to read the given slot and the scan that read it ended.
bool scansioneFinoA(BancoPty& b, const QByteArray& comando, int massimo = 3000) {
    const int prima = int(b.comandi().count(comando));
    return b.finche(
        [&] {
            return b.comandi().count(comando) > prima && b.stato->TipoComando == 5 &&
                   b.form->TickAttesa == 0;
        },
        massimo);
}

// Ticks until every message has left the SIM and the scan that took the last one has ended.
bool simSvuotata(BancoPty& b) {
    return b.finche([&] {
        return b.sim.modem().slotOccupati().isEmpty() && b.stato->TipoComando == 5 &&
               b.form->TickAttesa == 0;
    });
}

// Commands heard from the first read of the first scan on.
QList<QByteArray> letturaECancellazioni(BancoPty& b) {
    QList<QByteArray> c = b.comandi();
    const qsizetype primo = c.indexOf("AT+CMGR=1");
    return primo < 0 ? QList<QByteArray>{} : c.mid(primo);
}

} // namespace

class TstRicezioneSms : public QObject {
    Q_OBJECT

private slots:
    // Messages at 1, 3 and 5: the first scan reads 1, 2 (empty), 3, 4 (empty) and stops, each
    // message deleted after it is stored; the message at 5 comes with the next scan.
    void scansioneDelleposizioni() {
        BancoPty b(1, false, [](Archivio& a) {
            DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        });
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        m.impostaSms(3, sms("+393479990000", "26/12/07,10:20:00+04", "Due diavole"));
        m.impostaSms(5, sms(kMario, "26/12/07,10:30:00+04", "Anche una birra"));
        pronto(b);
        QVERIFY(scansioneFinoA(b, "AT+CMGR=4"));
        const QList<QByteArray> attesi{"AT+CMGR=1", "AT+CMGD=1", "AT+CMGR=2",
                                       "AT+CMGR=3", "AT+CMGD=3", "AT+CMGR=4"};
        QCOMPARE(letturaECancellazioni(b), attesi);
        QVERIFY(!b.comandi().contains("AT+CMGR=5"));
        QCOMPARE(m.slotOccupati(), QList<int>{5});
        const QList<Pendente> attesiPendenti{
            {"3331112222", "07/12/26", "10:15:30", "", "", "Una margherita"},
            {"3479990000", "07/12/26", "10:20:00", "", "", "Due diavole"}};
        QCOMPARE(pendenti(b.cartella), attesiPendenti);
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 2);
        QCOMPARE(
            riga(b.form->ListaSMS->topLevelItem(0)),
            (QStringList{"3331112222", "Mario Rossi", "07/12/26", "10:15:30", "Una margherita"}));
        QCOMPARE(
            riga(b.form->ListaSMS->topLevelItem(1)),
            (QStringList{"3479990000", "Nuovo Cliente", "07/12/26", "10:20:00", "Due diavole"}));
        QCOMPARE(b.stato->NumeroCorrente, QStringLiteral("3479990000"));

        // The next scan goes on past the emptied slots and finds the message at 5.
        QVERIFY(simSvuotata(b));
        QCOMPARE(pendenti(b.cartella).size(), 3);
        QCOMPARE(pendenti(b.cartella).last().testo, QStringLiteral("Anche una birra"));
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 3);
        // A scan that finds nothing starts from slot 1 again.
        m.impostaSms(1, sms(kMario, "26/12/07,11:00:00+04", "Ancora io"));
        QVERIFY(simSvuotata(b));
        QCOMPARE(pendenti(b.cartella).size(), 4);
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
        BancoPty b;
        ModemSimulato& m = b.sim.modem();
        m.impostaEcoFisso(ecoFisso);
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Alfa omessa", std::nullopt));
        m.impostaSms(2, sms(kMario, "2026/12/07,11:00:00+4", "Anno intero"));
        m.impostaSms(3, sms(kMario, "26/12/07,12:00:00+40", "Vorrei la \"diavola\" alle 20",
                            QByteArray("Mario")));
        m.impostaSms(4, sms(kMario, "26/12/07,13:00:00-08",
                            "Per stasera:\r\nOK\r\n2 pizze\r\n"
                            "S\xec, grazie"));
        m.impostaSms(5, sms("3331112222", "26/12/07,14:00:00+04", "Numero nazionale"));
        pronto(b);
        m.impostaGuasto(Guasto(guasto));
        QVERIFY(simSvuotata(b));
        m.impostaGuasto(Guasto::Nessuno);
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "", "", "Alfa omessa"},
            {"3331112222", "07/12/26", "11:00:00", "", "", "Anno intero"},
            {"3331112222", "07/12/26", "12:00:00", "", "", "Vorrei la \"diavola\" alle 20"},
            {"3331112222", "07/12/26", "13:00:00", "", "",
             QStringLiteral("Per stasera:\r\nOK\r\n2 pizze\r\nSì, grazie")},
            {"3331112222", "07/12/26", "14:00:00", "", "", "Numero nazionale"}};
        QCOMPARE(pendenti(b.cartella), attesi);
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 5);
    }

    // Three parts of one message a second or so apart make one record and one row; a part
    // 5 s after the first is a message of its own; parts in the same second are all kept.
    void partiDiUnMessaggioLungo() {
        BancoPty b;
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Vorrei tre pizze:"));
        m.impostaSms(2, sms(kMario, "26/12/07,10:15:33+04", "una margherita,"));
        m.impostaSms(3, sms(kMario, "26/12/07,10:15:34+04", "due capricciose."));
        m.impostaSms(4, sms(kMario, "26/12/07,10:15:35+04", "Alle 20."));
        m.impostaSms(5, sms("+393479990000", "26/12/07,10:15:31+04", "Altro cliente"));
        m.impostaSms(6, sms("+393479990000", "26/12/07,10:15:31+04", "stesso secondo"));
        pronto(b);
        QVERIFY(simSvuotata(b));
        const QList<Pendente> attesi{
            {"3331112222", "07/12/26", "10:15:30", "10:15:34", "",
             "Vorrei tre pizze: una margherita, due capricciose."},
            {"3331112222", "07/12/26", "10:15:35", "", "", "Alle 20."},
            {"3479990000", "07/12/26", "10:15:31", "10:15:31", "", "Altro cliente stesso secondo"}};
        QCOMPARE(pendenti(b.cartella), attesi);
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 3);
        // Each row shows its own record: the joined part updated the first row, not the last.
        QCOMPARE(b.form->ListaSMS->topLevelItem(0)->text(4),
                 QStringLiteral("Vorrei tre pizze: una margherita, due capricciose."));
        QCOMPARE(b.form->ListaSMS->topLevelItem(1)->text(4), QStringLiteral("Alle 20."));
        QCOMPARE(b.form->ListaSMS->topLevelItem(2)->text(4),
                 QStringLiteral("Altro cliente stesso secondo"));
        QCOMPARE(b.form->ContaSMSArrivati + (b.form->msgBox1() ? 1 : 0), 3);
    }

    // A message read again (its delete was lost) is stored once and deleted.
    void lettoDueVolteSiRegistraUnaVolta() {
        BancoPty b;
        ModemSimulato& m = b.sim.modem();
        const SmsSim s = sms(kMario, "26/12/07,10:15:30+04", "Una margherita");
        m.impostaSms(1, s);
        pronto(b);
        QVERIFY(simSvuotata(b));
        m.impostaSms(1, s);
        QVERIFY(simSvuotata(b));
        QCOMPARE(pendenti(b.cartella).size(), 1);
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 1);
    }

    // Operator and credit messages are known by their sender, never by a word of the text.
    void messaggiDelGestoreRiconosciutiDalMittente() {
        BancoPty b;
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms("TIM", "26/12/07,09:00:00+04", "Offerta del mese"));
        m.impostaSms(2, sms(kMario, "26/12/07,10:15:30+04", "Ottimo, a domani"));
        m.impostaSms(3, sms("+393479990000", "26/12/07,10:16:00+04", "Vengo con TIM"));
        pronto(b);
        QVERIFY(simSvuotata(b));
        const QList<Pendente> p = pendenti(b.cartella);
        QCOMPARE(p.size(), 2);
        QCOMPARE(p[0].testo, QStringLiteral("Ottimo, a domani"));
        QCOMPARE(p[1].testo, QStringLiteral("Vengo con TIM"));
    }

    void creditoPerSmsDalNumeroDelCredito() {
        BancoPty b(1, false, [](Archivio& a) {
            Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
            rs.MoveFirst();
            rs.Edit();
            rs.Imposta(QStringLiteral("TelCredito"), QStringLiteral("40916"));
            rs.Imposta(QStringLiteral("ModRispCredito"), 1);
            rs.Update();
        });
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms("40916", "26/12/07,09:00:00+04", "Il credito residuo e' 12,34 Euro."));
        m.impostaSms(2, sms(kMario, "26/12/07,10:15:30+04", "Mi costa 10 euro?"));
        pronto(b);
        QVERIFY(simSvuotata(b));
        QCOMPARE(b.stato->CreditoResiduo, QStringLiteral("12,34"));
        QCOMPARE(b.form->LblCredito->text(), QStringLiteral("Credito : 12,34"));
        ConnessioneEsterna altro(b.cartella.file(Archivio::NomeFile()));
        QCOMPARE(altro.valore("SELECT CreditoSim FROM DatiGestoreSim").toString(),
                 QStringLiteral("12,34"));
        // The customer's message mentioning euro is an order like any other.
        QCOMPARE(pendenti(b.cartella).size(), 1);
        QCOMPARE(pendenti(b.cartella)[0].testo, QStringLiteral("Mi costa 10 euro?"));
    }

    // The archive held by another program in the middle of a scan: the message stays on the
    // SIM, the user is told once, and once the archive is free every message is stored once.
    void archivioBloccatoAMetaScansione() {
        BancoPty b;
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Primo"));
        m.impostaSms(2, sms(kMario, "26/12/07,10:20:00+04", "Secondo"));
        m.impostaSms(3, sms(kMario, "26/12/07,10:25:00+04", "Terzo"));
        pronto(b);
        QVERIFY(b.finche([&] { return b.comandi().contains("AT+CMGD=1"); }));
        auto altro = std::make_unique<ConnessioneEsterna>(b.cartella.file(Archivio::NomeFile()));
        QCOMPARE(altro->esegui("BEGIN EXCLUSIVE"), 0);
        // Three more polls while the archive is held.
        const int letture = int(b.comandi().count("AT+CMGR=2"));
        QVERIFY(b.finche([&] { return b.comandi().count("AT+CMGR=2") >= letture + 3; }));
        QCOMPARE(m.slotOccupati(), (QList<int>{2, 3}));
        const auto avvisiArchivio = [&] {
            return b.copione.testi().filter(QStringLiteral("Impossibile salvare"));
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
        QVERIFY(simSvuotata(b));
        QStringList testi;
        for (const Pendente& p : pendenti(b.cartella))
            testi << p.testo;
        QCOMPARE(testi, (QStringList{"Primo", "Secondo", "Terzo"}));
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 3);
        QCOMPARE(avvisiArchivio().size(), 1);
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

    // Two messages announced in turn, each with its sound, the next one after "Ok".
    void dueAnnunciUnoDopoLAltro() {
        BancoPty b(1, false, [](Archivio& a) {
            DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        });
        RegistroSuoni suoni;
        ModemSimulato& m = b.sim.modem();
        pronto(b);
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        m.impostaSms(2, sms("+393479990000", "26/12/07,10:20:00+04", "Due diavole"));
        QVERIFY(b.finche([&] { return b.form->msgBox1() && b.form->msgBox1()->isVisible(); }));
        FormMsgBox1* avviso = b.form->msgBox1();
        QCOMPARE(avviso->Label2->text(), QStringLiteral("3331112222"));
        QCOMPARE(avviso->Label3->text(), QStringLiteral("Mario Rossi"));
        QCOMPARE(avviso->Label4->text(), QStringLiteral("07/12/26"));
        QCOMPARE(avviso->Label5->text(), QStringLiteral("10:15:30"));
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Una margherita"));
        QCOMPARE(suoni.suonati.size(), 1);
        b.tick(5);
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Una margherita"));
        avviso->Command1[0]->click();
        b.tick();
        QVERIFY(avviso->isVisible());
        QCOMPARE(avviso->Label3->text(), QStringLiteral("Nuovo Cliente"));
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Due diavole"));
        QCOMPARE(suoni.suonati.size(), 2);
        avviso->Command1[0]->click();
        b.tick();
        QVERIFY(!b.form->msgBox1());
        QVERIFY(m.slotOccupati().isEmpty());
    }

    // With automatic printing on, each message announced comes out of the receipt printer.
    void stampaAutomaticaSullaStampante80Colonne() {
        BancoPty b(1, false, [](Archivio& a) {
            DatiDiProva::Impostazioni(a, true, false, true, QStringLiteral("2"));
        });
        CapoPty stampante;
        QVERIFY(stampante.collega(b.cartella.percorso(), 2));
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.form->msgBox1() && b.form->msgBox1()->isVisible(); }));
        const QByteArray stampato = stampante.leggi("J");
        QVERIFY(stampato.startsWith("j@\""));
        QVERIFY(stampato.endsWith("\"@J"));
        QVERIFY(stampato.contains("\"Una margherita \"@"));
        QVERIFY(stampato.contains("\" -3331112222 \"@"));
        QVERIFY(stampato.contains("\"Data: 07/12/26  -  Ora: 10:15:30 \"@"));
    }

    void stampaAutomaticaSullaStampanteDiSistema() {
        BancoPty b(1, false, [](Archivio& a) {
            DatiDiProva::Impostazioni(a, true, false, false, QStringLiteral("2"));
        });
        const QString pdf = b.cartella.file(QStringLiteral("sms.pdf"));
        b.form->Stampante().UsaFilePdf(pdf, QPageSize(QPageSize::A4));
        ModemSimulato& m = b.sim.modem();
        m.impostaSms(1, sms(kMario, "26/12/07,10:15:30+04", "Una margherita"));
        QVERIFY(b.avvia());
        QVERIFY(b.finche([&] { return b.form->msgBox1() && b.form->msgBox1()->isVisible(); }));
        const TestoPdf testo(pdf);
        QVERIFY(testo.valido());
        QVERIFY(testo.inOrdine({QStringLiteral("Stampa SMS"), QStringLiteral("07/12/26"),
                                QStringLiteral("10:15:30"), QStringLiteral("3331112222"),
                                QStringLiteral("Una margherita")}));
    }
};

QTEST_MAIN(TstRicezioneSms)
#include "tst_ricezionesms.moc"
