#include "BancoFormMain.h"
#include "BancoMotore.h"
#include "BancoMotorePty.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "ModaleRimasta.h"
#include "campaigns/FormInvioSms.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

QString numero(int i) {
    return QStringLiteral("333%1").arg(i, 7, 10, QLatin1Char('0'));
}

// Customers 1..n: odd ones "Rossi", even ones "Bianchi".
void clienti(Archivio& a, int n) {
    for (int i = 1; i <= n; ++i)
        DatiDiProva::Cliente(a, numero(i),
                             QStringLiteral("%1 %2").arg(i % 2 ? "Rossi" : "Bianchi").arg(i));
}

// The campaign window over the engine and the project's modem simulator; each step is a tick of
// the main timer, then one of the campaign's when it runs.
struct BancoCampagna {
    BancoMotorePty b;
    // Owned as the main window owns it: it outlives the campaign window.
    std::unique_ptr<CampagnaSms> campagna;
    std::unique_ptr<FormInvioSms> f;

    explicit BancoCampagna(int n)
        : b(1, false, [n](Archivio& a) { clienti(a, n); }) {}
    ~BancoCampagna() {
        f.reset();
        campagna.reset();
    }
    void apri() {
        if (!campagna)
            campagna = std::make_unique<CampagnaSms>(*b.globale, *b.motore);
        f = std::make_unique<FormInvioSms>(*b.globale, *b.motore, *campagna);
        f->show();
    }
    // The program ends without warning and starts again on the same folder and modem.
    void riavvia() {
        f.reset();
        campagna.reset();
        b.riavviaProgramma();
    }
    void passo() {
        b.tick();
        if (campagna && campagna->Timer1.isActive())
            campagna->Timer1_Timer();
    }
    bool finche(const std::function<bool()>& condizione, int massimo = 3000) {
        for (int i = 0; i < massimo && !condizione(); ++i)
            passo();
        return condizione();
    }
    bool finito() {
        return finche(
            [this] { return f->BtnInviaSms->text() == "Invia" && !f->Timer1.isActive(); });
    }
    // Ticks the rows as the user would, types the text and presses "Invia".
    void invia(const QList<int>& righe, const QString& testo) {
        for (int r : righe)
            f->Riga(r)->setCheckState(0, Qt::Checked);
        f->TxtTestoSms->setPlainText(testo);
        f->BtnInviaSms->click();
    }
    QString stato(int r) const { return f->Riga(r)->text(1); }
    // What the simulated modem sent: "number text" each.
    QStringList sms() {
        QStringList r;
        for (const RichiestaInviata& i : b.modem().richiesteInviate())
            r << QString::fromLatin1(i.destinatario + ' ' + i.testo);
        return r;
    }
    QStringList coda() const {
        QFile file(f->Coda().Percorso());
        file.open(QIODevice::ReadOnly);
        QStringList righe = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
        righe.removeLast();
        return righe;
    }
};

#define PRONTO(c)                                                                                  \
    QVERIFY((c).b.avviaFinoAdAbilitato());                                                         \
    QVERIFY((c).b.simSvuotata());                                                                  \
    (c).apri()

} // namespace

