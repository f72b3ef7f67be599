#include "BancoMotore.h"
#include "BancoMotorePty.h"
#include "ConnessioneEsterna.h"
#include "modem/CorpoSms.h"
#include "modem/LetturaCredito.h"
#include "modem/RicezioneSms.h"

#include <QTest>

namespace {

const QDateTime kAdesso(QDate(2026, 12, 8), QTime(9, 30));

// The operator in use "TIM" asks its credit at `numero` in the way `modalita` says.
std::function<void(Archivio&)> operatore(int modalita, const QString& numero,
                                         const QString& credito,
                                         const QString& data = QStringLiteral("01/02/2026")) {
    return [=](Archivio& a) {
        Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
        rs.MoveFirst();
        rs.Edit();
        rs.Imposta(QStringLiteral("TelCredito"), numero);
        rs.Imposta(QStringLiteral("ModalitaCre"), modalita);
        rs.Imposta(QStringLiteral("CreditoSim"), credito);
        rs.Imposta(QStringLiteral("DataScadenza"), data);
        rs.Update();
    };
}

// The modem registered, polled once, idle.
void finoARiposo(BancoMotore& b) {
    b.motore->orologio = [] { return kAdesso; };
    b.avviaFinoAdAbilitato();
    QVERIFY(b.tickFinche([&] {
        return b.s().Registrato && b.s().TickAttesa == 0 && b.motore->Inattivo();
    }) >= 0);
    b.nuoveRighe();
    b.dialogo.mostrati.clear();
}

// What the operator's record holds, read through another connection.
QStringList registrato(const CartellaDiProva& cartella) {
    ConnessioneEsterna c(cartella.file(Archivio::NomeFile()));
    return {c.valore("SELECT CreditoSim FROM DatiGestoreSim").toString(),
            c.valore("SELECT DataScadenza FROM DatiGestoreSim").toString()};
}

const QString kUssd = QStringLiteral("AT+CUSD=1,\"*123#\"");

QString rispostaUssd(const QString& testo) {
    return QStringLiteral("\r\n+CUSD: 0,\"") + testo + QStringLiteral("\",15\r\n");
}

} // namespace

class TstCreditoGsm : public QObject {
    Q_OBJECT
private slots:
    // The USSD answer comes after the bare acknowledgement, and may come in pieces. A credit that
    // grew sets today as the top-up date; one that did not only changes the credit. Credits compare
    // by the number they begin with, so 9,99 against 10,00 is 9 against 10 and 10,50 against 10,00
    // is no top-up.
    void creditoUssdDopoLaConferma_data() {
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("letto");
        QTest::addColumn<QString>("data");
        const QString oggi = QStringLiteral("08/12/2026");
        const QString vecchia = QStringLiteral("01/02/2026");
        QTest::newRow("cresciuto") << "10,00"
                                   << "12,34" << oggi;
        QTest::newRow("calato") << "12,34"
                                << "11,00" << vecchia;
        QTest::newRow("9,99 contro 10,00") << "9,99"
                                           << "10,00" << oggi;
        QTest::newRow("10,50 contro 10,00") << "10,00"
                                            << "10,50" << vecchia;
    }
    void creditoUssdDopoLaConferma() {
        QFETCH(QString, prima);
        QFETCH(QString, letto);
        QFETCH(QString, data);
        BancoMotore b(false, operatore(2, QStringLiteral("*123#"), prima));
        finoARiposo(b);
        b.modem.risposte[kUssd] = ModemCopione::Ok();

        QVERIFY(b.motore->credito.GestioneCredito() == CreditoGsm::Esito::Richiesta);
        QCOMPARE(b.p().credito.testo, QStringLiteral("Credito : ") + prima + QStringLiteral(" ?"));
        QVERIFY(b.porta.scritto.endsWith(kUssd + QStringLiteral("\r")));
        // The acknowledgement alone: the network's answer is still awaited, well past the
        // first reply's ten seconds.
        b.tick(60);
        QVERIFY(b.s().InAttesaRisposta);
        // The answer itself in two pieces, a quiet tick between them.
        const QString risposta = rispostaUssd(QStringLiteral("Il credito residuo e' ") + letto +
                                              QStringLiteral(" Euro. Grazie"));
        b.porta.inArrivo += risposta.left(20);
        b.tick(3);
        QVERIFY(b.s().InAttesaRisposta);
        b.porta.inArrivo += risposta.mid(20);
        b.tick(60);
        QCOMPARE(b.p().credito.testo, QStringLiteral("Credito : ") + letto);
        QCOMPARE(b.globale->gestore.credito, letto);
        QCOMPARE(registrato(b.cartella), (QStringList{letto, data}));
        QCOMPARE(b.nuoveRighe(), QStringList{kUssd});
        QVERIFY(b.dialogo.mostrati.isEmpty());
        // Polling resumes.
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CREG?"; }, 120) >= 0);
    }

