#include "BancoFormMain.h"
#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "archive/StatoGlobale.h"
#include "modem/PannelloGsm.h"
#include "platform/MsgBox.h"
#include "settings/DividiData.h"
#include "settings/FormGestoreSim.h"
#include "settings/GestoriSim.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// The operator window over a fresh archive holding operators A (in use, USSD), B and C, whose
// counters run 2, 4, 5: the records before them were deleted.
struct Banco {
    CartellaDiProva cartella;
    StatoGlobale stato{cartella.percorso()};
    PannelloGsm pannello;
    std::unique_ptr<FormGestoreSim> form;

    explicit Banco(bool conGestori = true) {
        Archivio& a = stato.archivio;
        a.ApriArchivio(cartella.percorso());
        stato.Oggi = [] { return QDate(2026, 12, 7); };
        if (conGestori) {
            DatiDiProva::Gestore(a, "X", "1", false);
            DatiDiProva::Gestore(a, "A", "*123#", true, 2, "10,00");
            DatiDiProva::Gestore(a, "Y", "2", false);
            DatiDiProva::Gestore(a, "B", "40916", false, 1, "3,00");
            DatiDiProva::Gestore(a, "C", "4916", false);
            ConnessioneEsterna(a.Percorso())
                .esegui("DELETE FROM DatiGestoreSim WHERE GestoreSim IN ('X', 'Y')");
        }
        stato.gestore.Leggi(stato.archivio);
    }
    FormGestoreSim& apri() {
        form = std::make_unique<FormGestoreSim>(stato, pannello);
        return *form;
    }
    void scegli(const QString& nome) {
        form->Combo1->setCurrentIndex(form->Combo1->findText(nome));
        form->Combo1_Click();
    }
    // Name, number, in use, mode, in table order.
    QStringList tabella() {
        QStringList righe;
        for (const GestoriSim::Gestore& g : GestoriSim::Elenco(stato.archivio))
            righe << QStringLiteral("%1 %2 %3 %4 %5")
                         .arg(g.nome, g.telCredito, g.operativo ? "*" : "-")
                         .arg(g.modalita)
                         .arg(g.dataScadenza);
        return righe;
    }
};

} // namespace

class TstFormGestoreSim : public QObject {
    Q_OBJECT
private slots:
    void dateDivisaENormalizzata() {
        QCOMPARE(DividiData::Dividi("12/05/2012"), (DividiData::Parti{"12", "05", "2012"}));
        QCOMPARE(DividiData::Dividi("1/2/3/4"), (DividiData::Parti{"1", "2", "3"}));
        QCOMPARE(DividiData::Dividi(""), DividiData::Parti{});
        const QDate oggi(2026, 12, 8);
        QCOMPARE(DividiData::Normalizza({"abc", "13", "2099"}, oggi),
                 (DividiData::Parti{"08", "12", "2026"}));
        QCOMPARE(DividiData::Normalizza({"0", "", "2005"}, oggi),
                 (DividiData::Parti{"08", "12", "2005"}));
        QCOMPARE(DividiData::Normalizza({"31", "1", "-3"}, oggi),
                 (DividiData::Parti{"31", "1", "2026"}));
    }

