#include "BancoFormMain.h"
#include "BancoStampa80.h"
#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "modem/PannelloGsm.h"
#include "settings/FormConfigura.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// The settings window over a fresh archive whose record prints automatically with the
// 80-column printer off and its port 2; a pseudo-terminal stands as the printer on COM3.
struct Banco : BancoStampa80 {
    PannelloGsm pannello;
    std::unique_ptr<FormConfigura> form;

    Banco()
        : BancoStampa80(false) {
        DatiDiProva::Impostazioni(stato.archivio, true, false, false, QStringLiteral("2"));
        stato.gestore.nome = QStringLiteral("TIM");
        stato.gestore.credito = QStringLiteral("7,50");
        pannello.revisione = QStringLiteral("REV 1.0");
    }
    // Opened as the menu opens it: the settings in use follow the window.
    FormConfigura& apri() {
        form = std::make_unique<FormConfigura>(stato, impostazioni, modulo, pannello);
        impostazioni = form->Impostazioni();
        QObject::connect(form.get(), &FormConfigura::Cambiate,
                         [this](const ImpostazioniAttivita& nuove) { impostazioni = nuove; });
        return *form;
    }
    // A field of the stored record, read through another connection.
    QString registrato(const char* sql) {
        return ConnessioneEsterna(cartella.file(Archivio::NomeFile())).valore(sql).toString();
    }
};

} // namespace

class TstFormConfigura : public QObject {
    Q_OBJECT
private slots:
    // A switch clicked acts on the running program at once; leaving without saving keeps the
    // choice for the run and the stored record as it was.
    void interruttoriSenzaSalvare() {
        Banco b;
        FormConfigura& f = b.apri();
        QCOMPARE(f.Label1[6]->text(), QStringLiteral("Release Gsm :  REV 1.0"));
        QVERIFY(f.OptModStampa[0]->isChecked() && f.OptAccGsm[1]->isChecked());
        QVERIFY(!f.Frame3->isEnabled() && !f.Text1[6]->isEnabled() && !f.Label_Com->isEnabled());
        QCOMPARE(b.impostazioni.portaStampa80, 2);
        f.OptModStampa[1]->click();
        f.OptAccGsm[0]->click();
        f.Opt80Colonne->click();
        QVERIFY(!b.impostazioni.stampaAutomatica);
        QVERIFY(b.impostazioni.accensioneDtr);
        QVERIFY(b.impostazioni.stampa80Colonne);
        QVERIFY(f.Frame3->isEnabled() && f.Text1[6]->isEnabled() && f.Label_Com->isEnabled());
        f.Command1_Click(2);
        QCOMPARE(b.stato.archivio.rs().NomeTabella(), QStringLiteral("SMS"));
        QCOMPARE(b.registrato("SELECT ModStampa || ModAccGsm || Mod80Colonne FROM Impostazioni"),
                 QStringLiteral("100"));
    }

