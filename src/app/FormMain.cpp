#include "FormMain.h"

#include "FormChiusura.h"
#include "FormLogo.h"
#include "LetturaImpostazioni.h"
#include "archive/StatoGlobale.h"
#include "desk/FormMsgBox1.h"
#include "desk/LetturaSmsInAttesa.h"
#include "modem/InterpreteSms.h"
#include "modem/RisposteModem.h"
#include "modem/TabellaComandi.h"
#include "platform/Documento.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"
#include "platform/Testo.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString kGsmAbilitato = QStringLiteral("GSM ABILITATO");
const QString kTitoloPin = QStringLiteral("Abilitazione MODULO GSM");
const QString kAbilitaPin = QStringLiteral("Abilita Pin");
const QString kDisabilitaPin = QStringLiteral("Disabilita Pin");

// The diagnostic lists keep the latest exchanges only, so that leaving them open for days does
// not eat the memory.
void aggiungiDiagnostica(QListWidget* lista, const QString& riga) {
    constexpr int kMassimoRighe = 1000;
    while (lista->count() >= kMassimoRighe)
        delete lista->takeItem(0);
    lista->addItem(riga);
}

bool conOk(const QString& risposta) {
    return RisposteModem::Contiene(risposta, QStringLiteral("OK"));
}
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);
} // namespace

FormMain::FormMain(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
                   std::unique_ptr<PortaSeriale> portaStampante, QWidget* parent)
    : QMainWindow(parent)
    , MSComm1(*porta)
    , MSComm2(*portaStampante)
    , stato_(stato)
    , porta_(std::move(porta))
    , portaStampante_(std::move(portaStampante))
    , stampante_(std::make_unique<StampanteCorrente>(stato.cartellaProgramma))
    , stampa_(std::make_unique<ModulofnStampa>(stato, MSComm2, *stampante_, this)) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(Titolo());
    costruisciControlli();
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
}

FormMain::~FormMain() {
    stampa_.reset(); // its previews belong to this window
    delete logo_;
    delete chiusura_;
    delete msgBox1_;
}

FormLogo* FormMain::logo() const {
    return logo_;
}

FormChiusura* FormMain::chiusura() const {
    return chiusura_;
}

FormMsgBox1* FormMain::msgBox1() const {
    return msgBox1_;
}