    // An answer the credit cannot be read from leaves the stored credit as it was and says so;
    // nothing outside the answer's own text is ever taken for a credit. The acknowledgement and
    // the answer in one reply are read together.
    void rispostaUssdIlleggibile_data() {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<bool>("leggibile");
        QTest::newRow("senza Euro") << "Credito residuo: 7,50" << false;
        QTest::newRow("Euro in testa") << "Euro 7,50" << false;
        QTest::newRow("poco testo prima") << "5 Euro" << false;
        QTest::newRow("niente cifre") << "Il tuo credito Euro: 7,50" << false;
        QTest::newRow("servizio rifiutato") << QString() << false;
        QTest::newRow("con la conferma") << "Hai 6,70 Euro." << true;
    }
    void rispostaUssdIlleggibile() {
        QFETCH(QString, risposta);
        QFETCH(bool, leggibile);
        BancoMotore b(false, operatore(2, QStringLiteral("*123#"), QStringLiteral("10,00")));
        finoARiposo(b);
        b.modem.risposte[kUssd] =
            ModemCopione::Ok() +
            (risposta.isEmpty() ? QStringLiteral("\r\n+CUSD: 4\r\n") : rispostaUssd(risposta));
        b.motore->credito.GestioneCredito();
        b.tick(5);
        QVERIFY(b.motore->Inattivo());
        QVERIFY(!b.s().InAttesaRisposta);
        if (leggibile) {
            QCOMPARE(registrato(b.cartella).value(0), QStringLiteral("6,70"));
            return;
        }
        QCOMPARE(registrato(b.cartella), (QStringList{"10,00", "01/02/2026"}));
        QCOMPARE(b.globale->gestore.credito, QStringLiteral("10,00"));
        QCOMPARE(b.p().credito.testo, QStringLiteral("Credito : 10,00 ?"));
        QCOMPARE(b.dialogo.mostrati.size(), 1);
        QVERIFY(b.dialogo.mostrati[0].testo.startsWith(
            QStringLiteral("La risposta del gestore non riporta un credito leggibile")));
    }

    // Not registered, or a reply awaited: the box says why and nothing is sent; an exchange
    // under way keeps its state.
    void rifiuti() {
        BancoMotore b(false, operatore(2, QStringLiteral("*123#"), QStringLiteral("10,00")));
        finoARiposo(b);
        b.dialogo.risposte = {1, 1};
        b.s().Registrato = false;
        QVERIFY(b.motore->credito.GestioneCredito() == CreditoGsm::Esito::Rifiutata);
        b.s().Registrato = true;
        b.modem.muti.insert(kUssd);
        b.motore->credito.GestioneCredito();
        QVERIFY(b.motore->credito.GestioneCredito() == CreditoGsm::Esito::Rifiutata);
        QCOMPARE(b.dialogo.testi(), (QStringList{"MODEM GSM NON REGISTRATO ALLA RETE",
                                                 "MODEM OCCUPATO IN ATTESA DI RISPOSTA"}));
        QCOMPARE(b.nuoveRighe(), QStringList{kUssd});
        QVERIFY(b.motore->canale.TipoInVolo() == ComandoGsm::Credito);
        // No answer at all: the exchange ends, the credit as it was.
        b.tick(101);
        QVERIFY(b.motore->Inattivo());
        QCOMPARE(b.p().credito.testo, QStringLiteral("Credito : 10,00 ?"));
        QCOMPARE(registrato(b.cartella).value(0), QStringLiteral("10,00"));
    }

