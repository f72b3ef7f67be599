#include "FormMain.h"

#include "FormChiusura.h"
#include "FormLogo.h"
#include "archive/LetturaImpostazioni.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "browser/FormSms.h"
#include "campaigns/FormInvioSms.h"
#include "customers/FormClienti.h"
#include "desk/FormInformazioni.h"
#include "desk/FormMsgBox1.h"
#include "desk/SportelloSms.h"
#include "platform/Accessibile.h"
#include "platform/DelegatoInerte.h"
#include "platform/Documento.h"
#include "platform/ErroreRuntime.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"
#include "settings/FormBackup.h"
#include "settings/FormConfigura.h"
#include "settings/FormGestoreSim.h"
#include "settings/FormRipristino.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// The diagnostic lists keep the latest exchanges only, so that leaving them open for days does
// not eat the memory.
void aggiungiDiagnostica(QListWidget* lista, const QString& riga) {
    constexpr int kMassimoRighe = 1000;
    while (lista->count() >= kMassimoRighe)
        delete lista->takeItem(0);
    lista->addItem(riga);
}

void disegna(QLabel* etichetta, const PannelloGsm::Voce& voce) {
    Accessibile::Testo(etichetta, voce.testo);
    etichetta->setEnabled(voce.attiva);
}
} // namespace

FormMain::FormMain(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
                   std::unique_ptr<PortaSeriale> portaStampante, QWidget* parent)
    : QMainWindow(parent)
    , MSComm1(*porta)
    , MSComm2(*portaStampante)
    , stato_(stato)
    , porta_(std::move(porta))
    , portaStampante_(std::move(portaStampante))
    , motore_(stato, *porta_, *this)
    , campagna_(std::make_unique<CampagnaSms>(stato, motore_))
    , stampante_(std::make_unique<StampanteCorrente>(stato.cartellaProgramma))
    , stampa_(std::make_unique<ModulofnStampa>(stato, MSComm2, *stampante_, this))
    , backup_(std::make_unique<BackupAutomatico>(stato.archivio, stato.cartellaProgramma))
    , guardia_(this) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(Titolo());
    costruisciControlli();
    // Seen before the focused control gets the key.
    qApp->installEventFilter(this);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
    connect(&motore_, &MotoreGsm::SmsRegistrato, this, &FormMain::smsRegistrato);
    connect(&motore_, &MotoreGsm::ScansioneConclusa, this, [this] {
        if (ContaSMSArrivati > 0)
            VisualizzaSMSArrivati = true;
    });
    connect(backup_.get(), &BackupAutomatico::Avviso, this, [this](const QString& testo) {
        if (chiusuraDiSistema_) {
            qWarning().noquote() << testo;
            return;
        }
        MsgBox(testo, Stile::Esclamazione, QStringLiteral("Copia di sicurezza dell'archivio"),
               this);
    });
    connect(&motore_, &MotoreGsm::ModemSpento, this, [this] {
        if (motore_.stato.ChiusuraRichiesta)
            scaricaTutto();
    });
}

FormMain::~FormMain() {
    stampa_.reset(); // its previews belong to this window
    delete logo_;
    delete chiusura_;
    delete msgBox1_;
}