void FormMain::costruisciControlli() {
    MnFile = menuBar()->addMenu(QStringLiteral("File"));
    MnFile->setObjectName(QStringLiteral("MnFile"));
    CmEsci = MnFile->addAction(QStringLiteral("Esci"));
    CmEsci->setObjectName(QStringLiteral("CmEsci"));
    connect(CmEsci, &QAction::triggered, this, &FormMain::CmEsci_Click);
    Mn_info = menuBar()->addMenu(QStringLiteral("?"));
    Mn_info->setObjectName(QStringLiteral("Mn_info"));
    CmHelp = Mn_info->addAction(QStringLiteral("Help"));
    CmHelp->setObjectName(QStringLiteral("CmHelp"));
    connect(CmHelp, &QAction::triggered, this,
            [this] { apriDocumento(QStringLiteral("help.pdf")); });
    CmHelpStampa = Mn_info->addAction(QStringLiteral("Help di Stampa"));
    CmHelpStampa->setObjectName(QStringLiteral("CmHelpStampa"));
    connect(CmHelpStampa, &QAction::triggered, this,
            [this] { apriDocumento(QStringLiteral("configurazione stampanti.pdf")); });

    auto* centro = new QWidget(this);
    auto* riga = new QHBoxLayout(centro);

    auto* sinistra = new QVBoxLayout;
    LblListaSMS = new QLabel(QStringLiteral("Lista degli SMS Ricevuti"), centro);
    LblListaSMS->setObjectName(QStringLiteral("LblListaSMS"));
    QFont titolo = LblListaSMS->font();
    titolo.setBold(true);
    titolo.setPointSize(titolo.pointSize() + 2);
    LblListaSMS->setFont(titolo);
    ListaSMS = new QTreeWidget(centro);
    ListaSMS->setObjectName(QStringLiteral("ListaSMS"));
    ListaSMS->setHeaderLabels({QStringLiteral("Telefono"), QStringLiteral("Cliente"),
                               QStringLiteral("Data"), QStringLiteral("Orario"),
                               QStringLiteral("Testo del SMS Ricevuto")});
    ListaSMS->setRootIsDecorated(false);
    ListaSMS->setUniformRowHeights(true);
    ListaSMS->setAllColumnsShowFocus(true);
    ListaSMS->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListaSMS->setColumnWidth(0, 110);
    ListaSMS->setColumnWidth(1, 160);
    ListaSMS->setColumnWidth(2, 70);
    ListaSMS->setColumnWidth(3, 70);
    ListaSMS->header()->setStretchLastSection(true);
    sinistra->addWidget(LblListaSMS);
    sinistra->addWidget(ListaSMS, 1);
    riga->addLayout(sinistra, 1);

    auto* destra = new QVBoxLayout;
    FrmDatiTecnici = new QGroupBox(QStringLiteral("Dati Tecnici"), centro);
    FrmDatiTecnici->setObjectName(QStringLiteral("FrmDatiTecnici"));
    auto* dati = new QVBoxLayout(FrmDatiTecnici);
    auto etichetta = [&](const char* nome, const QString& testo) {
        auto* l = new QLabel(testo, FrmDatiTecnici);
        l->setObjectName(QString::fromLatin1(nome));
        dati->addWidget(l);
        return l;
    };
    auto pulsante = [](QWidget* padre, const char* nome, const QString& testo) {
        auto* b = new QPushButton(testo, padre);
        b->setObjectName(QString::fromLatin1(nome));
        return b;
    };
    LbLPortaModem = etichetta("LbLPortaModem", QStringLiteral("Porta Gsm ="));
    lblledmodem = etichetta("lblledmodem", QStringLiteral("Non Registrato"));
    ProgressBar1 = new QProgressBar(FrmDatiTecnici);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    dati->addWidget(ProgressBar1);
    lblprovider = etichetta("lblprovider", QStringLiteral("Operatore Sim"));
    LblCredito = etichetta("LblCredito", QStringLiteral("Credito :"));
    LblPinCode = etichetta("LblPinCode", QStringLiteral("1° Inserimento PIN"));
    BtnTrovaGsm = pulsante(FrmDatiTecnici, "BtnTrovaGsm", QStringLiteral("Trova Gsm"));
    BtnTestCredito = pulsante(FrmDatiTecnici, "BtnTestCredito", QStringLiteral("Gestione Credito"));
    BtnDisabilitaPinCode =
        pulsante(FrmDatiTecnici, "BtnDisabilitaPinCode", QStringLiteral("Gestione Pin"));
    BtnSpegniGsm = pulsante(FrmDatiTecnici, "BtnSpegniGsm", QStringLiteral("Spegni Gsm"));
    for (auto* b : {BtnTrovaGsm, BtnTestCredito, BtnDisabilitaPinCode, BtnSpegniGsm})
        dati->addWidget(b);
    connect(BtnTrovaGsm, &QPushButton::clicked, this, &FormMain::BtnTrovaGsm_Click);
    connect(BtnSpegniGsm, &QPushButton::clicked, this, &FormMain::BtnSpegniGsm_Click);
    destra->addWidget(FrmDatiTecnici);

    FrmPin = new QGroupBox(QStringLiteral("Codice PIN"), centro);
    FrmPin->setObjectName(QStringLiteral("FrmPin"));
    auto* pin = new QHBoxLayout(FrmPin);
    TxtPinCode = new QLineEdit(FrmPin);
    TxtPinCode->setObjectName(QStringLiteral("TxtPinCode"));
    // A PIN, or a PUK, a comma and the new PIN: nothing else can reach the modem's command line.
    TxtPinCode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,8}(,[0-9]{0,8})?")), TxtPinCode));
    BtnPinCode = pulsante(FrmPin, "BtnPinCode", QStringLiteral("OK"));
    BtnPinEsc = pulsante(FrmPin, "BtnPinEsc", QStringLiteral("ESC"));
    pin->addWidget(TxtPinCode);
    pin->addWidget(BtnPinCode);
    pin->addWidget(BtnPinEsc);
    connect(BtnPinCode, &QPushButton::clicked, this, &FormMain::BtnPinCode_Click);
    connect(BtnPinEsc, &QPushButton::clicked, this, &FormMain::BtnPinEsc_Click);
    connect(BtnDisabilitaPinCode, &QPushButton::clicked, this,
            &FormMain::BtnDisabilitaPinCode_Click);
    FrmPin->hide();
    destra->addWidget(FrmPin);

    FrModem = new QGroupBox(centro);
    FrModem->setObjectName(QStringLiteral("FrModem"));
    auto* diagnostica = new QVBoxLayout(FrModem);
    ListSendModem = new QListWidget(FrModem);
    ListSendModem->setObjectName(QStringLiteral("ListSendModem"));
    ListRicevutiModem = new QListWidget(FrModem);
    ListRicevutiModem->setObjectName(QStringLiteral("ListRicevutiModem"));
    btnClearModem = pulsante(FrModem, "btnClearModem", QStringLiteral("Clr Mod."));
    connect(btnClearModem, &QPushButton::clicked, this, &FormMain::btnClearModem_Click);
    diagnostica->addWidget(ListSendModem);
    diagnostica->addWidget(ListRicevutiModem);
    diagnostica->addWidget(btnClearModem);
    FrModem->hide();
    destra->addWidget(FrModem);
    destra->addStretch();
    riga->addLayout(destra);

    setCentralWidget(centro);
}

bool FormMain::Avvia() {
    if (stato_.ChiusuraEseguita)
        return false;
    // Load step.
    try {
        stato_.archivio.ApriArchivio(stato_.cartellaProgramma);
        LetturaImpostazioni::LeggiInterruttori(stato_);
        LblCredito->setText(QStringLiteral("Credito NON Gestito"));
        if (LetturaImpostazioni::LeggiGestoreOperativo(stato_)) {
            lblprovider->setText(QStringLiteral("Operatore ") + stato_.GestoreAttivo);
            LblCredito->setText(QStringLiteral("Credito : ") + stato_.CreditoResiduo +
                                QStringLiteral(" ?"));
        }
        lblprovider->setEnabled(false);
        stato_.archivio.ApriTabella(QStringLiteral("SMS"));
    } catch (const ErroreRuntime& e) {
        MsgBox(
            QStringLiteral("Impossibile aprire l'archivio dei dati \"%1\".\n%2 (%3)\n\n"
                           "Il programma verrà chiuso senza modificare nulla.")
                .arg(QDir(stato_.cartellaProgramma).filePath(Archivio::NomeFile()), e.Description())
                .arg(e.Number()),
            Stile::Critico, Titolo());
        return false;
    }
    hide();
    logo_ = new FormLogo;
    logo_->Timer1.start();
    logo_->show();

    inizializzaStato();
    return true;
}