    // The credit asked by a voice call, and the two call services: each line exactly as the
    // modem must get it, each service dialled once, and no ';' left on the commands that follow.
    void chiamateDiServizio() {
        BancoMotore b(false, operatore(3, QStringLiteral("40916"), QStringLiteral("10,00")));
        finoARiposo(b);
        b.modem.risposte[QStringLiteral("ATD40916;")] = ModemCopione::Ok();
        b.modem.risposte[QStringLiteral("ATD##002#;")] = ModemCopione::Ok();
        b.modem.risposte[QStringLiteral("ATD#43#;")] = QStringLiteral("\r\nNO CARRIER\r\n");
        b.porta.scritto.clear();
        b.motore->credito.GestioneCredito();
        QCOMPARE(b.porta.scritto, QStringLiteral("ATD40916;\r"));
        b.tick(3);
        QVERIFY(b.motore->Inattivo());

        b.p().servizioRichiesto = 1;
        b.tick(3);
        QCOMPARE(b.p().servizioRichiesto, 0);
        QCOMPARE(b.dialogo.testi(), QStringList{"Disabilitata la Segreteria Telefonica"});
        b.p().servizioRichiesto = 2;
        b.tick(3);
        QCOMPARE(b.p().servizioRichiesto, 0);
        QCOMPARE(b.dialogo.testi().size(), 1);
        QVERIFY(b.tickFinche([&] { return b.porta.righeScritte.last() == "AT+CREG?"; }, 120) >= 0);
        QVERIFY(b.porta.scritto.endsWith(QStringLiteral("ATD#43#;\rAT+CREG?\r")));
        QCOMPARE(b.nuoveRighe(), (QStringList{"ATD40916;", "ATD##002#;", "ATD#43#;", "AT+CREG?"}));
        // Not registered: the request waits for the network.
        b.s().Registrato = false;
        b.p().servizioRichiesto = 1;
        b.motore->credito.Disattiva_Servizi();
        QCOMPARE(b.p().servizioRichiesto, 1);
        QVERIFY(b.nuoveRighe().isEmpty());
    }

    // Each command keeps its own record: the USSD answer reaches the credit though the shared
    // index moved on meanwhile, and the ";" of a voice credit call dropped by a new search is
    // not added to the commands that follow.
    void ogniComandoHaIlSuoRecord() {
        BancoMotore b(false, operatore(2, QStringLiteral("*123#"), QStringLiteral("10,00")));
        finoARiposo(b);
        b.modem.risposte[kUssd] = ModemCopione::Ok() + rispostaUssd("Credito 12,34 Euro");
        b.motore->credito.GestioneCredito();
        b.tick(3);
        QCOMPARE(b.globale->gestore.credito, QStringLiteral("12,34"));

        b.globale->gestore.modalita = 3;
        b.globale->gestore.numeroCredito = QStringLiteral("40916");
        b.modem.muti << QStringLiteral("ATD40916;");
        b.nuoveRighe();
        b.motore->credito.GestioneCredito();
        QCOMPARE(b.nuoveRighe(), QStringList{"ATD40916;"});
        b.motore->supervisione.TrovaGsm();
        QVERIFY(b.tickFinche([&] { return b.abilitato(); }) >= 0);
        const QStringList dopo = b.nuoveRighe();
        QVERIFY(dopo.contains("AT"));
        for (const QString& riga : dopo)
            QVERIFY2(!riga.endsWith(QLatin1Char(';')), qPrintable(riga));
    }

    // A credit code that would break the command line is never written.
    void codiceNonScrivibile() {
        BancoMotore b(false, operatore(3, QStringLiteral("40916;+CMGD=1"), QStringLiteral("1")));
        finoARiposo(b);
        b.motore->credito.GestioneCredito();
        QVERIFY(b.nuoveRighe().isEmpty());
        QCOMPARE(b.dialogo.mostrati.size(), 1);
        QVERIFY(b.motore->Inattivo());
    }

