#include "FormMain.h"

#include "Applicazione.h"
#include "ChiusuraProgramma.h"
#include "FormChiusura.h"
#include "FormLogo.h"
#include "PannelloModem.h"
#include "archive/LetturaImpostazioni.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "browser/FormSms.h"
#include "campaigns/FormInvioSms.h"
#include "customers/FormClienti.h"
#include "desk/Annunciatore.h"
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
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>

FormMain::FormMain(Applicazione& applicazione, QWidget* parent)
    : FormMain(nullptr, &applicazione, parent) {}

FormMain::FormMain(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
                   std::unique_ptr<PortaSeriale> portaStampante, QWidget* parent)
    : FormMain(std::make_unique<Applicazione>(stato, std::move(porta), std::move(portaStampante)),
               nullptr, parent) {}

FormMain::FormMain(std::unique_ptr<Applicazione> propria, Applicazione* applicazione,
                   QWidget* parent)
    : QMainWindow(parent)
    , MSComm1((applicazione ? *applicazione : *propria).PortaModem())
    , MSComm2((applicazione ? *applicazione : *propria).PortaStampante())
    , app_(applicazione ? *applicazione : *propria)
    , propria_(std::move(propria))
    , stato_(app_.Stato())
    , motore_(app_.Motore())
    , campagna_(&app_.Campagna())
    , stampante_(&app_.Stampante())
    , stampa_(&app_.Stampa())
    , backup_(&app_.Backup())
    , chiusura_(std::make_unique<ChiusuraProgramma>(
          motore_, *backup_, [this] { return modello_->Conteggio(); }, this))
    , guardia_(this) {
    setObjectName(QStringLiteral("FormMain"));
    app_.Mostra(this, this);
    setWindowTitle(Titolo());
    costruisciControlli();
    // Seen before the focused control gets the key.
    qApp->installEventFilter(this);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
    connect(&motore_, &MotoreGsm::SmsRegistrato, this, &FormMain::smsRegistrato);
    connect(&motore_, &MotoreGsm::ScansioneConclusa, annunciatore_,
            &Annunciatore::ScansioneConclusa);
    connect(chiusura_.get(), &ChiusuraProgramma::SpegnimentoAvviato, this, [this] {
        if (!attesa_)
            attesa_ = new FormChiusura;
        attesa_->show();
    });
    connect(chiusura_.get(), &ChiusuraProgramma::Terminata, this, &FormMain::scaricaTutto);
    connect(backup_, &BackupAutomatico::Avviso, this, [this](const QString& testo) {
        if (chiusura_->DiSistemaInCorso()) {
            qWarning().noquote() << testo;
            return;
        }
        MsgBox(testo, Stile::Esclamazione, QStringLiteral("Copia di sicurezza dell'archivio"),
               this);
    });
}

FormMain::~FormMain() {
    // The working parts may outlive this window: their boxes no longer come here.
    app_.Mostra(nullptr, nullptr);
    delete logo_;
    delete attesa_;
}

QString FormMain::Titolo() {
    return StatoGlobale::TitoloProgramma();
}

FormLogo* FormMain::logo() const {
    return logo_;
}

FormChiusura* FormMain::chiusura() const {
    return attesa_;
}

FormMsgBox1* FormMain::msgBox1() const {
    return annunciatore_->Avviso();
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
    modello_ = new ModelloSmsInAttesa(this);
    ListaSMS = new QTreeView(centro);
    ListaSMS->setObjectName(QStringLiteral("ListaSMS"));
    ListaSMS->setItemDelegate(new DelegatoInerte(ListaSMS));
    ListaSMS->setModel(modello_);
    ListaSMS->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    sportello_ = new SportelloSms(stato_, *modello_, *ListaSMS, *stampa_, this, rispformbox);
    annunciatore_ = new Annunciatore(stato_, *stampa_, this);
    // A row that leaves before its turn is not announced any more.
    connect(modello_, &QAbstractItemModel::rowsAboutToBeRemoved, annunciatore_,
            [this](const QModelIndex&, int primo, int ultimo) {
                for (int i = primo; i <= ultimo; ++i)
                    annunciatore_->Ritira(modello_->Riga(i).id);
            });
    riga->addLayout(sinistra, 1);

    pannello_ = new PannelloModem(
        motore_, [this](const std::function<void()>& gestore) { esegui(gestore); }, centro);
    riga->addWidget(pannello_, 0, Qt::AlignTop);

    setCentralWidget(centro);

    // Screen readers and automated checks find each control by what it says.
    LblListaSMS->setBuddy(ListaSMS);
    ListaSMS->setAccessibleName(LblListaSMS->text());
    Accessibile::NominaDaTesto(this);
}