void FormMain::inizializzaStato() {
    FaseAvvio = 0;
    TentativiPin = 0;
    TickAttesa = 0;
    TickPolling = 0;
    TickSplash = 0;
    ProgressBar1->setValue(0);
    stato_.ServizioRichiesto = 0;
    stato_.TipoComando = 0;
    MancateRisposte = 0;
    Riaccensioni = 0;
    PortaCom = 1;
    stato_.ModoSms = false;
    stato_.FaseIndirizzo = false;
    FaseTesto = false;
    ChiamataVocale = false;
    ArgomentoTraVirgolette = false;
    AperturaInCorso = true;
    try {
        LetturaImpostazioni::LeggiStampante(stato_);
    } catch (const ErroreRuntime& e) {
        MsgBox(e.Description() + QStringLiteral(" / ") + QString::number(e.Number()), 0, Titolo());
    }
    TestInCorso = false;
    InAttesaRisposta = false;
    SpegnimentoRichiesto = false;
    AttesaAccensione = false;
    Registrato = false;
    RicercaPorta = false;
    stato_.InserimentoDaSms = false;
    ChiusuraRichiesta = false;
    stato_.ChiusuraEseguita = false;
    AttesaTest = false;
    TxtPinCode->clear();

    // 80 % of the screen at the top left, then maximised when it is first shown.
    if (const QScreen* schermo = QApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        setGeometry(area.left(), area.top(), area.width() * 8 / 10, area.height() * 8 / 10);
    }
    BtnSpegniGsm->hide();
    // Until the splash ends the user works with nothing here.
    setEnabled(false);
    Timer1.start();
}

void FormMain::Timer1_Timer() {
    // A box shown inside a tick runs its own event loop: the ticks that fall meanwhile are
    // skipped, so that a tick never overlaps another.
    if (inTick_)
        return;
    inTick_ = true;
    const auto fine = qScopeGuard([this] { inTick_ = false; });
    try {
        passoTimer();
    } catch (const ErroreRuntime& e) {
        // An archive that cannot be read for a moment (another program holds it) must not end
        // the program: the user is told, and the next tick carries on.
        MsgBox(e.Description() + QStringLiteral(" / ") + QString::number(e.Number()),
               Stile::Critico, Titolo());
    }
}

void FormMain::passoTimer() {
    // 1. Start-up phases.
    if (FaseAvvio == 0) {
        ++TickSplash;
        if (TickSplash == 20) {
            FaseAvvio = 1;
            if (logo_) {
                logo_->Timer1.stop();
                logo_->hide();
            }
            showMaximized();
            if (stato_.StampaAutomatica)
                MsgBox(QStringLiteral("La Stampa Automatica è attiva. Si prega di controllare la "
                                      "propria stampante ed accenderla prima di effettuare "
                                      "operazioni di stampa"),
                       Stile::Informazione, QStringLiteral("Informazioni di Stampa"));
            PortaCom = 1;
            Accendi_Gsm();
            setEnabled(true);
            return;
        }
    } else if (FaseAvvio == 1) {
        FaseAvvio = 2;
        VisualizzaLista();
        return;
    }

    // 2. Modem idle work, or 3. collection of the awaited reply.
    if (TickAttesa == 0) {
        if (!passoInattivo())
            return;
    } else {
        raccogliRisposta();
    }
    if (scaricata_)
        return;

    // 4. Rebuild of the pending list asked by another window. The request is taken before the
    // rebuild, so that an archive error is reported once, not at every tick.
    if (stato_.AggiornaListaSms) {
        stato_.AggiornaListaSms = false;
        VisualizzaLista();
    }

    // 5. Polling, 6. announcement.
    polling();
    annuncio();
}

// Returns false when the tick ends here (a power pulse is running).
bool FormMain::passoInattivo() {
    UltimoConteggioRx = 0;
    if (AttesaAccensione || SpegnimentoRichiesto) {
        ++TickAccensione;
        if (!stato_.AccensioneDtr && AttesaAccensione)
            TickAccensione = 21;
        if (TickAccensione > 20) {
            TickAccensione = 0;
            AttesaAccensione = false;
            MSComm1.setDTREnable(false);
            AttesaTest = true;
            LbLPortaModem->setText(QStringLiteral("Attesa Invio Comando Test Gsm"));
            if (SpegnimentoRichiesto) {
                AttesaTest = false;
                stato_.GsmAbilitato = false;
                SpegnimentoRichiesto = false;
                chiudiPorta();
                LbLPortaModem->setText(QStringLiteral("GSM Spento"));
                LbLPortaModem->setEnabled(false);
                BtnTrovaGsm->setEnabled(true);
                spegniPannello();
                if (ChiusuraRichiesta)
                    scaricaTutto();
            }
        }
        return false;
    }
    if (AttesaTest) {
        ++TickAccensione;
        if (TickAccensione > 20) {
            TickAccensione = 0;
            AttesaTest = false;
            TestInCorso = true;
            LbLPortaModem->setText(QStringLiteral("Invio Comando per Test GSM"));
            SetStringa_Gsm();
        }
    }
    return true;
}

void FormMain::raccogliRisposta() {
    ++TickAttesa;
    const int n = MSComm1.InBufferCount();
    if (n > 0) {
        // A message being read is taken whole at the quiet tick: cut at 220 characters, a long
        // one would lose its end and its "OK" and never leave the SIM.
        const bool lettura = stato_.TipoComando == 7;
        if (n == UltimoConteggioRx || (n >= 220 && !lettura)) {
            stato_.BufferRx = MSComm1.Input();
            TickAttesa = 0;
            Ricevi_Dati(stato_.BufferRx);
            UltimoConteggioRx = 0;
            return;
        }
        UltimoConteggioRx = n;
    }
    if (TickAttesa == TimeoutTick) {
        TickAttesa = 0;
        Ricevi_Dati(stato_.BufferRx);
    }
}