class TstFormInvioSms : public QObject {
    Q_OBJECT
private slots:
    // The credit asked by USSD while a campaign sends, answered without a credit: the notice
    // opens once the answer has been handled, the campaign sends nothing while it is open and
    // then goes on; each customer gets the text once and no poll reaches a text.
    void creditoUssdSenzaCreditoDuranteUnaCampagna() {
        BancoCampagna c(4);
        PRONTO(c);
        c.b.globale->gestore.modalita = 2;
        c.b.globale->gestore.numeroCredito = QStringLiteral("*123#");
        c.b.modem().impostaRispostaUssd("Servizio non disponibile");
        c.b.dialogo.mostrati.clear();
        qint64 scrittiDuranteAvviso = -1;
        bool invioDuranteAvviso = true;
        c.b.dialogo.mentreAperto = [&] {
            // Under a real box the campaign's timer goes on firing.
            const qint64 prima = c.b.porta->byteScritti();
            for (int i = 0; i < 5; ++i)
                c.campagna->Timer1_Timer();
            scrittiDuranteAvviso = c.b.porta->byteScritti() - prima;
            invioDuranteAvviso = c.campagna->InAttesaEsito();
        };
        CopioneMessaggi copione;
        c.invia({1, 2, 3, 4}, QStringLiteral("Pizza"));
        // The user asks the credit between two messages.
        QVERIFY(c.finche([&] { return c.stato(1) == QStringLiteral("Sms Inviato"); }));
        QVERIFY(c.b.finche([&] { return !c.b.motore->canale.Occupato(); }));
        QVERIFY(c.b.motore->credito.GestioneCredito() == CreditoGsm::Esito::Richiesta);
        QVERIFY(c.finche([&] { return !c.b.dialogo.mostrati.isEmpty(); }, 300));
        QCOMPARE(c.b.dialogo.testi(),
                 QStringList{QStringLiteral("La risposta del gestore non riporta un credito "
                                            "leggibile:\n\"Servizio non disponibile\"\nIl credito "
                                            "memorizzato resta invariato.")});
        QCOMPARE(scrittiDuranteAvviso, 0);
        QVERIFY(!invioDuranteAvviso);
        c.b.dialogo.mentreAperto = nullptr;
        QVERIFY(c.finito());
        QStringList inviati = c.sms();
        inviati.sort();
        QCOMPARE(inviati, QStringList({"*123# ", numero(1) + " Pizza", numero(2) + " Pizza",
                                       numero(3) + " Pizza", numero(4) + " Pizza"}));
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(c.stato(r), QStringLiteral("Sms Inviato"));
        QVERIFY(copione.mostrati().isEmpty());
    }

    // Rows 3 and 7: two SMS in row order, the second with the text as changed meanwhile, and
    // the queue file written at the start, as each text goes out and after each outcome.
    void dueRigheInOrdineColTestoDellInizio() {
        BancoCampagna c(8);
        PRONTO(c);
        CopioneMessaggi copione;
        c.f->TxtTestoSms->setPlainText(QStringLiteral("Offerta\x1A pizza") + QString(200, 'x'));
        QCOMPARE(c.f->LblNumCaratteri->text(), QStringLiteral("(0)"));
        QVERIFY(c.f->TxtTestoSms->toPlainText().startsWith(QStringLiteral("Offerta pizza")));
        QVERIFY(c.f->LblInvioInCorso->isHidden());
        c.invia({3, 7}, QStringLiteral("Offerta pizza"));
        QCOMPARE(c.f->LblNumCaratteri->text(), QStringLiteral("(147)"));
        QCOMPARE(c.f->BtnInviaSms->text(), QStringLiteral("Annulla"));
        // While the run goes on, the text and the recipients are locked, and the window says so.
        QVERIFY(!c.f->BtnFiltra->isEnabled());
        QVERIFY(c.f->TxtTestoSms->isReadOnly());
        for (int i : {0, 2, 4})
            QVERIFY(c.f->Text1[size_t(i)]->isReadOnly());
        QVERIFY(c.f->LblInvioInCorso->isVisible());
        QCOMPARE(c.f->LblInvioInCorso->accessibleName(), c.f->LblInvioInCorso->text());
        QVERIFY(c.finche([&] { return c.stato(3) == QStringLiteral("Invio in Corso"); }));
        QVERIFY(c.finche([&] { return c.stato(3) == QStringLiteral("Sms Inviato"); }));
        // Typing goes nowhere; a text that reaches the box all the same, and a tick, change
        // nothing of the run.
        QTest::keyClicks(c.f->TxtTestoSms, QStringLiteral(" cambiata"));
        QCOMPARE(c.f->TxtTestoSms->toPlainText(), QStringLiteral("Offerta pizza"));
        c.f->TxtTestoSms->setPlainText(QStringLiteral("Offerta cambiata"));
        c.f->Riga(8)->setCheckState(0, Qt::Checked);
        QCOMPARE(c.f->Riga(8)->checkState(0), Qt::Unchecked);
        QVERIFY(c.finito());
        QCOMPARE(c.sms(),
                 QStringList({numero(3) + " Offerta pizza", numero(7) + " Offerta pizza"}));
        QCOMPARE(c.f->Coda().Scritture(), 5);
        QCOMPARE(c.coda(), QStringList({"1-", "2-", "3I", "4-", "5-", "6-", "7I", "8-", "|0", "|1",
                                        "|4", "|5Offerta pizza"}));
        QVERIFY(copione.mostrati().isEmpty());
        QVERIFY(c.f->BtnFiltra->isEnabled());
        QVERIFY(!c.f->TxtTestoSms->isReadOnly());
        QVERIFY(c.f->LblInvioInCorso->isHidden());
    }

