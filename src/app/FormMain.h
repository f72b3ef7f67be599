#pragma once

#include "Applicazione.h"
#include "desk/ModelloSmsInAttesa.h"
#include "desk/PannelloListaSms.h"
#include "modem/DialogoUtente.h"
#include "modem/MotoreGsm.h"
#include "platform/Guardia.h"
#include "platform/PortaSeriale.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <memory>

struct StatoGlobale;
class FormLogo;
class FormChiusura;
class PannelloModem;
class ChiusuraProgramma;
class FormMsgBox1;
class Annunciatore;
class SportelloSms;
class ModulofnStampa;
class StampanteCorrente;
class CampagnaSms;
class ComandiMenu;
class BackupAutomatico;

// The main window: the menus, the pending list (PannelloListaSms) beside the modem panel
// (PannelloModem), and the 100 ms timer that runs, in a fixed order, the start-up phases, the
// engine's steps and the announcement, from the end of the splash until ChiusuraProgramma says
// the program may end. The working parts it drives are the Applicazione's and outlive it.
class FormMain : public QMainWindow, private DialogoUtente {
    Q_OBJECT
public:
    explicit FormMain(Applicazione& applicazione, QWidget* parent = nullptr);
    ~FormMain() override;

    static QString Titolo();

    // Load step and state initialisation: opens the archive, reads the settings, shows the splash
    // and starts Timer1. Returns false, after telling the user, when the archive cannot be opened;
    // the program then ends without touching anything.
    bool Avvia();

    // One tick of the main timer.
    void Timer1_Timer();

    // The pending list read again from the archive.
    void VisualizzaLista();
    // "Esci", and the close box: the closing's questions, then the closing.
    void CmEsci_Click();
    MotoreGsm& Motore() { return motore_; }

    // Start-up phases: 0 splash shown, 1 first fill of the list due, 2 running.
    int FaseAvvio = 0;
    int TickSplash = 0;

    // Controls.
    QMenu* MnFile;
    QMenu* CmConfigura;
    QAction* CmStampa;
    QAction* CmConfiguraAttivita;
    QAction* CmImpostaGestoreSim;
    QAction* CmBackup;
    QAction* CmRipristina;
    QAction* Separatore;
    QAction* CmEsci;
    QAction* CmClienti;
    QAction* CmSMS;
    QAction* CmInvioSms;
    QMenu* Mn_info;
    QAction* CmHelp;
    QAction* CmHelpStampa;
    QAction* CmInfo;
    // The pending list's caption and view.
    QLabel* LblListaSMS;
    QTreeView* ListaSMS;
    QTimer Timer1;
    PortaSeriale& MSComm1;
    PortaSeriale& MSComm2;

    // Every printout, and the system printer the page reports go to: one of each for the run.
    ModulofnStampa& Stampa() { return app_.Stampa(); }
    StampanteCorrente& Stampante() { return app_.Stampante(); }
    // The copies of the archive taken while the program runs.
    BackupAutomatico& Backup() { return app_.Backup(); }

    // The windows this one loads and unloads; null while not loaded.
    FormLogo* logo() const;
    FormChiusura* chiusura() const;
    // The closing: its questions, the modem switched off, the closing copy.
    ChiusuraProgramma& Chiusura() { return *chiusura_; }
    // The modem panel: the engine's data, the PIN frame, the diagnostic lists (F7).
    PannelloModem& Pannello() { return *pannello_; }
    FormMsgBox1* msgBox1() const;
    // The desk: what a click on a pending row does.
    SportelloSms& Sportello() { return lista_->Sportello(); }
    // The pending list's rows with their records' ids, as ListaSMS shows them.
    const ModelloSmsInAttesa& Modello() const { return lista_->Modello(); }
    // The arrival notice and the automatic printing.
    Annunciatore& Annuncio() { return lista_->Annuncio(); }
    // True once the window has been unloaded at the end of the closing.
    bool Scaricata() const { return scaricata_; }
    // The closing has run: the window does not start again.
    bool ChiusuraEseguita() const { return chiusuraEseguita_; }
    // The session ends or the system stops the program: the closing without questions, with
    // its bounded copy; what the copy has to say goes to the log, as nobody can answer a box.
    void ChiusuraDiSistema();

signals:
    // The closing has finished: the program may end.
    void Terminata();

protected:
    void closeEvent(QCloseEvent* evento) override;
    // F7 and F1 are this window's own, whichever of its controls has the focus.
    bool eventFilter(QObject* destinatario, QEvent* evento) override;

private:
    // The modem engine's boxes belong to this window.
    int Messaggio(const QString& testo, int stile, const QString& titolo) override;
    void Diagnostica(bool inviata, const QString& riga) override;

    void costruisciControlli();
    void passoTimer();
    // The closing's questions, then the closing; unguarded, for the callers that guard it.
    void esci();
    void scaricaTutto();
    // The archive was put back from a copy: everything read from it is read again.
    void archivioSostituito();
    void apriDocumento(const QString& nome);
    // Runs a handler of this window through its guard, then draws the modem panel.
    void esegui(const std::function<void()>& gestore);

    Applicazione& app_;
    StatoGlobale& stato_;
    MotoreGsm& motore_;
    QPointer<FormLogo> logo_;
    // The closing's protocol, and its wait shown while the modem is switched off.
    std::unique_ptr<ChiusuraProgramma> chiusura_;
    ComandiMenu* comandi_; // child of this window
    QPointer<FormChiusura> attesa_;
    PannelloListaSms* lista_ = nullptr; // child of this window
    PannelloModem* pannello_ = nullptr; // child of this window
    Guardia guardia_;
    bool scaricata_ = false;
    bool chiusuraEseguita_ = false;
    bool inTick_ = false;
};