void FormMain::polling() {
    if (TickAttesa == 0)
        ++TickPolling;
    if (LblPinCode->text() != kGsmAbilitato) {
        TickPolling = 0;
    } else if (TickPolling >= 100) {
        TickPolling = 0;
        if (stato_.GsmAbilitato)
            SetStringa_Gsm();
    }
}

void FormMain::annuncio() {
    if (!VisualizzaSMSArrivati)
        return;
    const int n = ListaSMS->topLevelItemCount();
    if (!isEnabled() || ContaSMSArrivati < 1 || n - ContaSMSArrivati < 0) {
        delete msgBox1_;
        VisualizzaSMSArrivati = false;
        return;
    }
    const QTreeWidgetItem* riga = ListaSMS->topLevelItem(n - ContaSMSArrivati);
    // Each message is announced with its sound: the notice plays it when it loads, and again
    // for every further message it shows.
    if (!msgBox1_)
        msgBox1_ = new FormMsgBox1(stato_.cartellaProgramma, VisualizzaSMSArrivati, this);
    else
        msgBox1_->Suona();
    msgBox1_->Label2->setText(riga->text(0));
    msgBox1_->Label3->setText(riga->text(1));
    msgBox1_->Label4->setText(riga->text(2));
    msgBox1_->Label5->setText(riga->text(3));
    msgBox1_->Label6->setText(riga->text(4));
    msgBox1_->show();
    --ContaSMSArrivati;
    if (stato_.StampaAutomatica)
        stampa_->StampaSms(riga->text(0), riga->text(1), riga->text(2), riga->text(3),
                           riga->text(4));
    VisualizzaSMSArrivati = false;
}

void FormMain::VisualizzaLista() {
    // Read first: when the archive fails, the list keeps what it showed.
    const QVector<RigaListaSms> righe = LetturaSmsInAttesa::Leggi(stato_.archivio, stato_.rubrica);
    ListaSMS->clear();
    QList<QTreeWidgetItem*> elementi;
    elementi.reserve(righe.size());
    for (const RigaListaSms& r : righe) {
        auto* elemento =
            new QTreeWidgetItem(QStringList{r.numero, r.nome, r.data, r.orario, r.testo});
        if (r.gestito) {
            elemento->setForeground(0, kBlu);
            for (int colonna = 1; colonna < elemento->columnCount(); ++colonna)
                elemento->setForeground(colonna, kRosso);
        }
        elementi.append(elemento);
    }
    ListaSMS->addTopLevelItems(elementi);
    if (!elementi.isEmpty()) {
        ListaSMS->clearSelection();
        ListaSMS->setCurrentItem(nullptr);
    }
}

void FormMain::CmEsci_Click() {
    if (ChiusuraRichiesta || AperturaInCorso) {
        if (AperturaInCorso)
            MsgBox(QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                  "completamento dell'Apertura "),
                   Stile::SoloOk);
        return;
    }
    ChiusuraRichiesta = true;
    rispformbox = Conferma_Chiusura();
    if (rispformbox == Risposta::Si) {
        stato_.ChiusuraEseguita = true;
        delete logo_;
        if (!SpegnimentoRichiesto)
            scaricaTutto();
    } else {
        ChiusuraRichiesta = false;
    }
}

int FormMain::Conferma_Chiusura() {
    int risposta = Risposta::Si;
    if (ListaSMS->topLevelItemCount() > 0) {
        risposta =
            MsgBox(QStringLiteral("ATTENZIONE !!!! Ci sono ancora SMS da gestire \n"
                                  "Sicuro di voler chiudere l'applicazione?\n"),
                   Stile::SiNo + Stile::Esclamazione, QStringLiteral("Chiusura Applicazione"));
        if (risposta == Risposta::No) {
            ChiusuraRichiesta = false;
            return Risposta::No;
        }
    }
    if (!stato_.GsmAbilitato) {
        if (MSComm1.PortOpen()) {
            SpegnimentoRichiesto = false;
            MSComm1.setDTREnable(false);
            MSComm1.setPortOpen(false);
        }
        return risposta;
    }
    if (InAttesaRisposta) {
        risposta = MsgBox(QStringLiteral("Modulo GSM in esecuzione: la chiusura del programma "
                                         "comporterà ad un interruzione forzata dell'operazione.\n"
                                         "Voler procedere?"),
                          Stile::SiNo + Stile::Esclamazione, QStringLiteral("Conferma Chiusura"));
        if (risposta != Risposta::Si)
            return risposta;
    }
    MSComm1.setDTREnable(true);
    TickAccensione = 0;
    SpegnimentoRichiesto = true;
    ChiusuraRichiesta = true;
    if (!chiusura_)
        chiusura_ = new FormChiusura;
    chiusura_->show();
    return Risposta::Si;
}

void FormMain::scaricaTutto() {
    delete chiusura_;
    delete msgBox1_;
    Timer1.stop();
    scaricata_ = true;
    close();
    emit Terminata();
}

void FormMain::closeEvent(QCloseEvent* evento) {
    if (scaricata_) {
        evento->accept();
        return;
    }
    // The close box works exactly like "Esci"; the window closes when that ended the program.
    CmEsci_Click();
    evento->setAccepted(scaricata_);
}

void FormMain::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_F7) {
        ListSendModem->clear();
        ListRicevutiModem->clear();
        FrModem->setVisible(!FrModem->isVisible());
        return;
    }
    if (evento->key() == Qt::Key_F1) {
        apriDocumento(QStringLiteral("help.pdf"));
        return;
    }
    QMainWindow::keyPressEvent(evento);
}

void FormMain::apriDocumento(const QString& nome) {
    // A missing document or viewer is not worth a message.
    Documento::Apri(QDir(stato_.cartellaProgramma).filePath(nome));
}

