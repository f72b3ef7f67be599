#include "BancoFormMain.h"
#include "CapoPty.h"
#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "PortaSerialeMemoria.h"
#include "RegistroSuoni.h"
#include "TestoPdf.h"
#include "app/ChiusuraDiSistema.h"
#include "app/ChiusuraProgramma.h"
#include "app/FormChiusura.h"
#include "app/FormLogo.h"
#include "app/FormMain.h"
#include "app/PannelloModem.h"
#include "archive/CreatoreArchivio.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "backup/ConservazioneCopie.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/VerificaCopia.h"
#include "desk/Annunciatore.h"
#include "desk/FormMsgBox1.h"
#include "platform/Documento.h"
#include "printing/StampanteCorrente.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <memory>

using Banco = BancoFormMain;

namespace {
const QString kMario = QStringLiteral("+393331112222");
}

class TstFormMain : public QObject {
    Q_OBJECT

    // Through the start-up and the first scan until the arrival notice shows.
    static void avviaFinoAllAvviso(Banco& b) {
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return b.form->msgBox1() != nullptr; }, 300) >= 0);
    }
private slots:
    void archivioMancanteChiudeSenzaCrearneUno() {
        Banco b;
        QFile::remove(b.cartella.file(QStringLiteral("archivio.mdb")));
        CopioneMessaggi copione;
        QVERIFY(!b.form->Avvia());
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(copione.testi()[0].contains(QStringLiteral("Impossibile aprire l'archivio")));
        QVERIFY(copione.testi()[0].contains(QStringLiteral("3024")));
        QVERIFY(!QFile::exists(b.cartella.file(QStringLiteral("archivio.mdb"))));
        QVERIFY(!b.form->Timer1.isActive());
        QVERIFY(!b.form->logo());
    }

    void archivioNonLeggibileChiudeSenzaToccarlo() {
        Banco b;
        const QString percorso = b.cartella.file(QStringLiteral("archivio.mdb"));
        {
            QFile f(percorso);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(4096, 'x'));
        }
        CopioneMessaggi copione;
        QVERIFY(!b.form->Avvia());
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].style, 16);
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(4096, 'x'));
    }

    void archivioConAltraPasswordChiudeConUnMessaggio() {
        Banco b;
        const QString percorso = b.cartella.file(QStringLiteral("archivio.mdb"));
        QVERIFY(QFile::remove(percorso));
        CreatoreArchivio::Crea(percorso, QStringLiteral("altra"));
        CopioneMessaggi copione;
        QVERIFY(!b.form->Avvia());
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(copione.testi()[0].contains(QStringLiteral("3031")));
        QVERIFY(!b.stato->archivio.Caricato());
    }

    void leImpostazioniEIlGestoreOperativoVannoNelloStato() {
        Banco b;
        Archivio& a = b.archivioDiretto();
        DatiDiProva::Impostazioni(a, true, true, true, QStringLiteral("3"));
        DatiDiProva::Gestore(a, QStringLiteral("TIM"), QStringLiteral("40916"), true, 1,
                             QStringLiteral("12,34"));
        DatiDiProva::Gestore(a, QStringLiteral("Vodafone"), QStringLiteral("*100#"), false, 2);
        DatiDiProva::Gestore(a, QStringLiteral("WindTre"), QStringLiteral("4155"), true, 3,
                             QStringLiteral("05,00"));
        b.rinnova();
        CopioneMessaggi copione;
        QVERIFY(b.form->Avvia());
        StatoGlobale& s = *b.stato;
        const ImpostazioniAttivita& i = b.applicazione->Impostazioni();
        QVERIFY(i.stampaAutomatica);
        QVERIFY(i.accensioneDtr);
        QVERIFY(i.stampa80Colonne);
        QCOMPARE(i.portaStampa80, 3);
        // The last operating record wins.
        QCOMPARE(s.gestore.nome, QStringLiteral("WindTre"));
        QCOMPARE(s.gestore.numeroCredito, QStringLiteral("4155"));
        QCOMPARE(s.gestore.modalita, 3);
        QCOMPARE(s.gestore.risposta, 1);
        QCOMPARE(s.gestore.credito, QStringLiteral("05,00"));
        QCOMPARE(b.form->Pannello().lblprovider->text(), QStringLiteral("Operatore WindTre"));
        QVERIFY(!b.form->Pannello().lblprovider->isEnabled());
        QCOMPARE(b.form->Pannello().LblCredito->text(), QStringLiteral("Credito : 05,00 ?"));
    }

    void senzaGestoreOperativoIlCreditoNonEGestito() {
        Banco b;
        DatiDiProva::Gestore(b.archivioDiretto(), QStringLiteral("TIM"), QStringLiteral("40916"),
                             false);
        b.rinnova();
        QVERIFY(b.form->Avvia());
        QCOMPARE(b.stato->gestore.nome, QString());
        QCOMPARE(b.stato->gestore.modalita, 0);
        QCOMPARE(b.form->Pannello().LblCredito->text(), QStringLiteral("Credito NON Gestito"));
        QCOMPARE(b.form->Pannello().lblprovider->text(), QStringLiteral("Operatore Sim"));
    }

    // Screen readers and automated checks find every control by its caption or its label.
    void ogniControlloPortaIlSuoNome() {
        Banco b;
        FormMain& f = *b.form;
        QCOMPARE(f.windowTitle(), QStringLiteral("VELTRIKA V 1.0.1"));
        for (const QPushButton* p : f.findChildren<QPushButton*>())
            QCOMPARE(p->accessibleName(), p->text());
        for (const QLabel* l : f.findChildren<QLabel*>())
            QCOMPARE(l->accessibleName(), l->text());
        QCOMPARE(f.ListaSMS->accessibleName(), QStringLiteral("Lista degli SMS Ricevuti"));
        QCOMPARE(f.Pannello().TxtPinCode->accessibleName(), QStringLiteral("Codice PIN"));
    }

    void lAvvioSegueLeFasiDelTimer() {
        Banco b;
        DatiDiProva::SmsInAttesa(b.archivioDiretto(), QStringLiteral("3331112222"),
                                 QStringLiteral("07/12/26"), QStringLiteral("10:15:30"),
                                 QStringLiteral("Una margherita"));
        b.rinnova();
        QVERIFY(b.form->Avvia());
        QVERIFY(b.form->logo() && b.form->logo()->isVisible());
        QVERIFY(b.form->logo()->Timer1.isActive());
        QCOMPARE(b.form->logo()->Timer1.interval(), 500);
        QCOMPARE(b.form->Timer1.interval(), 100);
        QVERIFY(b.s().AperturaInCorso);
        QVERIFY(!b.form->isVisible());
        b.form->logo()->Timer1_Timer();
        QCOMPARE(b.form->logo()->LblCaricamento->text(),
                 QStringLiteral("  Caricamento in Corso.."));

        b.tick(19);
        QVERIFY(b.form->logo()->isVisible());
        QCOMPARE(b.form->FaseAvvio, 0);
        b.tick();
        QCOMPARE(b.form->FaseAvvio, 1);
        QVERIFY(!b.form->logo()->isVisible());
        QVERIFY(!b.form->logo()->Timer1.isActive());
        QVERIFY(b.form->isVisible());
        QVERIFY(b.form->isEnabled());
        // No serial port: the search went through COM1..COM16 and ended.
        QCOMPARE(b.form->Pannello().LbLPortaModem->text(),
                 QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(!b.s().AperturaInCorso);
        QVERIFY(b.form->Pannello().BtnTrovaGsm->isEnabled());
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 0);
        b.tick();
        QCOMPARE(b.form->FaseAvvio, 2);
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
    }

    void stampaAutomaticaAvvisaAllaFineDelloSplash() {
        Banco b;
        DatiDiProva::Impostazioni(b.archivioDiretto(), true, false, false, QStringLiteral("2"));
        b.rinnova();
        CopioneMessaggi copione;
        QVERIFY(b.form->Avvia());
        b.tick(19);
        QVERIFY(copione.mostrati().isEmpty());
        b.tick();
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Informazioni di Stampa"));
        QCOMPARE(copione.mostrati()[0].style, 64);
        QVERIFY(copione.testi()[0].startsWith(QStringLiteral("La Stampa Automatica è attiva.")));
    }

    void unTickNonSiSovrapponeAUnAltro() {
        Banco b;
        DatiDiProva::Impostazioni(b.archivioDiretto(), true, false, false, QStringLiteral("2"));
        b.rinnova();
        QVERIFY(b.form->Avvia());
        b.tick(19);
        // The box of the 20th tick runs an event loop: a tick that falls meanwhile does nothing.
        int faseDuranteLaFinestra = -1;
        MsgBoxHook::Installa([&](const MessaggioMostrato&) {
            b.form->Timer1_Timer();
            faseDuranteLaFinestra = b.form->FaseAvvio;
            return 1;
        });
        b.tick();
        MsgBoxHook::Rimuovi();
        QCOMPARE(faseDuranteLaFinestra, 1);
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 0);
        b.tick();
        QCOMPARE(b.form->FaseAvvio, 2);
    }

    void laPortaTrovataApreLaSequenzaDiAccensione() {
        Banco b;
        DatiDiProva::Impostazioni(b.archivioDiretto(), false, true, false, QStringLiteral("2"));
        b.rinnova();
        b.porta->porteEsistenti = {3};
        QVERIFY(b.form->Avvia());
        b.tick(20);
        QCOMPARE(b.porta->aperture, QVector<int>{3});
        QCOMPARE(b.s().PortaCom, 3);
        QCOMPARE(b.form->Pannello().LbLPortaModem->text(), QStringLiteral("Accendo il GSM Com: 3"));
        QCOMPARE(b.porta->Settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(b.s().AttesaAccensione);
        QVERIFY(b.porta->DTREnable());
        // The closing stays refused until the modem has answered the test.
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QCOMPARE(copione.testi(),
                 QStringList{QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                            "completamento dell'Apertura ")});
        QVERIFY(!b.s().ChiusuraRichiesta);
        QVERIFY(!b.form->Scaricata());
    }

    void esciConListaVuotaEModemSpentoChiudeSenzaDomande() {
        Banco b;
        b.avviaFinoAllaLista();
        QSignalSpy terminata(b.form.get(), &FormMain::Terminata);
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QVERIFY(copione.mostrati().isEmpty());
        QVERIFY(b.form->Scaricata());
        QVERIFY(!b.form->Timer1.isActive());
        QVERIFY(!b.form->isVisible());
        QVERIFY(b.form->ChiusuraEseguita());
        QCOMPARE(terminata.count(), 1);
    }

    void conSmsDaGestireNoLasciaTuttoComEra() {
        Banco b;
        DatiDiProva::SmsInAttesa(b.archivioDiretto(), QStringLiteral("3331112222"),
                                 QStringLiteral("07/12/26"), QStringLiteral("10:15:30"),
                                 QStringLiteral("Pizza"));
        b.rinnova();
        b.avviaFinoAllaLista();
        CopioneMessaggi copione({7});
        b.form->CmEsci_Click();
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Chiusura Applicazione"));
        QCOMPARE(copione.mostrati()[0].style, 4 + 48);
        QCOMPARE(copione.testi()[0],
                 QStringLiteral("ATTENZIONE !!!! Ci sono ancora SMS da gestire \nSicuro di voler "
                                "chiudere l'applicazione?\n"));
        QVERIFY(b.form->Chiusura().UltimaScelta() == ChiusuraProgramma::Scelta::Resta);
        QVERIFY(!b.s().ChiusuraRichiesta);
        QVERIFY(!b.form->Scaricata());
        QVERIFY(b.form->Timer1.isActive());
        // Yes, the second time, ends the program.
        copione.Rispondi(6);
        b.form->CmEsci_Click();
        QVERIFY(b.form->Scaricata());
    }

    void conLaPortaApertaMaModemNonInizializzatoLaChiudeSubito() {
        Banco b;
        b.porta->porteEsistenti = {1};
        b.avviaFinoAllaLista();
        b.s().AperturaInCorso = false; // as after the modem's answer to the test
        QVERIFY(b.porta->PortOpen());
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QVERIFY(copione.mostrati().isEmpty());
        QVERIFY(!b.porta->PortOpen());
        QVERIFY(!b.porta->DTREnable());
        QVERIFY(b.form->Scaricata());
    }

    void modemInizializzatoSiSpegneConImpulsoDiVentunoTick() {
        Banco b;
        b.porta->porteEsistenti = {1};
        b.avviaFinoAllaLista();
        b.s().AperturaInCorso = false;
        b.s().GsmAbilitato = true;
        b.s().AttesaAccensione = false;
        b.s().AttesaTest = false;
        b.porta->cambiDtr.clear();
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QVERIFY(copione.mostrati().isEmpty());
        QVERIFY(b.form->Chiusura().UltimaScelta() == ChiusuraProgramma::Scelta::Chiudi);
        QVERIFY(b.s().SpegnimentoRichiesto);
        QVERIFY(b.form->chiusura() && b.form->chiusura()->isVisible());
        QVERIFY(b.porta->DTREnable());
        QVERIFY(!b.form->Scaricata());

        b.tick(20);
        QVERIFY(b.porta->DTREnable());
        QVERIFY(!b.form->Scaricata());
        b.tick();
        QVERIFY(!b.porta->DTREnable());
        QVERIFY(!b.porta->PortOpen());
        QVERIFY(b.form->Scaricata());
        QVERIFY(!b.form->chiusura());
        QVERIFY(!b.s().GsmAbilitato);
        QCOMPARE(b.porta->cambiDtr.size(), 2);
        // A second "Esci" while the power-off runs does nothing.
    }

    void conUnaRispostaInAttesaSiChiedeConferma() {
        Banco b;
        b.porta->porteEsistenti = {1};
        b.avviaFinoAllaLista();
        b.s().AperturaInCorso = false;
        b.s().GsmAbilitato = true;
        b.s().AttesaAccensione = false;
        b.s().InAttesaRisposta = true;
        CopioneMessaggi copione({7});
        b.form->CmEsci_Click();
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Conferma Chiusura"));
        QCOMPARE(copione.testi()[0],
                 QStringLiteral("Modulo GSM in esecuzione: la chiusura del programma comporterà "
                                "ad un interruzione forzata dell'operazione.\nVoler procedere?"));
        QVERIFY(!b.s().ChiusuraRichiesta);
        QVERIFY(!b.s().SpegnimentoRichiesto);
        QVERIFY(b.porta->PortOpen());

        // The exit command can be used again; this time Yes powers the modem off.
        copione.Rispondi(6);
        b.form->CmEsci_Click();
        QVERIFY(b.s().SpegnimentoRichiesto);
        QVERIFY(b.s().ChiusuraRichiesta);
        b.form->CmEsci_Click(); // already closing: nothing
        QCOMPARE(copione.mostrati().size(), 2);
        // The reply that was pending arrives: it is ignored and the pulse goes on.
        b.s().TickAttesa = 0;
        b.tick(21);
        QVERIFY(b.form->Scaricata());
    }

    // "Esci" pressed while the credit asked by SMS waits for the modem's prompt: the main timer
    // runs under the question, the prompt is answered with the text, and after "No" the modem
    // is not left at its prompt: the polls go on as commands.
    void unaRispostaMentreSiChiedeDiChiudereENo() {
        Banco b;
        {
            Archivio& a = b.archivioDiretto();
            DatiDiProva::Modem(a, false);
            Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
            rs.MoveFirst();
            rs.Edit();
            rs.Imposta(QStringLiteral("TelCredito"), QStringLiteral("40916"));
            rs.Imposta(QStringLiteral("ModalitaCre"), 1);
            rs.Imposta(QStringLiteral("TestoSmsCredito"), QStringLiteral("CREDITO"));
            rs.Update();
        }
        b.rinnova();
        b.collegaModem();
        b.modem.risposte[QStringLiteral("AT+CMGS=\"40916\"")] = QStringLiteral("\r\n> ");
        b.modem.risposte[QStringLiteral("CREDITO")] = QStringLiteral("\r\n+CMGS: 5\r\n\r\nOK\r\n");
        {
            CopioneMessaggi avvio;
            b.avviaFinoAllaLista();
            QVERIFY(b.tickFinche([&] { return b.s().Registrato && b.form->Motore().Inattivo(); }) >=
                    0);
            QTest::mouseClick(b.form->Pannello().BtnTestCredito, Qt::LeftButton);
        }
        QCOMPARE(b.porta->righeScritte.last(), QStringLiteral("AT+CMGS=\"40916\""));
        const qsizetype indirizzo = b.porta->righeScritte.size() - 1;
        QStringList domande;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            domande << m.title;
            b.tick(5);
            return int(Risposta::No);
        });
        b.form->CmEsci_Click();
        MsgBoxHook::Rimuovi();
        QCOMPARE(domande, QStringList{QStringLiteral("Conferma Chiusura")});
        QVERIFY(!b.s().ChiusuraRichiesta);
        QVERIFY(!b.form->Scaricata());
        QVERIFY(b.tickFinche([&] { return b.porta->righeScritte.last() == "AT+CREG?"; }, 200) >= 0);
        QCOMPARE(b.porta->righeScritte.mid(indirizzo),
                 (QStringList{"AT+CMGS=\"40916\"", "CREDITO", "AT+CREG?"}));
    }

    void laChiusuraDellaFinestraEComeEsci() {
        Banco b;
        DatiDiProva::SmsInAttesa(b.archivioDiretto(), QStringLiteral("3331112222"),
                                 QStringLiteral("07/12/26"), QStringLiteral("10:15:30"),
                                 QStringLiteral("Pizza"));
        b.rinnova();
        b.avviaFinoAllaLista();
        CopioneMessaggi copione({7});
        QVERIFY(!b.form->close());
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(b.form->isVisible());
        copione.Rispondi(6);
        QVERIFY(b.form->close());
        QVERIFY(b.form->Scaricata());
    }

    void laGuidaSiApreDallaCartellaDelProgrammaSenzaMessaggi() {
        Banco b;
        b.avviaFinoAllaLista();
        QStringList aperti;
        Documento::InstallaHook([&](const QString& p) {
            aperti << p;
            return false; // no viewer, no file: still no message
        });
        CopioneMessaggi copione;
        b.form->ListaSMS->setFocus();
        QTest::keyClick(b.form->ListaSMS, Qt::Key_F1);
        b.form->CmHelpStampa->trigger();
        Documento::RimuoviHook();
        QCOMPARE(aperti,
                 (QStringList{b.cartella.file(QStringLiteral("help.pdf")),
                              b.cartella.file(QStringLiteral("configurazione stampanti.pdf"))}));
        QVERIFY(copione.mostrati().isEmpty());
    }

    // The modem panel as the user sees it, with real keys and clicks: the SIM asks its PIN, the
    // box takes digits and one comma only, "OK" enters it, and the panel follows the modem.
    void ilPannelloSegueIlModem() {
        Banco b;
        DatiDiProva::Gestore(b.archivioDiretto(), QStringLiteral("TIM"), QStringLiteral("*123#"),
                             true);
        b.rinnova();
        b.collegaModem();
        b.modem.risposte[QStringLiteral("AT+CLCK?")] = ModemCopione::Errore("SIM PIN required");
        b.modem.risposte[QStringLiteral("AT+CPIN=1234")] = ModemCopione::Ok();
        CopioneMessaggi copione;
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return !b.form->Pannello().FrmPin->isHidden(); }, 200) >= 0);
        QCOMPARE(b.form->Pannello().LbLPortaModem->text(), QStringLiteral("GSM ON Com: 1"));
        QTest::keyClicks(b.form->Pannello().TxtPinCode, QStringLiteral("52a7\"19;0\r34,83x16,,"));
        QCOMPARE(b.form->Pannello().TxtPinCode->text(), QStringLiteral("52719034,8316"));
        b.form->Pannello().TxtPinCode->clear();
        QTest::keyClicks(b.form->Pannello().TxtPinCode, QStringLiteral("1234"));
        QTest::mouseClick(b.form->Pannello().BtnPinCode, Qt::LeftButton);
        QVERIFY(b.tickFinche([&] { return b.form->Pannello().ProgressBar1->value() > 0; }, 50) >=
                0);
        QCOMPARE(b.form->Pannello().LblPinCode->text(), QStringLiteral("GSM ABILITATO"));
        QCOMPARE(b.form->Pannello().ProgressBar1->value(), 67);
        QCOMPARE(b.form->Pannello().lblprovider->text(), QStringLiteral("Operatore TIM"));
        QCOMPARE(b.form->Pannello().lblledmodem->text(), QStringLiteral("Segnale GSM"));
        QVERIFY(b.form->Pannello().FrmPin->isHidden());
        QVERIFY(b.form->Pannello().TxtPinCode->text().isEmpty());
        QCOMPARE(b.form->Pannello().BtnDisabilitaPinCode->text(), QStringLiteral("Disabilita Pin"));
        QCOMPARE(b.form->Pannello().BtnDisabilitaPinCode->accessibleName(),
                 QStringLiteral("Disabilita Pin"));
        QVERIFY(b.form->Pannello().BtnDisabilitaPinCode->isEnabled());
        QVERIFY(!b.form->Pannello().BtnTrovaGsm->isEnabled());
        QVERIFY(copione.testi().contains(QStringLiteral("Codice Pin valido. Gsm Abilitato")));

        // "Trova Gsm" starts again from COM1: the PIN is to be entered anew.
        b.porta->porteEsistenti = {2};
        b.form->Pannello().BtnTrovaGsm->setEnabled(true);
        QTest::mouseClick(b.form->Pannello().BtnTrovaGsm, Qt::LeftButton);
        QCOMPARE(b.porta->aperture.last(), 2);
        QCOMPARE(b.form->Pannello().LblPinCode->text(), QStringLiteral("1° Inserimento PIN"));
        QVERIFY(!b.form->Pannello().BtnTrovaGsm->isEnabled());
        QVERIFY(!b.form->Pannello().BtnDisabilitaPinCode->isEnabled());
    }

    // F7, from whichever control, shows the lines exchanged with the modem, keeping the latest
    // thousand; "Clr Mod." empties both lists.
    void laDiagnosticaMostraLeRigheScambiate() {
        Banco b;
        b.collegaModem();
        b.avviaFinoAllaLista();
        QVERIFY(b.form->Pannello().FrModem->isHidden());
        QTest::keyClick(b.form->ListaSMS, Qt::Key_F7);
        QVERIFY(!b.form->Pannello().FrModem->isHidden());
        QVERIFY(b.tickFinche([&] { return b.form->Pannello().ListRicevutiModem->count() >= 2; },
                             100) >= 0);
        QCOMPARE(b.form->Pannello().ListSendModem->item(0)->text(), QStringLiteral("AT"));
        QCOMPARE(b.form->Pannello().ListRicevutiModem->item(0)->text(),
                 QStringLiteral("\r\nOK\r\n"));
        for (int i = 1; i <= 1100; ++i)
            b.form->Motore().canale.Ricevi_Dati(QString::number(i));
        QCOMPARE(b.form->Pannello().ListRicevutiModem->count(), 1000);
        QCOMPARE(b.form->Pannello().ListRicevutiModem->item(999)->text(), QStringLiteral("1100"));
        QTest::mouseClick(b.form->Pannello().btnClearModem, Qt::LeftButton);
        QCOMPARE(b.form->Pannello().ListSendModem->count(), 0);
        QCOMPARE(b.form->Pannello().ListRicevutiModem->count(), 0);
        // F7 again hides them, empty, and nothing more is logged.
        b.form->Motore().canale.Ricevi_Dati(QStringLiteral("ultima"));
        QTest::keyClick(b.form->Pannello().ListRicevutiModem, Qt::Key_F7);
        QCOMPARE(b.form->Pannello().ListRicevutiModem->count(), 0);
        QVERIFY(b.form->Pannello().FrModem->isHidden());
        b.tick(300);
        QCOMPARE(b.form->Pannello().ListSendModem->count(), 0);
    }

    // Three messages read in one scan: Mario's first part, another customer, Mario's second part.
    // The second part joins Mario's row, the first of the list, not the last one.
    void unaParteUnitaAggiornaLaSuaRiga() {
        Banco b;
        b.collegaModem();
        b.modem.sms(1, kMario, QStringLiteral("26/12/07,10:15:30+04"),
                    QStringLiteral("Vorrei due pizze:"));
        b.modem.sms(2, QStringLiteral("+393479990000"), QStringLiteral("26/12/07,10:15:31+04"),
                    QStringLiteral("Un calzone"));
        b.modem.sms(3, kMario, QStringLiteral("26/12/07,10:15:33+04"),
                    QStringLiteral("una margherita e una diavola."));
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        avviaFinoAllAvviso(b);
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 2);
        QCOMPARE(b.form->ListaSMS->model()->index(0, 4).data().toString(),
                 QStringLiteral("Vorrei due pizze: una margherita e una diavola."));
        QCOMPARE(b.form->ListaSMS->model()->index(1, 4).data().toString(),
                 QStringLiteral("Un calzone"));
        // Two messages, two notices.
        QCOMPARE(b.form->msgBox1()->Label6->text(),
                 QStringLiteral("Vorrei due pizze: una margherita e una diavola."));
        QCOMPARE(b.form->Annuncio().InAttesa().size(), 1);
    }

    // A box the modem asks for belongs to the main window, even while the arrival notice is
    // the active window.
    void unAvvisoDelModemAppartieneAllaFinestraPrincipale() {
        Banco b;
        b.collegaModem();
        b.modem.sms(1, kMario, QStringLiteral("26/12/07,10:15:30+04"),
                    QStringLiteral("Una margherita"));
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        avviaFinoAllAvviso(b);
        b.form->msgBox1()->activateWindow();
        QApplication::setActiveWindow(b.form->msgBox1());
        QCOMPARE(QApplication::activeWindow(), b.form->msgBox1());
        // The PIN button with the frame open and its box empty: the engine asks for the code.
        b.form->Pannello().BtnDisabilitaPinCode_Click();
        b.form->Pannello().BtnDisabilitaPinCode_Click();
        QCOMPARE(copione.testi().last(), QStringLiteral("Inserire il CODICE PIN"));
        QCOMPARE(copione.mostrati().last().proprietario, b.form.get());
    }

    // With automatic printing on, each message announced is printed: on the receipt printer,
    // or as a page report on the system printer.
    void stampaAutomaticaDiOgniMessaggioAnnunciato_data() {
        QTest::addColumn<bool>("ottantaColonne");
        QTest::newRow("stampante a 80 colonne") << true;
        QTest::newRow("stampante di sistema") << false;
    }
    void stampaAutomaticaDiOgniMessaggioAnnunciato() {
        QFETCH(bool, ottantaColonne);
        Banco b;
        DatiDiProva::Impostazioni(b.archivioDiretto(), true, false, ottantaColonne,
                                  QStringLiteral("2"));
        b.rinnova();
        b.collegaModem();
        CapoPty stampante;
        QVERIFY(stampante.collega(b.cartella.percorso(), 2));
        const QString pdf = b.cartella.file(QStringLiteral("sms.pdf"));
        b.form->Stampante().UsaFilePdf(pdf, QPageSize(QPageSize::A4));
        b.modem.sms(1, kMario, QStringLiteral("26/12/07,10:15:30+04"),
                    QStringLiteral("Una margherita"));
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        avviaFinoAllAvviso(b);
        if (ottantaColonne) {
            const QByteArray stampato = stampante.leggi("J");
            QVERIFY(stampato.startsWith("j@\""));
            QVERIFY(stampato.endsWith("\"@J"));
            QVERIFY(stampato.contains("\"Una margherita \"@"));
            QVERIFY(stampato.contains("\" -3331112222 \"@"));
            QVERIFY(stampato.contains("\"Data: 07/12/26  -  Ora: 10:15:30 \"@"));
            return;
        }
        const TestoPdf testo(pdf);
        QVERIFY(testo.valido());
        QVERIFY(testo.inOrdine({QStringLiteral("Stampa SMS"), QStringLiteral("07/12/26"),
                                QStringLiteral("10:15:30"), QStringLiteral("3331112222"),
                                QStringLiteral("Una margherita")}));
    }
    // A copy once the archive is open and one at the closing, each checked, in the program's
    // folder; an order received in between is in the closing one. The USB stick chosen as
    // second folder is not inserted: the user hears it once that day, the copies still go.
    void copieDallAvvioAllaChiusura() {
        Banco b;
        ImpostazioniBackup impostazioni;
        impostazioni.secondaCartella = b.cartella.file(QStringLiteral("chiavetta"));
        QVERIFY(impostazioni.Scrivi(b.cartella.percorso()));
        b.collegaModem();
        QDateTime adesso(QDate(2026, 12, 9), QTime(10, 0));
        b.form->Backup().Adesso = [&adesso] { return adesso; };
        CopioneMessaggi copione;
        b.avviaFinoAllaLista();

        const QString cartella = ImpostazioniBackup::CartellaPrincipale(b.cartella.percorso());
        QTRY_VERIFY_WITH_TIMEOUT(
            !b.form->Backup().InCorso() && ConservazioneCopie::Elenco(cartella).size() == 1, 20000);
        adesso = adesso.addSecs(300);
        b.modem.sms(1, kMario, QStringLiteral("26/12/09,10:04:00+04"),
                    QStringLiteral("Due margherite per le 20"));
        QVERIFY(b.tickFinche([&] { return b.form->ListaSMS->model()->rowCount() == 1; }) >= 0);
        b.form->CmEsci_Click();
        QVERIFY(b.tickFinche([&] { return b.form->Scaricata(); }) >= 0);

        const QList<ConservazioneCopie::Copia> copie = ConservazioneCopie::Elenco(cartella);
        QCOMPARE(copie.size(), 2);
        QCOMPARE(copie[0].quando, QDateTime(QDate(2026, 12, 9), QTime(10, 5)));
        for (const ConservazioneCopie::Copia& c : copie)
            QVERIFY2(VerificaCopia::Verifica(c.percorso).valida, qPrintable(c.percorso));
        QCOMPARE(ConnessioneEsterna(copie[0].percorso)
                     .valore("SELECT group_concat(T3TestoSmsRicevuto) FROM SmsTemporanei")
                     .toString(),
                 QStringLiteral("Due margherite per le 20"));
        QCOMPARE(ConnessioneEsterna(copie[1].percorso)
                     .valore("SELECT COUNT(*) FROM SmsTemporanei")
                     .toInt(),
                 0);
        QCOMPARE(QDir(cartella).entryList(QDir::Files).size(), 2);
        QStringList avvisi;
        for (const MessaggioMostrato& m : copione.mostrati())
            if (m.title == QStringLiteral("Copia di sicurezza dell'archivio"))
                avvisi << m.prompt;
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(impostazioni.secondaCartella), qPrintable(avvisi[0]));
    }

    // SIGTERM (a shutdown) closes the program as File → Esci would, with its closing copy.
    void terminatoDalSistemaFaLaCopia() {
        Banco b;
        b.collegaModem();
        CopioneMessaggi copione;
        b.avviaFinoAllaLista();
        const QString cartella = ImpostazioniBackup::CartellaPrincipale(b.cartella.percorso());
        QTRY_VERIFY_WITH_TIMEOUT(!b.form->Backup().InCorso(), 20000);
        // The start-up copy goes: what is found later is the closing one.
        QDir(cartella).removeRecursively();
        ChiusuraDiSistema sistema;
        connect(&sistema, &ChiusuraDiSistema::Richiesta, b.form.get(),
                &FormMain::ChiusuraDiSistema);
        QCOMPARE(::raise(SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(b.form->Scaricata(), 20000);
        QCOMPARE(ConservazioneCopie::Elenco(cartella).size(), 1);
    }
};

QTEST_MAIN(TstFormMain)
#include "tst_formmain.moc"