    // Only digits and "." reach the telephone and port boxes. "Modifica" stores the record once
    // confirmed, and the port it stores takes effect at once: the business cards, printed with
    // the texts as they stand (not saved), come out on the new port.
    void salvataggioEBiglietti() {
        Banco b;
        FormConfigura& f = b.apri();
        f.Opt80Colonne->click();
        f.Text1[6]->clear();
        QTest::keyClicks(f.Text1[6], QStringLiteral("COM3"));
        QCOMPARE(f.Text1[6]->text(), QStringLiteral("3"));
        QTest::keyClicks(f.Text1[2], QStringLiteral("tel 080.1234"));
        QCOMPARE(f.Text1[2]->text(), QStringLiteral("080.1234"));
        QTest::keyClicks(f.Text1[0], QStringLiteral("Pizzeria Da Gino"));
        f.Text1_5->setPlainText(QStringLiteral("Margherita\na 5 euro"));
        const PannelloGsm::Voce porta = b.pannello.porta;
        {
            CopioneMessaggi copione({Risposta::No, Risposta::Si});
            f.Command1_Click(0);
            QCOMPARE(b.registrato("SELECT NomeAttivita FROM Impostazioni"), QString());
            f.Command1_Click(0);
            QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Conferma Salvataggio Dati"));
            QCOMPARE(copione.mostrati()[0].prompt,
                     QStringLiteral("Confermi la memorizzazione delle modifiche effettuate ?"));
        }
        QCOMPARE(b.registrato("SELECT NomeAttivita || '|' || TelefonoGsm || '|' || "
                              "InformazioniAttivita || '|' || ModCom80Colonne || '|' || "
                              "Mod80Colonne || '|' || CreditoSim FROM Impostazioni"),
                 QStringLiteral("Pizzeria Da Gino|080.1234|Margherita\na 5 euro|3|1|7,50"));
        QCOMPARE(b.impostazioni.portaStampa80, 3);
        QCOMPARE(b.pannello.operatore.testo, QStringLiteral("Operatore TIM"));
        QCOMPARE(b.pannello.porta, porta);

        f.Text1[0]->setText(QStringLiteral("Pizzeria Nuova"));
        f.Command1_Click(1);
        const QByteArray stampato = b.stampante.leggi("J");
        QVERIFY2(stampato.startsWith("j@") && stampato.contains("Pizzeria Nuova") &&
                     stampato.contains("080.1234"),
                 stampato.constData());
        QCOMPARE(b.registrato("SELECT NomeAttivita FROM Impostazioni"),
                 QStringLiteral("Pizzeria Da Gino"));
    }

    // A port that is not a number from 1 to 16 is refused before anything is asked or stored.
    void portaNonValida_data() {
        QTest::addColumn<QString>("porta");
        QTest::newRow("vuota") << "";
        QTest::newRow("zero") << "0";
        QTest::newRow("17") << "17";
        QTest::newRow("punto") << "3.";
    }
    void portaNonValida() {
        QFETCH(QString, porta);
        Banco b;
        FormConfigura& f = b.apri();
        f.Opt80Colonne->click();
        f.Text1[6]->setText(porta);
        f.Text1[0]->setText(QStringLiteral("Pizzeria"));
        CopioneMessaggi copione;
        f.Command1_Click(0);
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(copione.mostrati()[0].prompt.startsWith(
            QStringLiteral("La porta Com della stampante 80 colonne deve essere un numero da 1")));
        QCOMPARE(b.registrato("SELECT NomeAttivita || ModCom80Colonne FROM Impostazioni"),
                 QStringLiteral("2"));
        QCOMPARE(b.impostazioni.portaStampa80, 2);
    }

    // From the menu, for real: the window over the disabled main window, "Esci" clicked; what it
    // read and what was clicked is what the program acts on.
    void dalMenuConUnClicVero() {
        BancoFormMain b;
        b.avviaFinoAllaLista();
        bool aperta = false, principaleDisabilitata = false;
        int portaAllApertura = 0;
        QList<ImpostazioniAttivita> annunciate;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormConfigura*>(QApplication::activeModalWidget());
            if (!f)
                return;
            aperta = f->isEnabled() && f->Command1[2]->isEnabled();
            principaleDisabilitata = !b.form->isEnabled();
            portaAllApertura = b.applicazione->Impostazioni().portaStampa80;
            QObject::connect(f, &FormConfigura::Cambiate,
                             [&](const ImpostazioniAttivita& i) { annunciate.append(i); });
            f->OptModStampa[0]->click();
            QTest::mouseClick(f->Command1[2], Qt::LeftButton);
        });
        // A port switched for the run only gives way to the stored one when the window opens.
        b.applicazione->CambiaImpostazioni({.portaStampa80 = 9});
        b.form->CmConfiguraAttivita->trigger();
        QVERIFY(aperta);
        QVERIFY(principaleDisabilitata);
        QVERIFY(b.form->isEnabled());
        QCOMPARE(portaAllApertura, 2);
        QVERIFY(b.applicazione->Impostazioni().stampaAutomatica);
        // The switch is told to whoever follows the settings, as it changes.
        QCOMPARE(annunciate.size(), 1);
        QVERIFY(annunciate[0].stampaAutomatica);
    }
};

QTEST_MAIN(TstFormConfigura)
#include "tst_formconfigura.moc"