void FormMain::disabilitaEtichetteStato() {
    lblledmodem->setEnabled(false);
    lblprovider->setEnabled(false);
    LblCredito->setEnabled(false);
    BtnTestCredito->setEnabled(false);
}

// The modem is off or being searched: nothing of the panel but the port label means anything.
void FormMain::spegniPannello() {
    disabilitaEtichetteStato();
    ProgressBar1->setValue(0);
    ProgressBar1->setEnabled(false);
    BtnDisabilitaPinCode->setEnabled(false);
}

void FormMain::chiediCodicePin() {
    MsgBox(QStringLiteral("Inserire il CODICE PIN"), Stile::Critico,
           QStringLiteral("Obligatorio Inserimento PIN"));
}

void FormMain::Accendi_Gsm() {
    enum class Esito { Riprendi, Ferma };
    auto gestisci = [this](const ErroreRuntime& e) {
        const bool portaMancante = e.Number() == ErroreRuntime::PortaNonValida ||
                                   e.Number() == ErroreRuntime::PortaGiaAperta;
        if (portaMancante && PortaCom >= 16) {
            // The search has reached the last port: the program is running, without a modem.
            // A last port held by another program ends the search the same way, so that the
            // program can still be closed.
            AperturaInCorso = false;
            LbLPortaModem->setText(QStringLiteral("GSM Spento o non Collegato"));
            BtnTrovaGsm->setEnabled(true);
            stato_.GsmAbilitato = false;
            TestInCorso = false;
            RicercaPorta = false;
            disabilitaEtichetteStato();
            return Esito::Ferma;
        }
        if (portaMancante) {
            ++PortaCom;
            LbLPortaModem->setText(QStringLiteral("Accendo il GSM Com: ") +
                                   QString::number(PortaCom));
            RicercaPorta = true;
            return Esito::Riprendi;
        }
        disabilitaEtichetteStato();
        return Esito::Ferma;
    };
    auto passo = [&](auto&& azione) {
        try {
            azione();
            return Esito::Riprendi;
        } catch (const ErroreRuntime& e) {
            return gestisci(e);
        }
    };

    // Each port is tried once at most, so the loop always ends.
    for (int tentativo = 0; tentativo < 17; ++tentativo) {
        if (passo([&] { MSComm1.setCommPort(PortaCom); }) == Esito::Ferma)
            return;
        if (MSComm1.PortOpen()) {
            if (passo([&] {
                    MSComm1.setPortOpen(false);
                    MSComm1.setDTREnable(false);
                }) == Esito::Ferma)
                return;
        }
        if (MSComm1.PortOpen())
            return;
        if (passo([&] { MSComm1.setPortOpen(true); }) == Esito::Ferma)
            return;
        if (passo([&] { MSComm1.setDTREnable(false); }) == Esito::Ferma)
            return;
        if (RicercaPorta) {
            RicercaPorta = false;
            continue;
        }
        if (passo([&] {
                MSComm1.setInputModeTesto();
                if (stato_.AccensioneDtr)
                    MSComm1.setDTREnable(true);
                MSComm1.setSettings(QStringLiteral("9600,N,8,1"));
            }) == Esito::Ferma)
            return;
        if (!MSComm1.PortOpen())
            return;
        Timer1.start();
        MSComm1.Input();
        AttesaAccensione = true;
        return;
    }
}

void FormMain::SetStringa_Gsm() {
    if (stato_.TipoComando == 7)
        ++IndiceSim;
    if (const auto comando = TabellaComandi::Comando(stato_.TipoComando, IndiceSim, FaseTesto)) {
        if (!comando->preparatoDalChiamante)
            stato_.StringaGsm = comando->riga;
        TimeoutTick = comando->timeoutTick;
    }
    InAttesaRisposta = true;
    Invia_Dati();
}

void FormMain::Invia_Dati() {
    if (ChiusuraRichiesta) {
        CmEsci_Click();
        return;
    }
    if (!MSComm1.PortOpen())
        return;
    try {
        MSComm1.Input();
        QString riga;
        QString diagnostica;
        bool fineRiga = true;
        if (stato_.ModoSms && stato_.FaseIndirizzo) {
            riga = QStringLiteral("AT+CMGS=\"") + stato_.StringaGsm + QLatin1Char('"');
            diagnostica = QStringLiteral("AT+CMGS=") + stato_.StringaGsm;
            TimeoutTick = 100;
        } else if (stato_.ModoSms && FaseTesto) {
            riga = stato_.StringaGsm + QChar(26);
            diagnostica = stato_.StringaGsm;
            FaseTesto = false;
            stato_.ModoSms = false;
            fineRiga = false;
        } else if (ArgomentoTraVirgolette) {
            riga = stato_.StringaGsm;
            if (stato_.TipoComando == 8)
                riga += QLatin1Char('"') + stato_.NumeroCredito;
            riga += QLatin1Char('"');
            diagnostica = riga;
        } else {
            riga = stato_.StringaGsm;
            diagnostica = riga;
        }
        // One character at a time, as the modem expects to be written to.
        for (QChar c : riga)
            MSComm1.Output(QString(c));
        if (fineRiga) {
            if (ChiamataVocale)
                MSComm1.Output(QStringLiteral(";"));
            MSComm1.Output(QString(QChar(13)));
        }
        if (FrModem->isVisible())
            aggiungiDiagnostica(ListSendModem, diagnostica);
    } catch (const ErroreRuntime& e) {
        if (e.Number() != ErroreRuntime::ScritturaSeriale)
            return;
        MsgBox(QStringLiteral(" ATTENZIONE Errore Seriale. Modulo GSM Rotto o non Collegato. "
                              "Premere il pulsante TROVA GSM"),
               Stile::SoloOk);
        BtnTrovaGsm->setEnabled(true);
        stato_.TipoComando = 0;
        stato_.GsmAbilitato = false;
        AperturaInCorso = false;
        try {
            MSComm1.setPortOpen(false);
        } catch (const ErroreRuntime&) {
        }
        return;
    }
    stato_.FaseIndirizzo = false;
    stato_.BufferRx.clear();
    Timer1.start();
    TickAttesa = 1;
    InAttesaRisposta = true;
    ArgomentoTraVirgolette = false;
}