QString FormMain::Titolo() {
    return StatoGlobale::TitoloProgramma();
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

QAction* FormMain::voceMenu(QWidget* menu, const QString& testo, const QString& nome,
                            std::function<void()> gestore) {
    auto* voce = new QAction(testo, this);
    voce->setObjectName(nome);
    menu->addAction(voce);
    connect(voce, &QAction::triggered, this, std::move(gestore));
    return voce;
}

void FormMain::costruisciControlli() {
    // A window's entry runs under the error guard; "Esci" and "InvioSms" hold their own.
    const auto protetto = [this](void (FormMain::*gestore)()) {
        return [this, gestore] { esegui([this, gestore] { (this->*gestore)(); }); };
    };
    MnFile = menuBar()->addMenu(QStringLiteral("File"));
    MnFile->setObjectName(QStringLiteral("MnFile"));
    CmConfigura = MnFile->addMenu(QStringLiteral("Impostazioni"));
    CmConfigura->setObjectName(QStringLiteral("CmConfigura"));
    CmStampa = voceMenu(CmConfigura, QStringLiteral("Imposta Stampante"),
                        QStringLiteral("CmStampa"), protetto(&FormMain::CmStampa_Click));
    CmConfiguraAttivita = voceMenu(CmConfigura, QStringLiteral("Configurazione Attività"),
                                   QStringLiteral("CmConfiguraAttivita"),
                                   protetto(&FormMain::CmConfiguraAttivita_Click));
    CmImpostaGestoreSim = voceMenu(CmConfigura, QStringLiteral("Imposta Gestore Sim"),
                                   QStringLiteral("CmImpostaGestoreSim"),
                                   protetto(&FormMain::CmImpostaGestoreSim_Click));
    CmBackup = voceMenu(CmConfigura, QStringLiteral("Backup Archivio"), QStringLiteral("CmBackup"),
                        protetto(&FormMain::CmBackup_Click));
    CmRipristina =
        voceMenu(MnFile, QStringLiteral("Ripristina Archivio…"), QStringLiteral("CmRipristina"),
                 protetto(&FormMain::CmRipristina_Click));
    Separatore = MnFile->addSeparator();
    Separatore->setObjectName(QStringLiteral("Separatore"));
    CmEsci = voceMenu(MnFile, QStringLiteral("Esci"), QStringLiteral("CmEsci"),
                      [this] { CmEsci_Click(); });
    CmClienti = voceMenu(menuBar(), QStringLiteral("Gesione Clienti"), QStringLiteral("CmClienti"),
                         protetto(&FormMain::CmClienti_Click));
    CmSMS = voceMenu(menuBar(), QStringLiteral("Gestione SMS"), QStringLiteral("CmSMS"),
                     protetto(&FormMain::CmSMS_Click));
    CmInvioSms = voceMenu(menuBar(), QStringLiteral("InvioSms"), QStringLiteral("CmInvioSms"),
                          [this] { CmInvioSms_Click(); });
    Mn_info = menuBar()->addMenu(QStringLiteral("?"));
    Mn_info->setObjectName(QStringLiteral("Mn_info"));
    CmHelp = voceMenu(Mn_info, QStringLiteral("Help"), QStringLiteral("CmHelp"),
                      [this] { apriDocumento(QStringLiteral("help.pdf")); });
    CmHelpStampa =
        voceMenu(Mn_info, QStringLiteral("Help di Stampa"), QStringLiteral("CmHelpStampa"),
                 [this] { apriDocumento(QStringLiteral("configurazione stampanti.pdf")); });
    CmInfo = voceMenu(Mn_info, QStringLiteral("Informazioni sul Prodotto"),
                      QStringLiteral("CmInfo"), protetto(&FormMain::CmInfo_Click));

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
    ListaSMS->setItemDelegate(new DelegatoInerte(ListaSMS));
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
    sportello_ = new SportelloSms(stato_, modello_, *ListaSMS, *stampa_, this, rispformbox);
    sportello_->rigaInUscita = [this](int indice) {
        // A row not yet announced that leaves is not announced any more.
        if (ContaSMSArrivati > 0 && indice >= ListaSMS->topLevelItemCount() - ContaSMSArrivati)
            --ContaSMSArrivati;
    };
    sportello_->ricostruisciLista = [this] { VisualizzaLista(); };
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
    connect(BtnTestCredito, &QPushButton::clicked, this, &FormMain::BtnTestCredito_Click);
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

    // Screen readers and automated checks find each control by what it says.
    LblListaSMS->setBuddy(ListaSMS);
    ListaSMS->setAccessibleName(LblListaSMS->text());
    TxtPinCode->setAccessibleName(FrmPin->title());
    ProgressBar1->setAccessibleName(QStringLiteral("Segnale GSM"));
    ListSendModem->setAccessibleName(QStringLiteral("Comandi inviati al modem"));
    ListRicevutiModem->setAccessibleName(QStringLiteral("Risposte ricevute dal modem"));
    Accessibile::NominaDaTesto(this);
    connect(TxtPinCode, &QLineEdit::textEdited, this,
            [this](const QString& testo) { motore_.pannello.codicePin = testo; });
}

bool FormMain::Avvia() {
    if (stato_.ChiusuraEseguita)
        return false;
    // Load step.
    try {
        stato_.archivio.ApriArchivio(stato_.cartellaProgramma);
        leggiArchivio();
        motore_.pannello.operatore.attiva = false;
    } catch (const ErroreRuntime& e) {
        MsgBox(
            QStringLiteral("Impossibile aprire l'archivio dei dati \"%1\".\n%2 (%3)\n\n"
                           "Il programma verrà chiuso senza modificare nulla.")
                .arg(QDir(stato_.cartellaProgramma).filePath(Archivio::NomeFile()), e.Description())
                .arg(e.Number()),
            Stile::Critico, Titolo(), this);
        return false;
    }
    // The first copy of the day's archive starts now, in steps under the splash.
    backup_->Avvia();
    hide();
    logo_ = new FormLogo;
    logo_->Timer1.start();
    logo_->show();

    inizializzaStato();
    disegnaPannello();
    return true;
}

void FormMain::inizializzaStato() {
    FaseAvvio = 0;
    TickSplash = 0;
    motore_.stato = StatoModem{};
    motore_.stato.AperturaInCorso = true;
    motore_.pannello.segnale = 0;
    motore_.pannello.codicePin.clear();
    motore_.pannello.servizioRichiesto = 0;
    stato_.InserimentoDaSms = false;
    stato_.ChiusuraEseguita = false;
    esegui([this] { LetturaImpostazioni::LeggiStampante(stato_); });

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

void FormMain::esegui(const std::function<void()>& gestore) {
    guardia_.Esegui(gestore);
    if (!scaricata_)
        disegnaPannello();
}

void FormMain::Timer1_Timer() {
    // A box shown inside a tick runs its own event loop: the ticks that fall meanwhile are
    // skipped, so that a tick never overlaps another.
    if (inTick_)
        return;
    inTick_ = true;
    const auto fine = qScopeGuard([this] { inTick_ = false; });
    esegui([this] { passoTimer(); });
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
            if (stato_.impostazioni.stampaAutomatica)
                MsgBox(QStringLiteral("La Stampa Automatica è attiva. Si prega di controllare la "
                                      "propria stampante ed accenderla prima di effettuare "
                                      "operazioni di stampa"),
                       Stile::Informazione, QStringLiteral("Informazioni di Stampa"), this);
            motore_.stato.PortaCom = 1;
            motore_.Accendi_Gsm();
            setEnabled(true);
            return;
        }
    } else if (FaseAvvio == 1) {
        FaseAvvio = 2;
        VisualizzaLista();
        return;
    }

    // 2. Modem idle work, or 3. collection of the awaited reply.
    if (!motore_.PassoModem() || scaricata_)
        return;

    // 4. Rebuild of the pending list asked by another window. The request is taken before the
    // rebuild, so that an archive error is reported once, not at every tick.
    if (stato_.AggiornaListaSms) {
        stato_.AggiornaListaSms = false;
        VisualizzaLista();
    }

    // 5. Polling, 6. announcement.
    motore_.Polling();
    annuncio();
}