    // Against the simulator: the short and the long balance answer, each a moment after the
    // "OK"; voicemail switched off; then the credit asked by SMS and answered by the operator's
    // message, which is read for its credit and never listed as an order.
    void controIlSimulatore() {
        BancoMotorePty b(1, false, operatore(2, QStringLiteral("*123#"), QStringLiteral("5,00")));
        b.motore->orologio = [] { return kAdesso; };
        ModemSimulato& m = b.modem();
        m.impostaUssdRitardato(true);
        m.impostaRispostaUssd("Il credito e': 6.70 Euro.");
        QVERIFY(b.avviaFinoAdAbilitato());
        const auto inRiposo = [&] {
            return b.s().Registrato && b.s().TickAttesa == 0 && b.motore->Inattivo();
        };
        QVERIFY(b.finche(inRiposo));
        b.dialogo.mostrati.clear();
        b.motore->credito.GestioneCredito();
        QVERIFY(b.finche([&] { return b.p().credito.testo == "Credito : 6.70"; }, 300));
        QCOMPARE(registrato(b.cartella), (QStringList{"6.70", "08/12/2026"}));
        m.impostaRispostaUssd(QByteArray(180, 'x') + " residuo 12,34 Euro, bonus di 5 Euro.");
        QVERIFY(b.finche(inRiposo));
        b.motore->credito.GestioneCredito();
        QVERIFY(b.finche([&] { return b.p().credito.testo == "Credito : 12,34"; }, 300));

        QVERIFY(b.finche(inRiposo));
        b.p().servizioRichiesto = 1;
        QVERIFY(b.finche([&] { return !b.dialogo.mostrati.isEmpty(); }, 300));
        QCOMPARE(b.dialogo.testi(), QStringList{"Disabilitata la Segreteria Telefonica"});

        operatore(1, QStringLiteral("40916"), QStringLiteral("12,34"))(b.globale->archivio);
        b.globale->gestore.Leggi(b.globale->archivio);
        m.impostaRispostaCreditoSms({"40916", "TIM INFO", "Il credito residuo e' 9,87 Euro."});
        QVERIFY(b.finche(inRiposo));
        b.motore->credito.GestioneCredito();
        QVERIFY(b.finche([&] { return b.p().credito.testo == "Credito : 9,87"; }, 1000));
        QVERIFY(b.simSvuotata());
        QCOMPARE(registrato(b.cartella).value(0), QStringLiteral("9,87"));
        QVERIFY(b.registrati.isEmpty());
        QList<QByteArray> richieste;
        for (const RichiestaInviata& r : m.richiesteInviate())
            richieste << r.destinatario + ' ' + r.testo;
        QCOMPARE(richieste, (QList<QByteArray>{"*123# ", "*123# ", "##002# ", "40916 CREDITO"}));
    }

    // An answer not yet whole, an answer in UCS2, and the operator's messages known by their
    // sender.
    void letture() {
        QVERIFY(!LetturaCredito::TestoUssd(QStringLiteral("\r\n+CUSD: 0,\"Il credito e")));
        const QString ucs2 =
            QStringLiteral("\r\n+CUSD: 0,\"%1\",72\r\n")
                .arg(CorpoSms::Ucs2Esadecimale(QStringLiteral("Credito 6,70 Euro")));
        QCOMPARE(LetturaCredito::TestoUssd(ucs2).value_or(QString()),
                 QStringLiteral("Credito 6,70 Euro"));
        QCOMPARE(LetturaCredito::TestoUssd(QStringLiteral("+CUSD: 0,\"0041 6,70 Euro\",15"))
                     .value_or(QString()),
                 QStringLiteral("0041 6,70 Euro"));
        const auto da = [](const QString& mittente, const QString& alfa = QString()) {
            SmsLetto s;
            s.mittente = mittente;
            s.alfa = alfa;
            s.numero = mittente.startsWith(QLatin1String("+39")) ? mittente.mid(3) : mittente;
            s.testo = QStringLiteral("TIM 40916");
            return s;
        };
        QVERIFY(RicezioneSms::DalMittente(da("TIM INFO"), "tim"));
        QVERIFY(RicezioneSms::DalMittente(da("+393331112222", "Tim"), "TIM"));
        QVERIFY(RicezioneSms::DalMittente(da("40916"), "40916"));
        QVERIFY(RicezioneSms::DalMittente(da("+3940916"), "40916"));
        QVERIFY(!RicezioneSms::DalMittente(da("TIMBRO"), "TIM"));
        QVERIFY(!RicezioneSms::DalMittente(da("+393409161234"), "40916"));
        QVERIFY(!RicezioneSms::DalMittente(da("+393331112222"), "TIM"));
        QVERIFY(!RicezioneSms::DalMittente(da("TIM"), ""));
    }
};

QTEST_GUILESS_MAIN(TstCreditoGsm)
#include "tst_creditogsm.moc"