void FormMain::Ricevi_Dati(const QString& risposta) {
    InAttesaRisposta = false;
    if (ChiusuraRichiesta) {
        CmEsci_Click();
        return;
    }
    // A list widget scrolls sideways by itself as wide replies come in.
    if (FrModem->isVisible())
        aggiungiDiagnostica(ListRicevutiModem, risposta);
    switch (stato_.TipoComando) {
    case 0:
        rispostaTest(risposta);
        break;
    case 1:
        rispostaInizializzazione(risposta, 2);
        break;
    case 2:
        rispostaRevisione(risposta);
        break;
    case 3:
        rispostaInizializzazione(risposta, 4);
        break;
    case 4:
        rispostaInizializzazione(risposta, 11);
        break;
    case 5:
        rispostaRegistrazione(risposta);
        break;
    case 6:
        rispostaSegnale(risposta);
        break;
    case 7:
        rispostaLetturaSms(risposta);
        break;
    case 9:
        stato_.TipoComando = 7;
        SetStringa_Gsm();
        break;
    case 11:
        rispostaStatoSim(risposta);
        break;
    case 12:
        rispostaPin(risposta);
        break;
    case 13:
        rispostaBloccoPin(risposta);
        break;
    default:
        break;
    }
}

void FormMain::chiudiPorta() {
    if (MSComm1.PortOpen())
        MSComm1.setPortOpen(false);
}

void FormMain::rispostaTest(const QString& risposta) {
    if (!TestInCorso)
        return;
    TestInCorso = false;
    if (conOk(risposta)) {
        LbLPortaModem->setText(QStringLiteral("Porta Gsm = ") + QString::number(PortaCom));
        stato_.TipoComando = 1;
        AperturaInCorso = false;
        BtnTrovaGsm->setEnabled(false);
        SetStringa_Gsm();
        return;
    }
    // Nothing that answers on this port: try the next one.
    LbLPortaModem->setText(QStringLiteral("Accendo il GSM Com: ") + QString::number(PortaCom));
    MSComm1.setDTREnable(false);
    ++PortaCom;
    chiudiPorta();
    Accendi_Gsm();
}

void FormMain::rispostaInizializzazione(const QString& risposta, int prossimo) {
    if (!conOk(risposta)) {
        MsgBox(QStringLiteral("Attenzione: GSM non risponde"), Stile::SoloOk);
        return;
    }
    stato_.TipoComando = prossimo;
    SetStringa_Gsm();
}

void FormMain::rispostaRevisione(const QString& risposta) {
    if (conOk(risposta)) {
        stato_.GsmAbilitato = true;
        stato_.RevisioneGsm = RisposteModem::Estrai_Revisione(risposta);
        LbLPortaModem->setText(QStringLiteral("GSM ON Com: ") + QString::number(PortaCom));
        stato_.TipoComando = 3;
        SetStringa_Gsm();
        return;
    }
    chiudiPorta();
    MSComm1.setDTREnable(false);
    BtnTrovaGsm->setEnabled(false);
    LbLPortaModem->setText(QStringLiteral("Attendi il TEST GSM"));
    FaseAvvio = 2;
    ++PortaCom;
    Accendi_Gsm();
    stato_.TipoComando = 0;
}

void FormMain::rispostaRegistrazione(const QString& risposta) {
    if (!conOk(risposta)) {
        ++MancateRisposte;
        if (MancateRisposte != 3)
            return;
        MsgBox(QStringLiteral("Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\n"
                              "Riaccensione Automatica del GSM"));
        ++Riaccensioni;
        if (Riaccensioni == 3)
            MsgBox(QStringLiteral("Il sistema ha Riacceso per 3 volte il modulo GSM.\n"
                                  "Possibile Anomalia. Contattare L'assistenza"));
        BtnTrovaGsm_Click();
        return;
    }
    MancateRisposte = 0;
    const QString statoRete = RisposteModem::StatoRegistrazione(risposta);
    lblprovider->setEnabled(true);
    lblledmodem->setEnabled(true);
    LblCredito->setEnabled(true);
    ProgressBar1->setEnabled(true);
    Registrato = false;
    BtnTestCredito->setEnabled(false);
    if (statoRete == QLatin1String("1")) {
        Registrato = true;
        BtnTestCredito->setEnabled(true);
        lblprovider->setText(QStringLiteral("Operatore ") + stato_.GestoreAttivo);
        stato_.TipoComando = 6;
        SetStringa_Gsm();
    } else if (statoRete == QLatin1String("5")) {
        // Roaming: registration only; signal and messages wait for the home network.
        Registrato = true;
        lblprovider->setText(QStringLiteral("Operatore Romming"));
        BtnTestCredito->setEnabled(true);
    } else if (statoRete == QLatin1String("0") || statoRete == QLatin1String("2")) {
        stato_.TipoComando = 5;
        lblledmodem->setText(QStringLiteral("Non Registrato"));
        ProgressBar1->setValue(0);
    }
}