void FormMain::annuncio() {
    const int n = ListaSMS->topLevelItemCount();
    // Messages deleted before their turn are not waited for: the count never exceeds the rows.
    ContaSMSArrivati = std::min(ContaSMSArrivati, n);
    if (!VisualizzaSMSArrivati)
        return;
    // Nothing is announced over a window open modally.
    if (!isEnabled() || ContaSMSArrivati < 1) {
        delete msgBox1_;
        VisualizzaSMSArrivati = false;
        return;
    }
    const RigaListaSms riga = modello_.Riga(n - ContaSMSArrivati);
    // Each message is announced with its sound: the notice plays it when it loads, and again
    // for every further message it shows.
    if (!msgBox1_)
        msgBox1_ = new FormMsgBox1(stato_.cartellaProgramma, VisualizzaSMSArrivati, this);
    else
        msgBox1_->Suona();
    msgBox1_->Riempi(riga);
    msgBox1_->show();
    --ContaSMSArrivati;
    if (stato_.impostazioni.stampaAutomatica)
        stampa_->StampaSms(riga.numero, riga.nome, riga.data, riga.orario, riga.testo);
    VisualizzaSMSArrivati = false;
}

void FormMain::smsRegistrato(const QString& numero, const RicezioneSms::Risultato& esito) {
    if (esito.esito == RicezioneSms::Esito::Duplicato)
        return;
    // The row is tied to its record: the desk acts on that, whatever the row comes to show.
    // Should the archive not answer now, the next tick's rebuild ties every row.
    qint64 id = 0;
    try {
        id = ModelloSmsInAttesa::IdRegistrato(stato_.archivio, numero, esito.data,
                                              esito.orarioPrimo);
    } catch (const ErroreRuntime&) {
        stato_.AggiornaListaSms = true;
    }
    switch (esito.esito) {
    case RicezioneSms::Esito::Nuovo: {
        RigaListaSms riga{numero, esito.nome, esito.data, esito.orarioPrimo, esito.testo};
        riga.id = id;
        stato_.rubrica.NomeDi(numero, &riga.clienteNoto);
        modello_.Aggiungi(riga);
        ListaSMS->addTopLevelItem(new QTreeWidgetItem(
            QStringList{numero, esito.nome, esito.data, esito.orarioPrimo, esito.testo}));
        ++ContaSMSArrivati;
        return;
    }
    case RicezioneSms::Esito::Unito: {
        // The joined part goes to the row of its own record, wherever it stands in the list.
        const int i = id ? modello_.Indice(id) : -1;
        if (i >= 0) {
            modello_.ImpostaTesto(i, esito.testo);
            ListaSMS->topLevelItem(i)->setText(4, esito.testo);
            if (esito.daAnnunciare)
                annunciaDiNuovo(i);
            return;
        }
        // The record's row is not in view (the list was changed meanwhile): rebuild it.
        stato_.AggiornaListaSms = true;
        return;
    }
    case RicezioneSms::Esito::Duplicato:
        return;
    }
}