    // A text with "€", which the modem's set cannot carry: a modem offering UCS2 sends it whole
    // with no question; one that does not has the user told first which characters will not
    // arrive, and "No" sends nothing.
    void caratteriCheIlModemNonPuoPortare() {
        const QString offerta = QStringLiteral("Offerta: pizza è bibita a 8 €");
        {
            BancoCampagna c(2);
            PRONTO(c);
            CopioneMessaggi copione;
            c.invia({1}, offerta);
            // Room left in one UCS2 message.
            QCOMPARE(c.f->LblNumCaratteri->text(), QStringLiteral("(41)"));
            QVERIFY(c.finito());
            QVERIFY(copione.mostrati().isEmpty());
            QCOMPARE(c.b.modem().richiesteInviate().last().arrivato, offerta);
        }
        BancoCampagna c(2);
        c.b.modem().impostaSenzaCscs(true);
        PRONTO(c);
        CopioneMessaggi copione({Risposta::No, Risposta::Si});
        c.invia({1}, offerta);
        QCOMPARE(copione.mostrati().size(), 1);
        const MessaggioMostrato& m = copione.mostrati().first();
        QCOMPARE(m.title, QStringLiteral("Caratteri non trasmissibili"));
        QVERIFY(m.prompt.contains(QStringLiteral(": è  €\n")));
        QVERIFY(m.prompt.contains(QStringLiteral("Il modem non permette di inviarli.")));
        QCOMPARE(m.style, Stile::SiNo + Stile::Esclamazione + Stile::SecondoPredefinito);
        QCOMPARE(c.f->BtnInviaSms->text(), QStringLiteral("Invia"));
        QVERIFY(!c.f->Timer1.isActive());
        c.passo();
        QVERIFY(c.b.modem().richiesteInviate().isEmpty());
        // "Sì": it leaves as the modem can carry it.
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.b.modem().richiesteInviate().last().arrivato,
                 QStringLiteral("Offerta: pizza ? bibita a 8 ?"));
    }

    // A refused SMS keeps its "S"; reopened, the window gives back ticks, statuses, filter and
    // text, whether or not a row matches the saved filter, and the next run sends only what is
    // still to send.
    void rifiutoERipristino() {
        BancoCampagna c(12);
        PRONTO(c);
        CopioneMessaggi copione;
        c.b.modem().rifiutaInvioA(numero(5).toLatin1());
        c.f->Text1[0]->setText(QStringLiteral("bia"));
        c.invia({5, 12}, QStringLiteral("Sconti"));
        QVERIFY(c.finito());
        QCOMPARE(c.stato(5), QStringLiteral("Errore Invio"));
        QCOMPARE(c.f->Riga(5)->toolTip(1), QStringLiteral("L'SMS non è partito."));
        QCOMPARE(c.sms(), QStringList{numero(12) + " Sconti"});
        QCOMPARE(c.coda().mid(4, 8),
                 QStringList({"5S", "6-", "7-", "8-", "9-", "10-", "11-", "12I"}));

        c.f.reset();
        c.apri();
        QCOMPARE(c.f->Text1[0]->text() + c.f->TxtTestoSms->toPlainText(),
                 QStringLiteral("biaSconti"));
        QCOMPARE(c.stato(5) + c.stato(12), QStringLiteral("SelezionatoSms Inviato"));
        QVERIFY(c.f->Riga(5)->checkState(0) == Qt::Checked &&
                c.f->Riga(12)->checkState(0) == Qt::Checked);
        QCOMPARE(c.f->Riga(12)->foreground(3).color(), QColor(255, 0, 0));
        QCOMPARE(c.f->Riga(5)->foreground(3).color(), QColor(0, 0, 0));
        // A later layout leaves what the user changed since.
        c.f->TxtTestoSms->setPlainText(QStringLiteral("Sconti nuovi"));
        c.f->resize(c.f->width() / 2, c.f->height() / 2);
        QCOMPARE(c.f->TxtTestoSms->toPlainText(), QStringLiteral("Sconti nuovi"));

        c.b.modem().nessunRifiuto();
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms(), QStringList({numero(12) + " Sconti", numero(5) + " Sconti nuovi"}));
        QVERIFY(copione.mostrati().isEmpty());
    }

    // "Annulla" pressed while an SMS is out: that one gets its outcome, no other row is sent,
    // and the polls that follow are registration queries, never the text.
    void annullaFermaDopoLInvioInCorso() {
        BancoCampagna c(3);
        PRONTO(c);
        c.invia({1, 2, 3}, QStringLiteral("Saldi"));
        QVERIFY(c.finche([&] { return c.stato(1) == QStringLiteral("Invio in Corso"); }));
        c.f->BtnInviaSms->click();
        QVERIFY(c.f->BtnInviaSms->text() == "Invia" && c.f->BtnFiltra->isEnabled());
        QVERIFY(c.finche([&] { return c.stato(1) == QStringLiteral("Sms Inviato"); }));
        const qsizetype comandi = c.b.comandi().size();
        for (int i = 0; i < 250; ++i)
            c.passo();
        QCOMPARE(c.sms().size(), 1);
        QCOMPARE(c.coda().mid(0, 3), QStringList({"1I", "2S", "3S"}));
        QVERIFY(c.b.comandi().mid(comandi).contains("AT+CREG?"));
        QVERIFY(!c.b.comandi().contains("Saldi"));
    }

    // Past the hundred rows the file once held: a long campaign runs, is written and restored.
    void duecentocinquantaRighe() {
        BancoCampagna c(250);
        PRONTO(c);
        QList<int> tutte;
        for (int r = 1; r <= 250; ++r)
            tutte << r;
        c.invia(tutte, QStringLiteral("Buone feste"));
        QVERIFY(c.finche([&] { return c.f->BtnInviaSms->text() == "Invia"; }, 5000));
        QCOMPARE(c.sms().size(), 250);
        QCOMPARE(c.sms().last(), numero(250) + " Buone feste");
        QCOMPARE(c.coda().size(), 254);
        QCOMPARE(c.coda()[249], QStringLiteral("250I"));
        c.f.reset();
        c.apri();
        QCOMPARE(c.stato(250), QStringLiteral("Sms Inviato"));
        QCOMPARE(c.f->TxtTestoSms->toPlainText(), QStringLiteral("Buone feste"));
        // Everything sent already: the first tick says so, and nothing is sent again.
        CopioneMessaggi copione;
        c.f->BtnInviaSms->click();
        c.f->Timer1_Timer();
        QCOMPARE(copione.testi(), QStringList{"Nessun Cliente è stato selezionato o già gli SMS "
                                              "sono stati inviati."});
        QVERIFY(copione.mostrati()[0].title == "Errore Invio SMS" &&
                copione.mostrati()[0].style == 0);
        QVERIFY(c.f->BtnInviaSms->text() == "Invia" && c.sms().size() == 250);
    }

    // "Invia" without a text or without the modem is refused; then no answer after the text:
    // the row is failed, not sent, and says the SMS may have left.
    void nessunaRispostaDopoIlTesto() {
        BancoCampagna c(1);
        PRONTO(c);
        CopioneMessaggi copione;
        c.f->BtnInviaSms->click();
        c.b.s().GsmAbilitato = false;
        c.invia({}, QStringLiteral("Ciao"));
        c.b.s().GsmAbilitato = true;
        QCOMPARE(copione.testi(),
                 QStringList({"Non è stato digitato nessun Testo.", "Modulo Gsm non Operativo."}));
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Errore Testo SMS"));
        QCOMPARE(copione.mostrati()[1].title, QStringLiteral("Errore GSM non operativo"));
        QCOMPARE(copione.mostrati()[1].style, 16);

        c.b.modem().impostaInvioMuto(1);
        c.invia({1}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.stato(1) == QStringLiteral("Esito Incerto"); }, 2500));
        QVERIFY(c.f->Riga(1)->toolTip(1).contains(QStringLiteral("potrebbe essere partito")));
        QCOMPARE(c.coda()[0], QStringLiteral("1?"));
    }

    // An uncertain row (no answer after the text, or the program ended while the text was out)
    // is shown as such, unticked, and is sent again only once the user ticks it.
    void esitoIncertoSoloSeSpuntato() {
        BancoCampagna c(2);
        PRONTO(c);
        CopioneMessaggi copione;
        c.b.modem().impostaInvioMuto(1);
        c.invia({1}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.stato(1) == QStringLiteral("Esito Incerto"); }, 2500));
        QVERIFY(c.finito());
        QVERIFY(c.f->Riga(1)->checkState(0) == Qt::Unchecked);
        // "Invia" again: nothing is due.
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(copione.testi(), QStringList{"Nessun Cliente è stato selezionato o già gli SMS "
                                              "sono stati inviati."});

        // Row 2's text goes out, and the program ends before its answer.
        c.b.sim.impostaRitardoEsitoInvio(60000);
        c.invia({2}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.b.modem().haEsitoInvio(); }));
        QCOMPARE(c.coda().mid(0, 2), QStringList({"1?", "2?"}));
        c.b.modem().esitoInvio(); // lost with the program
        c.riavvia();
        c.b.sim.impostaRitardoEsitoInvio(0);
        QVERIFY(c.b.finche([&] { return c.b.abilitato(); }) && c.b.simSvuotata());
        c.apri();
        QCOMPARE(c.stato(1) + "," + c.stato(2), QStringLiteral("Esito Incerto,Esito Incerto"));
        QVERIFY(c.f->Riga(2)->checkState(0) == Qt::Unchecked);
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.b.modem().richiesteInviate().size(), 1);
        // The user's tick sends it again.
        c.f->Riga(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(c.stato(1), QStringLiteral("Selezionato"));
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms(), QStringList({numero(2) + " Ciao", numero(1) + " Ciao"}));
        QCOMPARE(c.coda().mid(0, 2), QStringList({"1I", "2?"}));
    }

    // The window closed while the first text of two is out and its answer is late: the answer
    // is recorded all the same, so the reopened window sends only the second customer.
    void chiusaConIlTestoFuoriERiaperta() {
        BancoCampagna c(2);
        PRONTO(c);
        c.b.sim.impostaRitardoEsitoInvio(150);
        c.invia({1, 2}, QStringLiteral("Pizza a domicilio"));
        QVERIFY(c.finche([&] { return c.b.modem().haEsitoInvio(); }));
        QVERIFY(c.f->BtnEsci->isEnabled());
        c.f->BtnEsci->click();
        c.f.reset();
        // The answer comes when the network gives it.
        QTRY_VERIFY_WITH_TIMEOUT((c.b.sim.servi(), !c.b.modem().haEsitoInvio()), 10000);
        QVERIFY(c.b.finche([&] { return !c.campagna->InAttesaEsito(); }));
        c.apri();
        QCOMPARE(c.stato(1) + "," + c.stato(2), QStringLiteral("Sms Inviato,Selezionato"));
        c.b.sim.impostaRitardoEsitoInvio(0);
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms(),
                 QStringList({numero(1) + " Pizza a domicilio", numero(2) + " Pizza a domicilio"}));
        QCOMPARE(c.coda().mid(0, 2), QStringList({"1I", "2I"}));
    }

    // A ticked failed row is still due at the next "Invia"; "Filtra" keeps the rows the file
    // says were sent, so they are not offered again.
    void falliteAncoraDovuteEInviatiTenutiDalFiltro() {
        BancoCampagna c(3);
        PRONTO(c);
        CopioneMessaggi copione;
        c.b.modem().rifiutaInvioA(numero(1).toLatin1());
        c.invia({1, 2}, QStringLiteral("Sconti"));
        QVERIFY(c.finito());
        QCOMPARE(c.stato(1) + "," + c.stato(2), QStringLiteral("Errore Invio,Sms Inviato"));
        c.b.modem().nessunRifiuto();
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms(), QStringList({numero(2) + " Sconti", numero(1) + " Sconti"}));

        c.f.reset();
        c.apri();
        c.f->BtnFiltra->click();
        QCOMPARE(c.stato(1) + "," + c.stato(2), QStringLiteral("Sms Inviato,Sms Inviato"));
        c.f->Riga(3)->setCheckState(0, Qt::Checked);
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms().size(), 3);
        QCOMPARE(c.coda().mid(0, 3), QStringList({"1I", "2I", "3I"}));
        QVERIFY(copione.mostrati().isEmpty());
    }

    // The queue file cannot be rewritten after an outcome: the user is told, and the campaign
    // stops there.
    void codaNonRiscrivibile() {
        BancoCampagna c(2);
        PRONTO(c);
        CopioneMessaggi copione;
        c.invia({1, 2}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.b.modem().richiesteInviate().size() == 1; }));
        const QString percorso = c.f->Coda().Percorso();
        QVERIFY(QFile::remove(percorso) && QDir().mkdir(percorso));
        QVERIFY(c.finito());
        QCOMPARE(c.sms().size(), 1);
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Errore File Campagna"));
        QVERIFY(copione.mostrati()[0].prompt.contains(QStringLiteral("TempSms.txt")));
        QCOMPARE(c.stato(1) + "," + c.stato(2), QStringLiteral("Sms Inviato,Selezionato"));
    }

    // A new search of the modem while a text is out: the row is left uncertain at once, the
    // campaign goes on once the modem is back, and "Invia" is usable at its end.
    void nuovaRicercaDuranteLInvio() {
        BancoCampagna c(2);
        PRONTO(c);
        c.b.sim.impostaRitardoEsitoInvio(60000);
        c.invia({1, 2}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.b.modem().haEsitoInvio(); }));
        c.b.sim.impostaRitardoEsitoInvio(0);
        c.b.modem().esitoInvio();
        c.b.motore->supervisione.TrovaGsm();
        QCOMPARE(c.stato(1), QStringLiteral("Esito Incerto"));
        QVERIFY(!c.b.motore->invio.InVolo());
        QVERIFY(c.finito());
        QCOMPARE(c.sms(), QStringList({numero(1) + " Ciao", numero(2) + " Ciao"}));
        QVERIFY(c.f->BtnInviaSms->isEnabled());
    }

    // The window closed while its SMS waits for the prompt: that SMS is dropped, the late
    // outcome goes nowhere and polling resumes. The program started again brings the campaign
    // back and finishes it, sending to no one twice.
    void chiusoAMetaERiavviato() {
        BancoCampagna c(3);
        PRONTO(c);
        c.invia({1, 2, 3}, QStringLiteral("Ciao"));
        QVERIFY(c.finche([&] { return c.stato(2) == QStringLiteral("Invio in Corso"); }));
        QVERIFY(c.b.motore->invio.InVolo());
        const qsizetype comandi = c.b.comandi().size();
        c.f.reset();
        for (int i = 0; i < 150; ++i)
            c.passo();
        QVERIFY(c.sms().size() == 1 && !c.b.motore->invio.InVolo());
        QVERIFY(c.b.comandi().mid(comandi).contains("AT+CREG?"));
        QVERIFY(!c.b.comandi().contains("Ciao"));

        c.riavvia();
        QVERIFY(c.b.finche([&] { return c.b.abilitato(); }) && c.b.simSvuotata());
        c.apri();
        QCOMPARE(c.stato(1) + c.stato(2) + c.stato(3),
                 QStringLiteral("Sms InviatoSelezionatoSelezionato"));
        c.f->BtnInviaSms->click();
        QVERIFY(c.finito());
        QCOMPARE(c.sms(),
                 QStringList({numero(1) + " Ciao", numero(2) + " Ciao", numero(3) + " Ciao"}));
    }

    // The port fails under the SMS: that row is failed at once and the campaign stops with the
    // modem gone, the rest kept for the next run.
    void scritturaFallitaDuranteLInvio() {
        BancoMotore b(false, [](Archivio& a) { clienti(a, 2); });
        b.avviaFinoAdAbilitato();
        QVERIFY(b.tickFinche([&] { return b.s().TickAttesa == 0 && b.s().TickPolling == 1; }) >= 0);
        CopioneMessaggi copione;
        CampagnaSms campagna(*b.globale, *b.motore);
        FormInvioSms f(*b.globale, *b.motore, campagna);
        f.show();
        for (int r : {1, 2})
            f.Riga(r)->setCheckState(0, Qt::Checked);
        f.TxtTestoSms->setPlainText(QStringLiteral("Ciao"));
        f.BtnInviaSms->click();
        b.porta.scritturaFallisce = true;
        f.Timer1_Timer();
        QVERIFY(f.Timer1.isActive());
        f.Timer1_Timer();
        QCOMPARE(f.Riga(1)->text(1) + f.Riga(2)->text(1),
                 QStringLiteral("Errore InvioSelezionato"));
        QCOMPARE(copione.testi(), QStringList{QStringLiteral("Modulo Gsm non Operativo.")});
        QCOMPARE(f.BtnInviaSms->text(), QStringLiteral("Invia"));
        QFile file(f.Coda().Percorso());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("1S\r\n2S\r\n"));
    }

    // From the main menu with the real exec(): the window answers a real click over the disabled
    // main window, whose timer keeps running, and "Esci" hands the list rebuild back.
    void dalMenuPrincipale() {
        BancoFormMain b;
        b.avviaFinoAllaLista();
        const QList<QAction*> menu = b.form->menuBar()->actions();
        QCOMPARE(menu.indexOf(b.form->CmInvioSms) + 1, menu.indexOf(b.form->Mn_info->menuAction()));
        QCOMPARE(b.form->CmInvioSms->text(), QStringLiteral("InvioSms"));
        bool principaleDisabilitato = false;
        bool timerAttivo = false;
        bool nomiGiusti = true;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormInvioSms*>(QApplication::activeModalWidget());
            if (!f)
                return;
            principaleDisabilitato = !b.form->isEnabled();
            timerAttivo = b.form->Timer1.isActive();
            // Every control carries its caption or its label as its name.
            for (const QPushButton* p : f->findChildren<QPushButton*>())
                nomiGiusti &= p->accessibleName() == p->text();
            for (const QLabel* l : f->findChildren<QLabel*>())
                nomiGiusti &= l->accessibleName() == l->text();
            nomiGiusti &= f->Text1[2]->accessibleName() == "Tutti nati nel Mese" &&
                          f->TxtTestoSms->accessibleName() == "Testo del SMS da Inviare";
            QTest::mouseClick(f->BtnEsci, Qt::LeftButton);
            if (f->isVisible())
                f->reject();
        });
        ChiudiModaleRimasta(b.form.get());
        b.form->CmInvioSms->trigger();
        QVERIFY(principaleDisabilitato);
        QVERIFY(timerAttivo);
        QVERIFY(b.form->isEnabled());
        QVERIFY(nomiGiusti);
        QFile coda(b.cartella.file(QStringLiteral("TempSms.txt")));
        QVERIFY(coda.open(QIODevice::ReadOnly));
        QCOMPARE(coda.readAll(), QByteArray("\r\n"));
    }
};

QTEST_MAIN(TstFormInvioSms)
#include "tst_forminviosms.moc"