void FormMain::rispostaSegnale(const QString& risposta) {
    if (!conOk(risposta)) {
        stato_.TipoComando = 7;
        return;
    }
    int livello = RisposteModem::LivelloSegnale(risposta);
    if (livello >= 0) {
        if (livello < 3) {
            livello = 0;
            BtnTestCredito->setEnabled(false);
        }
        lblledmodem->setText(QStringLiteral("Segnale GSM"));
        ProgressBar1->setValue(livello);
    }
    stato_.TipoComando = 7;
    IndiceSim = ProssimoInizioScansione - 1;
    PosizioniVuote = 0;
    messaggiNellaScansione_ = false;
    SetStringa_Gsm();
}

void FormMain::rispostaLetturaSms(const QString& risposta) {
    // An empty slot ("OK" alone), an error or a cut reply holds no message.
    const std::optional<SmsLetto> sms = InterpreteSms::Leggi(risposta);
    if (!sms) {
        posizioneVuota();
        return;
    }

    messaggiNellaScansione_ = true;
    stato_.NumeroCorrente = sms->numero;
    // Operator and credit messages, known by who sent them.
    const bool dalGestore = RicezioneSms::DalMittente(*sms, stato_.GestoreAttivo);
    if (dalGestore && stato_.RispostaCredito == 0) {
        cancellaDallaSim();
        return;
    }
    if (stato_.RispostaCredito == 1 &&
        (dalGestore || RicezioneSms::DalMittente(*sms, stato_.NumeroCredito))) {
        if (const auto credito = RicezioneSms::CreditoDaTesto(sms->testo)) {
            try {
                RicezioneSms::RegistraCredito(stato_.archivio, stato_.NumeroCredito, *credito);
            } catch (const ErroreRuntime& e) {
                archivioNonScrivibile(e);
                return;
            }
            stato_.CreditoResiduo = *credito;
            LblCredito->setText(QStringLiteral("Credito : ") + *credito);
        }
        cancellaDallaSim();
        return;
    }

    RicezioneSms::Risultato esito;
    try {
        esito = RicezioneSms::Registra(stato_.archivio, stato_.rubrica, *sms,
                                       QDateTime::currentDateTime());
    } catch (const ErroreRuntime& e) {
        archivioNonScrivibile(e);
        return;
    }
    archivioGuasto_ = false;
    switch (esito.esito) {
    case RicezioneSms::Esito::Nuovo:
        ListaSMS->addTopLevelItem(new QTreeWidgetItem(
            QStringList{sms->numero, esito.nome, esito.data, esito.orarioPrimo, esito.testo}));
        ++ContaSMSArrivati;
        break;
    case RicezioneSms::Esito::Unito:
        aggiornaRigaUnita(sms->numero, esito);
        break;
    case RicezioneSms::Esito::Duplicato:
        break;
    }
    cancellaDallaSim();
}

void FormMain::aggiornaRigaUnita(const QString& numero, const RicezioneSms::Risultato& esito) {
    for (int i = 0; i < ListaSMS->topLevelItemCount(); ++i) {
        QTreeWidgetItem* riga = ListaSMS->topLevelItem(i);
        if (riga->text(0) == numero && riga->text(2) == esito.data &&
            riga->text(3) == esito.orarioPrimo) {
            riga->setText(4, esito.testo);
            return;
        }
    }
    // The record's row is not in view (the list was changed meanwhile): rebuild it.
    stato_.AggiornaListaSms = true;
}

void FormMain::cancellaDallaSim() {
    stato_.TipoComando = 9;
    SetStringa_Gsm();
}

void FormMain::posizioneVuota() {
    ++PosizioniVuote;
    if (PosizioniVuote < 2) {
        SetStringa_Gsm();
        return;
    }
    // The scan stops at its second empty slot, so a message beyond it waits; after a scan that
    // found messages the next one goes on from there, and one that found none starts again from
    // slot 1. No message is left on the SIM for good behind a run of emptied slots.
    fineScansione(messaggiNellaScansione_ && IndiceSim < kUltimaPosizioneSim ? IndiceSim + 1 : 1);
}

void FormMain::fineScansione(int prossimoInizio) {
    ProssimoInizioScansione = prossimoInizio;
    stato_.TipoComando = 5;
    if (ContaSMSArrivati > 0)
        VisualizzaSMSArrivati = true;
}

void FormMain::archivioNonScrivibile(const ErroreRuntime& e) {
    // The message stays on the SIM; the scan stops here and the next one begins with it, so
    // nothing is lost and nothing is stored twice.
    fineScansione(std::max(IndiceSim, 1));
    if (archivioGuasto_)
        return;
    archivioGuasto_ = true;
    MsgBox(QStringLiteral("Impossibile salvare nell'archivio l'SMS ricevuto da ") +
               stato_.NumeroCorrente + QStringLiteral(".\n") + e.Description() +
               QStringLiteral(" / ") + QString::number(e.Number()) +
               QStringLiteral("\nIl messaggio resta sulla SIM e sarà salvato alla prossima "
                              "lettura."),
           Stile::Esclamazione, Titolo());
}

void FormMain::rispostaStatoSim(const QString& risposta) {
    switch (RisposteModem::StatoDellaSim(risposta)) {
    case RisposteModem::StatoSim::PukRichiesto:
        LblPinCode->setText(QStringLiteral("Inserire PUK seguito da virgola e PIN "));
        TentativiPin = 3;
        MsgBox(
            QStringLiteral(" MODULO GMS bloccato.\nPer Sbloccare il GSM, inserire il Codice Puk "),
            Stile::Informazione, kTitoloPin);
        FrmPin->show();
        break;
    case RisposteModem::StatoSim::PinRichiesto:
        MsgBox(QStringLiteral(" Prego, inserire il Codice PIN "), Stile::Informazione, kTitoloPin);
        FrmPin->show();
        break;
    case RisposteModem::StatoSim::SimAssente:
        MsgBox(QStringLiteral("ATTENZIONE !!! SIM NON Inserita.\n"
                              "Chiudere il Programma ed eseguire al procedura Inserimento SIM.\n\n"
                              "MODULO GSM Disabilitato modalita OFF-Line."),
               Stile::Critico, QStringLiteral("SIM non inserita"));
        // The power-off pulse of the next idle ticks switches the modem off.
        SpegnimentoRichiesto = true;
        MSComm1.setDTREnable(true);
        break;
    case RisposteModem::StatoSim::Pronta:
        MsgBox(QStringLiteral("MODULO GSM abilitato"), Stile::Informazione, kTitoloPin);
        BtnDisabilitaPinCode->setText(kAbilitaPin);
        simPronta();
        break;
    }
}