void FormMain::annunciaDiNuovo(int indice) {
    // Messages to announce are the last rows of the list: the row joins them at the end, and is
    // counted unless it was still waiting for its turn.
    const int n = ListaSMS->topLevelItemCount();
    const bool inAttesa = indice >= n - ContaSMSArrivati;
    modello_.SpostaInFondo(indice);
    ListaSMS->addTopLevelItem(ListaSMS->takeTopLevelItem(indice));
    if (!inAttesa)
        ++ContaSMSArrivati;
}

void FormMain::VisualizzaLista() {
    // Read first: when the archive fails, the list keeps what it showed.
    modello_.Ricostruisci(stato_.archivio, stato_.rubrica);
    ListaSMS->clear();
    QList<QTreeWidgetItem*> elementi;
    elementi.reserve(modello_.Conteggio());
    for (int i = 0; i < modello_.Conteggio(); ++i) {
        const RigaListaSms& r = modello_.Riga(i);
        auto* elemento =
            new QTreeWidgetItem(QStringList{r.numero, r.nome, r.data, r.orario, r.testo});
        if (r.gestito)
            SportelloSms::ColoraGestita(elemento);
        elementi.append(elemento);
    }
    ListaSMS->addTopLevelItems(elementi);
    if (!elementi.isEmpty()) {
        ListaSMS->clearSelection();
        ListaSMS->setCurrentItem(nullptr);
    }
}

void FormMain::CmClienti_Click() {
    FormClienti clienti(stato_, *stampa_, QString(), this);
    Modale::Mostra(clienti, this);
}

void FormMain::CmConfiguraAttivita_Click() {
    FormConfigura finestra(stato_, *stampa_, motore_.pannello, this);
    Modale::Mostra(finestra, this);
}

void FormMain::CmImpostaGestoreSim_Click() {
    FormGestoreSim finestra(stato_, motore_.pannello, this);
    Modale::Mostra(finestra, this);
}

void FormMain::CmSMS_Click() {
    FormSms archivio(stato_, *stampa_, this);
    Modale::Mostra(archivio, this);
}

void FormMain::CmStampa_Click() {
    std::unique_ptr<QPrinter> scelta = stampante_->PerIlDialogo();
    QPrintDialog dialogo(scelta.get(), this);
    dialogo.setWindowTitle(QStringLiteral("Imposta Stampante"));
    dialogo.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Cancelling is the user's choice, not a failure: nothing is said and nothing changes.
    if (Modale::Mostra(dialogo, this) != QDialog::Accepted)
        return;
    stampante_->Imposta(*scelta);
}

void FormMain::CmBackup_Click() {
    FormBackup finestra(stato_.cartellaProgramma, *backup_, this);
    Modale::Mostra(finestra, this);
}

