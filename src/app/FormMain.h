#pragma once

#include "desk/ModelloSmsInAttesa.h"
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
class Applicazione;
class BackupAutomatico;

// The main window: the menus, the pending list beside the modem panel (PannelloModem), and the
// 100 ms timer that runs, in a fixed order, the start-up phases, the engine's steps and the
// announcement, from the end of the splash until ChiusuraProgramma says the program may end.
class FormMain : public QMainWindow, private DialogoUtente {
    Q_OBJECT
public:
    // The window over the program's working parts, which outlive it.
    explicit FormMain(Applicazione& applicazione, QWidget* parent = nullptr);
    // The window with working parts of its own: `porta` is the modem's port, `portaStampante`
    // the 80-column printer's.
    FormMain(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
             std::unique_ptr<PortaSeriale> portaStampante, QWidget* parent = nullptr);
    ~FormMain() override;

    static QString Titolo();

    // Load step and state initialisation: opens the archive, reads the settings, shows the splash
    // and starts Timer1. Returns false, after telling the user, when the archive cannot be opened;
    // the program then ends without touching anything.
    bool Avvia();

    // One tick of the main timer.
    void Timer1_Timer();

    // Public routines of the main window.
    void VisualizzaLista();
    void CmEsci_Click();
    void CmClienti_Click();
    // "Impostazioni": the settings and the operators, modal over this one.
    void CmConfiguraAttivita_Click();
    void CmImpostaGestoreSim_Click();
    // "Gestione SMS": the archive browser, modal over this one.
    void CmSMS_Click();
    // "Imposta Stampante": the system's printer dialog chooses where the page reports go.
    void CmStampa_Click();
    // "Informazioni sul Prodotto".
    void CmInfo_Click();
    // "Backup Archivio": where the copies go, the last good ones, a copy now.
    void CmBackup_Click();
    // "Ripristina Archivio…": a copy put back in place of the archive in use.
    void CmRipristina_Click();
    MotoreGsm& Motore() { return motore_; }

    // "InvioSms": the campaign window, modal over this one.
    void CmInvioSms_Click();

    // Public variables read by other windows.
    int rispformbox = 0;

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
    QLabel* LblListaSMS;
    QTreeView* ListaSMS;
    QTimer Timer1;
    PortaSeriale& MSComm1;
    PortaSeriale& MSComm2;

    // Every printout, and the system printer the page reports go to: one of each for the run.
    ModulofnStampa& Stampa() { return *stampa_; }
    StampanteCorrente& Stampante() { return *stampante_; }
    // The copies of the archive taken while the program runs.
    BackupAutomatico& Backup() { return *backup_; }

    // The windows this one loads and unloads; null while not loaded.
    FormLogo* logo() const;
    FormChiusura* chiusura() const;
    // The closing: its questions, the modem switched off, the closing copy.
    ChiusuraProgramma& Chiusura() { return *chiusura_; }
    // The modem panel: the engine's data, the PIN frame, the diagnostic lists (F7).
    PannelloModem& Pannello() { return *pannello_; }
    FormMsgBox1* msgBox1() const;
    // The desk: what a click on a pending row does.
    SportelloSms& Sportello() { return *sportello_; }
    // The pending list's rows with their records' ids, as ListaSMS shows them.
    const ModelloSmsInAttesa& Modello() const { return *modello_; }
    // The arrival notice and the automatic printing.
    Annunciatore& Annuncio() { return *annunciatore_; }
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
    void inizializzaStato();
    // An entry of `menu` (a menu or the menu bar) named `nome`, running `gestore`.
    QAction* voceMenu(QWidget* menu, const QString& testo, const QString& nome,
                      std::function<void()> gestore);
    void passoTimer();
    void smsRegistrato(const QString& numero, const RicezioneSms::Risultato& esito);
    void scaricaTutto();
    // The switches and the operator in use from the archive just opened.
    void leggiArchivio();
    // The archive was put back from a copy: everything read from it is read again.
    void archivioSostituito();
    void apriDocumento(const QString& nome);
    // Runs a handler of this window through its guard, then draws the modem panel.
    void esegui(const std::function<void()>& gestore);

    FormMain(std::unique_ptr<Applicazione> propria, Applicazione* applicazione, QWidget* parent);

    Applicazione& app_;
    std::unique_ptr<Applicazione> propria_; // only when the window made its own
    StatoGlobale& stato_;
    MotoreGsm& motore_;
    CampagnaSms* campagna_;
    StampanteCorrente* stampante_;
    ModulofnStampa* stampa_;
    BackupAutomatico* backup_;
    QPointer<FormLogo> logo_;
    // The closing's protocol, and its wait shown while the modem is switched off.
    std::unique_ptr<ChiusuraProgramma> chiusura_;
    QPointer<FormChiusura> attesa_;
    ModelloSmsInAttesa* modello_ = nullptr; // child of this window
    Annunciatore* annunciatore_ = nullptr;  // child of this window
    SportelloSms* sportello_ = nullptr;     // child of ListaSMS
    PannelloModem* pannello_ = nullptr;     // child of this window
    Guardia guardia_;
    bool scaricata_ = false;
    bool chiusuraEseguita_ = false;
    bool inTick_ = false;
};