// The SIM is usable: polling starts on the next idle tick.
void FormMain::simPronta() {
    TickPolling = 99;
    LblPinCode->setText(kGsmAbilitato);
    FrmPin->hide();
    BtnDisabilitaPinCode->setEnabled(true);
    stato_.TipoComando = 5;
}

void FormMain::rispostaPin(const QString& risposta) {
    if (conOk(risposta)) {
        MsgBox(QStringLiteral("Codice Pin valido. Gsm Abilitato"), Stile::Informazione, kTitoloPin);
        TxtPinCode->clear();
        BtnDisabilitaPinCode->setText(kDisabilitaPin);
        simPronta();
        return;
    }
    if (TentativiPin > 2)
        MsgBox(QStringLiteral("MODULO GSM bloccato.\n"
                              "Per sbloccare inserire Codice PUK seguito da virgola e PIN\n"
                              "Esempio: 52719034,8316"),
               Stile::Esclamazione, kTitoloPin);
    else
        MsgBox(QStringLiteral("Errore! Codice PIN non valido."), Stile::Esclamazione, kTitoloPin);
    if (TentativiPin == 1)
        LblPinCode->setText(QStringLiteral("2° Inserimento PIN"));
    else if (TentativiPin == 2)
        LblPinCode->setText(QStringLiteral("3° Inserimento PIN"));
    else if (TentativiPin > 2)
        LblPinCode->setText(QStringLiteral("Inserire PUK "));
    TxtPinCode->clear();
}

void FormMain::rispostaBloccoPin(const QString& risposta) {
    stato_.TipoComando = 5;
    if (!conOk(risposta))
        return;
    if (BtnDisabilitaPinCode->text() == kAbilitaPin) {
        MsgBox(QStringLiteral("Codice Pin Abilitato"));
        BtnDisabilitaPinCode->setText(kDisabilitaPin);
    } else {
        MsgBox(QStringLiteral("Codice Pin Disabilitato"));
        BtnDisabilitaPinCode->setText(kAbilitaPin);
    }
    BtnDisabilitaPinCode->setEnabled(true);
    TxtPinCode->clear();
    FrmPin->hide();
}

void FormMain::BtnPinCode_Click() {
    const QString codice = TxtPinCode->text();
    if (!BtnDisabilitaPinCode->isEnabled() && (BtnDisabilitaPinCode->text() == kDisabilitaPin ||
                                               BtnDisabilitaPinCode->text() == kAbilitaPin)) {
        const QChar modo =
            BtnDisabilitaPinCode->text() == kDisabilitaPin ? QLatin1Char('0') : QLatin1Char('1');
        stato_.StringaGsm = QStringLiteral("AT+CLCK=\"SC\",") + modo + QStringLiteral(",\"") +
                            codice + QLatin1Char('"');
        stato_.TipoComando = 13;
        SetStringa_Gsm();
        return;
    }
    if (!codice.isEmpty() || TentativiPin <= 2) {
        ++TentativiPin;
        if (!codice.isEmpty()) {
            // Sent exactly as typed: for the PUK, the PUK, a comma and the new PIN.
            stato_.StringaGsm = QStringLiteral("AT+CPIN=") + codice;
            stato_.TipoComando = 12;
            SetStringa_Gsm();
        } else {
            chiediCodicePin();
        }
        return;
    }
    MsgBox(QStringLiteral("Attivazione Modulo GSM Annullata. Modalità OFF-Line"));
    BtnDisabilitaPinCode->setEnabled(false);
}

void FormMain::BtnPinEsc_Click() {
    BtnDisabilitaPinCode->setEnabled(true);
    FrmPin->hide();
    TxtPinCode->clear();
}

void FormMain::BtnDisabilitaPinCode_Click() {
    if (!FrmPin->isHidden()) {
        if (TxtPinCode->text().isEmpty())
            chiediCodicePin();
        return;
    }
    BtnDisabilitaPinCode->setEnabled(false);
    TentativiPin = 0;
    FrmPin->show();
}

void FormMain::BtnTrovaGsm_Click() {
    if (MSComm1.PortOpen()) {
        MSComm1.setPortOpen(false);
        MSComm1.setDTREnable(false);
    }
    spegniPannello();
    LbLPortaModem->setEnabled(true);
    LblPinCode->setText(QStringLiteral("1° Inserimento PIN"));
    TentativiPin = 0;
    BtnTrovaGsm->setEnabled(false);
    LbLPortaModem->setText(QStringLiteral("Attendi il TEST GSM"));
    FaseAvvio = 2;
    PortaCom = 1;
    Accendi_Gsm();
    stato_.TipoComando = 0;
}

void FormMain::BtnSpegniGsm_Click() {
    if (!MSComm1.PortOpen())
        return;
    MSComm1.setDTREnable(true);
    TickAccensione = 0;
    SpegnimentoRichiesto = true;
}

void FormMain::btnClearModem_Click() {
    ListSendModem->clear();
    ListRicevutiModem->clear();
}