bool FormMain::Avvia() {
    if (chiusuraEseguita_)
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
    pannello_->Disegna();
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
    chiusuraEseguita_ = false;
    esegui([this] { LetturaImpostazioni::LeggiStampante(stato_); });

    // 80 % of the screen at the top left, then maximised when it is first shown.
    if (const QScreen* schermo = QApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        setGeometry(area.left(), area.top(), area.width() * 8 / 10, area.height() * 8 / 10);
    }
    pannello_->BtnSpegniGsm->hide();
    // Until the splash ends the user works with nothing here.
    setEnabled(false);
    Timer1.start();
}

void FormMain::esegui(const std::function<void()>& gestore) {
    guardia_.Esegui(gestore);
    if (!scaricata_)
        pannello_->Disegna();
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

    // 4. Polling, 5. announcement.
    motore_.Polling();
    annunciatore_->Passo();
}

void FormMain::smsRegistrato(const QString& numero, const RicezioneSms::Risultato& esito) {
    if (esito.esito == RicezioneSms::Esito::Duplicato)
        return;
    // The reception names the record it wrote or joined: the row and the announcement go by it.
    RigaListaSms riga{numero, esito.nome, esito.data, esito.orarioPrimo, esito.testo};
    riga.id = esito.id;
    stato_.rubrica.NomeDi(numero, &riga.clienteNoto);
    modello_->Registrato(riga);
    // A part joined to a record stored by this same scan is shown with it, once.
    if (esito.esito == RicezioneSms::Esito::Nuovo || esito.daAnnunciare)
        annunciatore_->Accoda(esito.id);
}

void FormMain::VisualizzaLista() {
    modello_->Ricostruisci(stato_.archivio, stato_.rubrica);
    ListaSMS->clearSelection();
    ListaSMS->setCurrentIndex(QModelIndex());
}

void FormMain::CmClienti_Click() {
    {
        FormClienti clienti(stato_, *stampa_, std::nullopt, this);
        Modale::Mostra(clienti, this);
    }
    // Names and numbers may have changed: the pending rows take their customers again.
    modello_->AggiornaClienti(stato_.archivio, stato_.rubrica);
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
    // The queue of a campaign under way names the archive's customers: it ends first, and so
    // does the outcome of its last SMS, which is written into that queue.
    if (campagna_->Attiva() || campagna_->InAttesaEsito()) {
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
        annunciatore_->Svuota();
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
        if (chiusura_->Richiedi() == ChiusuraProgramma::Scelta::Chiudi) {
            chiusuraEseguita_ = true;
            delete logo_;
        }
    });
}

void FormMain::ChiusuraDiSistema() {
    if (scaricata_)
        return;
    chiusuraEseguita_ = true;
    chiusura_->DiSistema();
}

void FormMain::scaricaTutto() {
    delete attesa_;
    annunciatore_->Svuota();
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
        pannello_->MostraDiagnostica();
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

void FormMain::apriDocumento(const QString& nome) {
    // A missing document or viewer is not worth a message.
    Documento::Apri(QDir(stato_.cartellaProgramma).filePath(nome));
}

int FormMain::Messaggio(const QString& testo, int stile, const QString& titolo) {
    // The panel is brought up to date first, so that the box stands over what it speaks of.
    pannello_->Disegna();
    return MsgBox(testo, stile, titolo, this);
}

void FormMain::Diagnostica(bool inviata, const QString& riga) {
    pannello_->Diagnostica(inviata, riga);
}

void FormMain::CmInvioSms_Click() {
    // The main timer keeps running meanwhile: messages still arrive and the modem is polled.
    esegui([this] {
        FormInvioSms finestra(stato_, motore_, *campagna_, this);
        Modale::Mostra(finestra, this);
    });
}
