#pragma once

#include "modem/RicezioneSms.h"
#include "platform/PortaSeriale.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

struct StatoGlobale;
class FormLogo;
class FormChiusura;
class FormMsgBox1;
class ModulofnStampa;
class StampanteCorrente;
class ErroreRuntime;

// The main window: the pending list, the modem panel, and the 100 ms timer that drives the whole
// program from the end of the splash to the last tick of the closing.
class FormMain : public QMainWindow {
    Q_OBJECT
public:
    // `porta` is the modem's port, `portaStampante` the 80-column printer's.
    FormMain(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
             std::unique_ptr<PortaSeriale> portaStampante, QWidget* parent = nullptr);
    ~FormMain() override;

    static QString Titolo() { return QStringLiteral("VELTRIKA V 1.0.1"); }

    // Load step and state initialisation: opens the archive, reads the settings, shows the splash
    // and starts Timer1. Returns false, after telling the user, when the archive cannot be opened;
    // the program then ends without touching anything.
    bool Avvia();

    // One tick of the main timer.
    void Timer1_Timer();

    // Public routines of the main window.
    void VisualizzaLista();
    void CmEsci_Click();
    int Conferma_Chiusura();
    void Accendi_Gsm();
    void SetStringa_Gsm();
    void Invia_Dati();
    void Ricevi_Dati(const QString& risposta);
    void BtnTrovaGsm_Click();
    void BtnSpegniGsm_Click();
    void btnClearModem_Click();
    void BtnPinCode_Click();
    void BtnPinEsc_Click();
    void BtnDisabilitaPinCode_Click();

    // Public variables read by other windows.
    int rispformbox = 0;
    int ContaSMSArrivati = 0;
    bool VisualizzaSMSArrivati = false;

    // Main-window state of the start-up, the modem dialogue and the closing.
    int FaseAvvio = 0;
    int TickSplash = 0;
    int TickAttesa = 0;
    int TickPolling = 0;
    int TickAccensione = 0;
    int TimeoutTick = 10;
    int UltimoConteggioRx = 0;
    int TentativiPin = 0;
    int MancateRisposte = 0;
    int Riaccensioni = 0;
    int PortaCom = 1;
    int IndiceSim = 0;
    int PosizioniVuote = 0;
    // The SIM slot the next message scan begins with.
    int ProssimoInizioScansione = 1;
    static constexpr int kUltimaPosizioneSim = 255;
    bool FaseTesto = false;
    bool ChiamataVocale = false;
    bool ArgomentoTraVirgolette = false;
    bool AperturaInCorso = false;
    bool TestInCorso = false;
    bool InAttesaRisposta = false;
    bool SpegnimentoRichiesto = false;
    bool AttesaAccensione = false;
    bool Registrato = false;
    bool RicercaPorta = false;
    bool ChiusuraRichiesta = false;
    bool AttesaTest = false;

    // Controls.
    QMenu* MnFile;
    QAction* CmEsci;
    QMenu* Mn_info;
    QAction* CmHelp;
    QAction* CmHelpStampa;
    QLabel* LblListaSMS;
    QTreeWidget* ListaSMS;
    QGroupBox* FrmDatiTecnici;
    QLabel* LbLPortaModem;
    QLabel* lblledmodem;
    QLabel* lblprovider;
    QLabel* LblCredito;
    QLabel* LblPinCode;
    QProgressBar* ProgressBar1;
    QPushButton* BtnTrovaGsm;
    QPushButton* BtnTestCredito;
    QPushButton* BtnDisabilitaPinCode;
    QPushButton* BtnSpegniGsm;
    QGroupBox* FrmPin;
    QLineEdit* TxtPinCode;
    QPushButton* BtnPinCode;
    QPushButton* BtnPinEsc;
    QGroupBox* FrModem;
    QListWidget* ListSendModem;
    QListWidget* ListRicevutiModem;
    QPushButton* btnClearModem;
    QTimer Timer1;
    PortaSeriale& MSComm1;
    PortaSeriale& MSComm2;

    // Every printout, and the system printer the page reports go to: one of each for the run.
    ModulofnStampa& Stampa() { return *stampa_; }
    StampanteCorrente& Stampante() { return *stampante_; }

    // The windows this one loads and unloads; null while not loaded.
    FormLogo* logo() const;
    FormChiusura* chiusura() const;
    FormMsgBox1* msgBox1() const;
    // True once the window has been unloaded at the end of the closing.
    bool Scaricata() const { return scaricata_; }

signals:
    // The closing has finished: the program may end.
    void Terminata();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void costruisciControlli();
    void inizializzaStato();
    void passoTimer();
    bool passoInattivo();
    void raccogliRisposta();
    void polling();
    void annuncio();
    void scaricaTutto();
    void disabilitaEtichetteStato();
    void spegniPannello();
    void chiediCodicePin();
    void rispostaTest(const QString& risposta);
    void rispostaRevisione(const QString& risposta);
    void rispostaInizializzazione(const QString& risposta, int prossimo);
    void rispostaRegistrazione(const QString& risposta);
    void rispostaSegnale(const QString& risposta);
    void rispostaLetturaSms(const QString& risposta);
    void aggiornaRigaUnita(const QString& numero, const RicezioneSms::Risultato& esito);
    void cancellaDallaSim();
    void posizioneVuota();
    // Polling resumes; the next scan begins at slot `prossimoInizio`.
    void fineScansione(int prossimoInizio);
    void archivioNonScrivibile(const ErroreRuntime& e);
    void rispostaStatoSim(const QString& risposta);
    void rispostaPin(const QString& risposta);
    void rispostaBloccoPin(const QString& risposta);
    void simPronta();
    void chiudiPorta();
    void apriDocumento(const QString& nome);

    StatoGlobale& stato_;
    std::unique_ptr<PortaSeriale> porta_;
    std::unique_ptr<PortaSeriale> portaStampante_;
    std::unique_ptr<StampanteCorrente> stampante_;
    std::unique_ptr<ModulofnStampa> stampa_;
    QPointer<FormLogo> logo_;
    QPointer<FormChiusura> chiusura_;
    QPointer<FormMsgBox1> msgBox1_;
    bool scaricata_ = false;
    bool inTick_ = false;
    // The archive refused a received message: told once until a message is stored again.
    bool archivioGuasto_ = false;
    bool messaggiNellaScansione_ = false;
};