void FormMain::CmRipristina_Click() {
    // The queue of a campaign under way names the archive's customers: it ends first.
    if (campagna_->Attiva()) {
        MsgBox(QStringLiteral("È in corso l'invio di una campagna SMS: attenderne la fine prima "
                              "di ripristinare l'archivio."),
               Stile::Esclamazione, QStringLiteral("Ripristina Archivio"), this);
        return;
    }
    FormRipristino finestra(stato_, *backup_, this);
    connect(&finestra, &FormRipristino::ArchivioSostituito, this, &FormMain::archivioSostituito);
    Modale::Mostra(finestra, this);
}

void FormMain::leggiArchivio() {
    LetturaImpostazioni::LeggiInterruttori(stato_);
    PannelloGsm& p = motore_.pannello;
    p.operatore.testo = QStringLiteral("Operatore Sim");
    p.credito.testo = QStringLiteral("Credito NON Gestito");
    if (stato_.gestore.Leggi(stato_.archivio)) {
        p.operatore.testo = QStringLiteral("Operatore ") + stato_.gestore.nome;
        p.MostraCredito(stato_.gestore.credito, true);
    }
    stato_.archivio.ApriTabella(Tabella::SMS);
}

void FormMain::archivioSostituito() {
    esegui([this] {
        // What the announcement still had to show belongs to the archive that went away.
        delete msgBox1_;
        ContaSMSArrivati = 0;
        VisualizzaSMSArrivati = false;
        leggiArchivio();
        LetturaImpostazioni::LeggiStampante(stato_);
        VisualizzaLista();
    });
}

void FormMain::CmInfo_Click() {
    FormInformazioni finestra(this);
    Modale::Mostra(finestra, this);
}

void FormMain::CmEsci_Click() {
    esegui([this] {
        StatoModem& s = motore_.stato;
        if (s.ChiusuraRichiesta || s.AperturaInCorso || domandaChiusura_) {
            if (s.AperturaInCorso)
                MsgBox(QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                      "completamento dell'Apertura "),
                       Stile::SoloOk, QString(), this);
            return;
        }
        // Until the user has answered "Sì" the engine goes on as ever: the replies that come
        // meanwhile are handled, so an answer "No" finds the modem where it should be.
        domandaChiusura_ = true;
        const auto risposto = qScopeGuard([this] { domandaChiusura_ = false; });
        rispformbox = Conferma_Chiusura();
        if (rispformbox == Risposta::Si) {
            s.ChiusuraRichiesta = true;
            stato_.ChiusuraEseguita = true;
            delete logo_;
            if (!s.SpegnimentoRichiesto)
                scaricaTutto();
        }
    });
}

int FormMain::Conferma_Chiusura() {
    StatoModem& s = motore_.stato;
    int risposta = Risposta::Si;
    if (ListaSMS->topLevelItemCount() > 0) {
        risposta = MsgBox(QStringLiteral("ATTENZIONE !!!! Ci sono ancora SMS da gestire \n"
                                         "Sicuro di voler chiudere l'applicazione?\n"),
                          Stile::SiNo + Stile::Esclamazione,
                          QStringLiteral("Chiusura Applicazione"), this);
        if (risposta == Risposta::No)
            return Risposta::No;
    }
    if (!s.GsmAbilitato) {
        motore_.ChiudiSenzaSpegnere();
        return risposta;
    }
    if (s.InAttesaRisposta) {
        risposta =
            MsgBox(QStringLiteral("Modulo GSM in esecuzione: la chiusura del programma "
                                  "comporterà ad un interruzione forzata dell'operazione.\n"
                                  "Voler procedere?"),
                   Stile::SiNo + Stile::Esclamazione, QStringLiteral("Conferma Chiusura"), this);
        if (risposta != Risposta::Si)
            return risposta;
    }
    motore_.AvviaSpegnimento();
    s.ChiusuraRichiesta = true;
    if (!chiusura_)
        chiusura_ = new FormChiusura;
    chiusura_->show();
    return Risposta::Si;
}

void FormMain::ChiusuraDiSistema() {
    if (scaricata_)
        return;
    chiusuraDiSistema_ = true;
    stato_.ChiusuraEseguita = true;
    scaricaTutto();
}