    // The list in table order with "Aggiungi" last, on the operator in use; each operator is
    // found by its own identifier, whatever the gaps in the counters.
    void caricamentoESceltaPerIdentificatore() {
        Banco b;
        FormGestoreSim& f = b.apri();
        QCOMPARE(f.Combo1->count(), 4);
        QCOMPARE(f.Combo1->itemText(3), QStringLiteral("Aggiungi"));
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("A"));
        QVERIFY(f.Check1->isChecked() && f.Command2[0]->isEnabled());
        QVERIFY(f.Option1[2]->isChecked());
        QCOMPARE(f.LbLCreditoSim->text(), QStringLiteral("Credito Residuo Euro: 10,00"));
        b.scegli("B");
        QCOMPARE(f.Text1[1]->text(), QStringLiteral("40916"));
        QVERIFY(!f.Check1->isChecked() && !f.Command2[1]->isEnabled());
        QCOMPARE(f.Command1[0]->text(), QStringLiteral("Modifica"));
        CopioneMessaggi copione;
        f.Text1[1]->setText(QStringLiteral("40917"));
        f.Text2[0]->setText(QStringLiteral("abc"));
        f.Text2[1]->setText(QStringLiteral("5"));
        f.Text2[2]->setText(QStringLiteral("2005"));
        f.Command1_Click(0);
        const QString oggi = QStringLiteral("07");
        QCOMPARE(b.tabella(),
                 (QStringList{"A *123# * 2 ", "B 40917 - 1 " + oggi + "/5/2005", "C 4916 - 0 "}));
        // Saving an operator not in use leaves the running program's operator alone.
        QCOMPARE(b.stato.gestore.modalita, 2);
        QCOMPARE(b.stato.gestore.nome, QStringLiteral("A"));
        QVERIFY(copione.mostrati().isEmpty());
    }

    // "Aggiungi", then "Modifica" changes the operator just added; the reminder always follows
    // an addition. An empty table opens straight in add mode.
    void aggiuntaPoiModifica_data() {
        QTest::addColumn<bool>("conGestori");
        QTest::newRow("con altri gestori") << true;
        QTest::newRow("tabella vuota") << false;
    }
    void aggiuntaPoiModifica() {
        QFETCH(bool, conGestori);
        Banco b(conGestori);
        FormGestoreSim& f = b.apri();
        if (conGestori)
            b.scegli("Aggiungi");
        QCOMPARE(f.Command1[0]->text(), QStringLiteral("Aggiungi"));
        QVERIFY(!f.Check1->isChecked() && !f.Command2[0]->isEnabled());
        CopioneMessaggi copione;
        f.Text1[0]->setText(QStringLiteral("D"));
        f.Text1[1]->setText(QStringLiteral("*111#"));
        f.Option1[3]->setChecked(true);
        f.Command1_Click(0);
        QCOMPARE(f.Command1[0]->text(), QStringLiteral("Modifica"));
        QCOMPARE(copione.testi(), QStringList{" Attenzione Selezionare la modalità di gestione "
                                              "Credito << SMS >> o << Chiamata >>"});
        QCOMPARE(f.Combo1->currentText(), QStringLiteral("D"));
        f.Text1[0]->setText(QStringLiteral("D2"));
        f.Command1_Click(0);
        QCOMPARE(b.tabella().last().left(11), QStringLiteral("D2 *111# - "));
        QCOMPARE(b.tabella().size(), conGestori ? 4 : 1);
        QCOMPARE(f.Combo1->itemText(f.Combo1->count() - 1), QStringLiteral("Aggiungi"));
    }

    // Whether a save adds or changes follows the operator shown, whatever the button reads.
    void aggiuntaOModificaNonDallaDidascalia() {
        Banco b;
        FormGestoreSim& f = b.apri();
        CopioneMessaggi copione;
        b.scegli("Aggiungi");
        f.Command1[0]->setText(QStringLiteral("&Aggiungi")); // as a keyboard mnemonic reads
        f.Text1[0]->setText(QStringLiteral("D"));
        f.Text1[1]->setText(QStringLiteral("*111#"));
        QTest::mouseClick(f.Command1[0], Qt::LeftButton);
        QCOMPARE(b.tabella().size(), 4);
        QCOMPARE(b.tabella().last().left(8), QStringLiteral("D *111# "));

        b.scegli("B");
        f.Command1[0]->setText(QStringLiteral("Aggiungi"));
        f.Text1[0]->setText(QStringLiteral("B2"));
        QTest::mouseClick(f.Command1[0], Qt::LeftButton);
        QCOMPARE(b.tabella().size(), 4);
        QCOMPARE(b.tabella()[1].left(9), QStringLiteral("B2 40916 "));
    }

    // Ticking "Seleziona" and saving leaves that operator the only one in use, and the running
    // program and the main window's labels take it at once.
    void unoSoloInUso() {
        Banco b;
        FormGestoreSim& f = b.apri();
        b.scegli("B");
        f.Check1->setChecked(true);
        f.Command1_Click(0);
        QCOMPARE(b.tabella().filter(" * ").size(), 1);
        QVERIFY(b.tabella()[1].startsWith(QStringLiteral("B 40916 * 1")));
        QCOMPARE(b.stato.gestore.nome, QStringLiteral("B"));
        QCOMPARE(b.stato.gestore.numeroCredito, QStringLiteral("40916"));
        QCOMPARE(b.stato.gestore.modalita, 1);
        QCOMPARE(b.stato.gestore.credito, QStringLiteral("3,00"));
        QCOMPARE(b.pannello.operatore.testo, QStringLiteral("Operatore B"));
        QCOMPARE(b.pannello.credito.testo, QStringLiteral("Credito : 3,00 ?"));
        QVERIFY(f.Command2[0]->isEnabled());
        // An operator added as in use is the only one too.
        b.scegli("Aggiungi");
        f.Text1[0]->setText(QStringLiteral("D"));
        f.Text1[1]->setText(QStringLiteral("555"));
        f.Check1->setChecked(true);
        CopioneMessaggi copione;
        f.Command1_Click(0);
        QCOMPARE(b.tabella().filter(" * "), QStringList{"D 555 * 0 07/12/2026"});
        QCOMPARE(b.stato.gestore.nome, QStringLiteral("D"));
    }

    // A change with an empty number, or with a number another operator has, changes nothing,
    // not even which operator is in use.
    void salvataggiRifiutati() {
        Banco b;
        FormGestoreSim& f = b.apri();
        const QStringList prima = b.tabella();
        CopioneMessaggi copione;
        b.scegli("B");
        f.Check1->setChecked(true);
        f.Text1[1]->clear();
        f.Command1_Click(0);
        QCOMPARE(copione.testi(),
                 QStringList{" Attenzione inserire il Nome del Gestore con il relativo Numero"});
        QCOMPARE(b.tabella(), prima);

        f.Text1[1]->setText(QStringLiteral("*123#"));
        f.Command1_Click(0);
        b.scegli("Aggiungi");
        f.Text1[0]->setText(QStringLiteral("D"));
        f.Text1[1]->setText(QStringLiteral("4916"));
        f.Command1_Click(0);
        QCOMPARE(b.tabella(), prima);
        QCOMPARE(copione.mostrati().size(), 5);
        for (int i : {1, 3}) {
            QVERIFY(copione.mostrati()[i].prompt.endsWith(QStringLiteral("/3022")));
            QCOMPARE(copione.mostrati()[i].style, Stile::Esclamazione);
            QCOMPARE(copione.mostrati()[i + 1].title, QStringLiteral("Errore"));
            QCOMPARE(copione.mostrati()[i + 1].style, Stile::Critico);
        }
        QCOMPARE(b.stato.gestore.nome, QStringLiteral("A"));
    }

    // The call services, asked from the operator in use: No keeps the window, Yes hands the
    // request over and closes it.
    void serviziDiChiamata() {
        Banco b;
        FormGestoreSim& f = b.apri();
        CopioneMessaggi copione({Risposta::No, Risposta::Si});
        f.show();
        f.Command2_Click(0);
        QCOMPARE(b.pannello.servizioRichiesto, 0);
        QVERIFY(f.isVisible());
        f.Command2_Click(1);
        QCOMPARE(b.pannello.servizioRichiesto, 2);
        QVERIFY(!f.isVisible());
        QCOMPARE(copione.mostrati()[0].style,
                 Stile::SiNo + Stile::Informazione + Stile::SecondoPredefinito);
        QVERIFY(copione.mostrati()[0].prompt.contains(QStringLiteral("Segreteria Telefonica")));
        QVERIFY(copione.mostrati()[1].prompt.contains(QStringLiteral("Trasferimento di Chiamata")));
    }

    // From the menu, for real: the window over the disabled main window, "Segreteria Telefonica
    // OFF" clicked and confirmed; the main window then dials the code once the modem is idle.
    void dalMenuConUnClicVero() {
        BancoFormMain b;
        {
            CartellaDiProva& c = b.cartella;
            Archivio a;
            a.ApriArchivio(c.percorso());
            DatiDiProva::Modem(a, false);
        }
        b.collegaModem();
        b.modem.risposte[QStringLiteral("ATD##002#;")] = ModemCopione::Ok();
        CopioneMessaggi copione({Risposta::Ok, Risposta::Si});
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] {
            return b.s().Registrato && b.s().TickAttesa == 0 && b.form->Motore().Inattivo();
        }) >= 0);
        bool aperta = false, principaleDisabilitata = false;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormGestoreSim*>(QApplication::activeModalWidget());
            if (!f)
                return;
            aperta = f->isEnabled() && f->Command2[0]->isEnabled();
            principaleDisabilitata = !b.form->isEnabled();
            QTest::mouseClick(f->Command2[0], Qt::LeftButton);
        });
        b.form->CmImpostaGestoreSim->trigger();
        QVERIFY(aperta);
        QVERIFY(principaleDisabilitata);
        QVERIFY(b.form->isEnabled());
        QCOMPARE(b.form->Motore().pannello.servizioRichiesto, 1);
        b.tick(5);
        QVERIFY(b.porta->righeScritte.contains(QStringLiteral("ATD##002#;")));
        QCOMPARE(b.form->Motore().pannello.servizioRichiesto, 0);
        QCOMPARE(copione.testi().last(), QStringLiteral("Disabilitata la Segreteria Telefonica"));
    }
};

QTEST_MAIN(TstFormGestoreSim)
#include "tst_formgestoresim.moc"
