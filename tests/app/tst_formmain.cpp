#include "BancoFormMain.h"
#include "CartellaDiProva.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "app/FormChiusura.h"
#include "app/FormLogo.h"
#include "app/FormMain.h"
#include "archive/StatoGlobale.h"
#include "archive/CreatoreArchivio.h"
#include "platform/Documento.h"
#include "PortaSerialeMemoria.h"

#include <QCloseEvent>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using Banco = BancoFormMain;

class TstFormMain : public QObject {
    Q_OBJECT
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
        CreatoreArchivio::Crea(percorso, QStringLiteral(SCHEMA_ARCHIVIO), QStringLiteral("altra"));
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
        QVERIFY(s.StampaAutomatica);
        QVERIFY(s.AccensioneDtr);
        QVERIFY(s.Stampa80Colonne);
        QCOMPARE(s.PortaStampa80, 3);
        // The last operating record wins.
        QCOMPARE(s.GestoreAttivo, QStringLiteral("WindTre"));
        QCOMPARE(s.NumeroCredito, QStringLiteral("4155"));
        QCOMPARE(s.ModalitaCredito, 3);
        QCOMPARE(s.RispostaCredito, 1);
        QCOMPARE(s.CreditoResiduo, QStringLiteral("05,00"));
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore WindTre"));
        QVERIFY(!b.form->lblprovider->isEnabled());
        QCOMPARE(b.form->LblCredito->text(), QStringLiteral("Credito : 05,00 ?"));
    }

    void senzaGestoreOperativoIlCreditoNonEGestito() {
        Banco b;
        DatiDiProva::Gestore(b.archivioDiretto(), QStringLiteral("TIM"), QStringLiteral("40916"),
                             false);
        b.rinnova();
        QVERIFY(b.form->Avvia());
        QCOMPARE(b.stato->GestoreAttivo, QString());
        QCOMPARE(b.stato->ModalitaCredito, 0);
        QCOMPARE(b.form->LblCredito->text(), QStringLiteral("Credito NON Gestito"));
        QCOMPARE(b.form->lblprovider->text(), QStringLiteral("Operatore Sim"));
    }

    void iControlliHannoLeDidascalieDiProgetto() {
        Banco b;
        FormMain& f = *b.form;
        QCOMPARE(f.windowTitle(), QStringLiteral("VELTRIKA V 1.0.1"));
        QCOMPARE(f.FrmDatiTecnici->title(), QStringLiteral("Dati Tecnici"));
        QCOMPARE(f.LbLPortaModem->text(), QStringLiteral("Porta Gsm ="));
        QCOMPARE(f.lblledmodem->text(), QStringLiteral("Non Registrato"));
        QCOMPARE(f.LblPinCode->text(), QStringLiteral("1° Inserimento PIN"));
        QCOMPARE(f.BtnTrovaGsm->text(), QStringLiteral("Trova Gsm"));
        QCOMPARE(f.BtnTestCredito->text(), QStringLiteral("Gestione Credito"));
        QCOMPARE(f.BtnDisabilitaPinCode->text(), QStringLiteral("Gestione Pin"));
        QCOMPARE(f.FrmPin->title(), QStringLiteral("Codice PIN"));
        QCOMPARE(f.BtnPinCode->text(), QStringLiteral("OK"));
        QCOMPARE(f.BtnPinEsc->text(), QStringLiteral("ESC"));
        QCOMPARE(f.btnClearModem->text(), QStringLiteral("Clr Mod."));
        QCOMPARE(f.LblListaSMS->text(), QStringLiteral("Lista degli SMS Ricevuti"));
        QVERIFY(f.findChild<QTreeWidget*>(QStringLiteral("ListaSMS")));
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
        QVERIFY(b.form->AperturaInCorso);
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
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(!b.form->AperturaInCorso);
        QVERIFY(b.form->BtnTrovaGsm->isEnabled());
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 0);
        b.tick();
        QCOMPARE(b.form->FaseAvvio, 2);
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 1);
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
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 0);
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
        QCOMPARE(b.form->PortaCom, 3);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("Accendo il GSM Com: 3"));
        QCOMPARE(b.porta->Settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(b.form->AttesaAccensione);
        QVERIFY(b.porta->DTREnable());
        // The closing stays refused until the modem has answered the test.
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QCOMPARE(copione.testi(),
                 QStringList{QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                            "completamento dell'Apertura ")});
        QVERIFY(!b.form->ChiusuraRichiesta);
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
        QVERIFY(b.stato->ChiusuraEseguita);
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
        QCOMPARE(b.form->rispformbox, 7);
        QVERIFY(!b.form->ChiusuraRichiesta);
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
        b.form->AperturaInCorso = false; // as after the modem's answer to the test
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
        b.form->AperturaInCorso = false;
        b.stato->GsmAbilitato = true;
        b.form->AttesaAccensione = false;
        b.form->AttesaTest = false;
        b.porta->cambiDtr.clear();
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QVERIFY(copione.mostrati().isEmpty());
        QCOMPARE(b.form->rispformbox, 6);
        QVERIFY(b.form->SpegnimentoRichiesto);
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
        QVERIFY(!b.stato->GsmAbilitato);
        QCOMPARE(b.porta->cambiDtr.size(), 2);
        // A second "Esci" while the power-off runs does nothing.
    }

    void conUnaRispostaInAttesaSiChiedeConferma() {
        Banco b;
        b.porta->porteEsistenti = {1};
        b.avviaFinoAllaLista();
        b.form->AperturaInCorso = false;
        b.stato->GsmAbilitato = true;
        b.form->AttesaAccensione = false;
        b.form->InAttesaRisposta = true;
        CopioneMessaggi copione({7});
        b.form->CmEsci_Click();
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Conferma Chiusura"));
        QCOMPARE(copione.testi()[0],
                 QStringLiteral("Modulo GSM in esecuzione: la chiusura del programma comporterà "
                                "ad un interruzione forzata dell'operazione.\nVoler procedere?"));
        QVERIFY(!b.form->ChiusuraRichiesta);
        QVERIFY(!b.form->SpegnimentoRichiesto);
        QVERIFY(b.porta->PortOpen());

        // The exit command can be used again; this time Yes powers the modem off.
        copione.Rispondi(6);
        b.form->CmEsci_Click();
        QVERIFY(b.form->SpegnimentoRichiesto);
        QVERIFY(b.form->ChiusuraRichiesta);
        b.form->CmEsci_Click(); // already closing: nothing
        QCOMPARE(copione.mostrati().size(), 2);
        // The reply that was pending arrives: it is ignored and the pulse goes on.
        b.form->TickAttesa = 0;
        b.tick(21);
        QVERIFY(b.form->Scaricata());
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

    void f7MostraENascondeLaDiagnosticaVuotandoLeListe() {
        Banco b;
        b.avviaFinoAllaLista();
        QVERIFY(!b.form->FrModem->isVisible());
        b.form->ListSendModem->addItem(QStringLiteral("AT"));
        QTest::keyClick(b.form.get(), Qt::Key_F7);
        QVERIFY(b.form->FrModem->isVisible());
        QCOMPARE(b.form->ListSendModem->count(), 0);
        b.form->ListRicevutiModem->addItem(QStringLiteral("OK"));
        QTest::keyClick(b.form.get(), Qt::Key_F7);
        QVERIFY(!b.form->FrModem->isVisible());
        QCOMPARE(b.form->ListRicevutiModem->count(), 0);
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
        QTest::keyClick(b.form.get(), Qt::Key_F1);
        b.form->CmHelpStampa->trigger();
        Documento::RimuoviHook();
        QCOMPARE(aperti,
                 (QStringList{b.cartella.file(QStringLiteral("help.pdf")),
                              b.cartella.file(QStringLiteral("configurazione stampanti.pdf"))}));
        QVERIFY(copione.mostrati().isEmpty());
    }

    void unUltimaPortaOccupataChiudeComunqueLaRicerca() {
        Banco b;
        b.porta->porteEsistenti = {16};
        b.porta->porteOccupate = {16};
        b.avviaFinoAllaLista();
        QCOMPARE(b.form->PortaCom, 16);
        QCOMPARE(b.form->LbLPortaModem->text(), QStringLiteral("GSM Spento o non Collegato"));
        QVERIFY(!b.form->AperturaInCorso);
        QVERIFY(b.porta->aperture.isEmpty());
        // ...so the program can still be closed.
        CopioneMessaggi copione;
        b.form->CmEsci_Click();
        QVERIFY(b.form->Scaricata());
    }

    void trovaGsmRicominciaDallaPrimaPorta() {
        Banco b;
        b.avviaFinoAllaLista();
        b.porta->porteEsistenti = {2};
        b.porta->porteOccupate = {1};
        b.form->BtnTrovaGsm->click();
        QCOMPARE(b.porta->aperture, QVector<int>{2});
        QCOMPARE(b.form->PortaCom, 2);
        QVERIFY(!b.form->BtnTrovaGsm->isEnabled());
        QCOMPARE(b.stato->TipoComando, 0);
    }
};

QTEST_MAIN(TstFormMain)
#include "tst_formmain.moc"