void FormMain::scaricaTutto() {
    // The copy of the closing holds everything received until now; a failure is told before
    // the program ends.
    backup_->CopiaDiChiusura();
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

bool FormMain::eventFilter(QObject* destinatario, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress || !destinatario->isWidgetType() ||
        static_cast<QWidget*>(destinatario)->window() != this)
        return QMainWindow::eventFilter(destinatario, evento);
    const int tasto = static_cast<QKeyEvent*>(evento)->key();
    if (tasto == Qt::Key_F7) {
        mostraDiagnostica();
        return true;
    }
    if (tasto == Qt::Key_F1) {
        apriDocumento(QStringLiteral("help.pdf"));
        return true;
    }
    // The menu bar from the keyboard, as on the desktop: the arrows then go along it.
    if (tasto == Qt::Key_F10) {
        menuBar()->setActiveAction(MnFile->menuAction());
        return true;
    }
    return QMainWindow::eventFilter(destinatario, evento);
}

void FormMain::mostraDiagnostica() {
    esegui([this] {
        ListSendModem->clear();
        ListRicevutiModem->clear();
        FrModem->setVisible(FrModem->isHidden());
        motore_.stato.DiagnosticaAttiva = !FrModem->isHidden();
        // What the modem refused at start-up stays told at the head of the lists.
        if (motore_.stato.DiagnosticaAttiva) {
            for (const QString& nota : motore_.codifica.Note())
                Diagnostica(false, nota);
            if (!motore_.pannello.modello.isEmpty())
                Diagnostica(false,
                            QStringLiteral("Modello del modem: ") + motore_.pannello.modello);
            motore_.supervisione.ChiediModello();
        }
    });
}

void FormMain::apriDocumento(const QString& nome) {
    // A missing document or viewer is not worth a message.
    Documento::Apri(QDir(stato_.cartellaProgramma).filePath(nome));
}

int FormMain::Messaggio(const QString& testo, int stile, const QString& titolo) {
    // The panel is brought up to date first, so that the box stands over what it speaks of.
    disegnaPannello();
    return MsgBox(testo, stile, titolo, this);
}

void FormMain::Diagnostica(bool inviata, const QString& riga) {
    aggiungiDiagnostica(inviata ? ListSendModem : ListRicevutiModem, riga);
}

void FormMain::disegnaPannello() {
    const PannelloGsm& p = motore_.pannello;
    // The box is typed into as well: it follows the engine whatever was drawn last.
    if (TxtPinCode->text() != p.codicePin)
        TxtPinCode->setText(p.codicePin);
    if (disegnato_ == p)
        return;
    disegnato_ = p;
    disegna(LbLPortaModem, p.porta);
    disegna(lblledmodem, p.rete);
    disegna(lblprovider, p.operatore);
    disegna(LblCredito, p.credito);
    Accessibile::Testo(LblPinCode, p.TestoStatoPin());
    ProgressBar1->setValue(p.segnale);
    ProgressBar1->setEnabled(p.segnaleAttivo);
    BtnTrovaGsm->setEnabled(p.trovaGsm);
    BtnTestCredito->setEnabled(p.gestioneCredito);
    BtnDisabilitaPinCode->setEnabled(p.gestionePin);
    Accessibile::Testo(BtnDisabilitaPinCode, p.TestoPulsantePin());
    FrmPin->setVisible(p.riquadroPin);
}

void FormMain::BtnTrovaGsm_Click() {
    esegui([this] { motore_.supervisione.TrovaGsm(); });
}

void FormMain::BtnSpegniGsm_Click() {
    esegui([this] { motore_.supervisione.SpegniGsm(); });
}

void FormMain::btnClearModem_Click() {
    ListSendModem->clear();
    ListRicevutiModem->clear();
}

void FormMain::BtnTestCredito_Click() {
    esegui([this] {
        if (const int risposta = motore_.credito.GestioneCredito())
            rispformbox = risposta;
    });
}

void FormMain::CmInvioSms_Click() {
    // The main timer keeps running meanwhile: messages still arrive and the modem is polled.
    esegui([this] {
        FormInvioSms finestra(stato_, motore_, *campagna_, this);
        Modale::Mostra(finestra, this);
    });
}

void FormMain::BtnPinCode_Click() {
    esegui([this] {
        motore_.pannello.codicePin = TxtPinCode->text();
        motore_.pin.Ok();
    });
}

void FormMain::BtnPinEsc_Click() {
    esegui([this] { motore_.pin.Esc(); });
}

void FormMain::BtnDisabilitaPinCode_Click() {
    esegui([this] {
        motore_.pannello.codicePin = TxtPinCode->text();
        motore_.pin.Pulsante();
    });
}
