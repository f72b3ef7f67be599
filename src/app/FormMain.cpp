#include "FormMain.h"

#include "Applicazione.h"
#include "ChiusuraProgramma.h"
#include "ComandiMenu.h"
#include "FormChiusura.h"
#include "FormLogo.h"
#include "PannelloModem.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "desk/Annunciatore.h"
#include "platform/Accessibile.h"
#include "platform/Documento.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>

FormMain::FormMain(Applicazione& applicazione, QWidget* parent)
    : QMainWindow(parent)
    , MSComm1(applicazione.PortaModem())
    , MSComm2(applicazione.PortaStampante())
    , app_(applicazione)
    , stato_(app_.Stato())
    , motore_(app_.Motore())
    , chiusura_(std::make_unique<ChiusuraProgramma>(
          motore_, app_.Backup(), [this] { return Modello().Conteggio(); }, this))
    , comandi_(new ComandiMenu(app_, this))
    , guardia_(this) {
    setObjectName(QStringLiteral("FormMain"));
    app_.Mostra(this, this);
    setWindowTitle(Titolo());
    costruisciControlli();
    // Seen before the focused control gets the key.
    qApp->installEventFilter(this);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
    connect(&motore_, &MotoreGsm::SmsRegistrato, lista_,
            [this](const QString& numero, const RicezioneSms::Risultato& e) {
                if (e.esito == RicezioneSms::Esito::Duplicato)
                    return;
                // The row and the announcement go by the record the reception wrote or joined;
                // a part joined to a record of this same scan is shown with it, once.
                RigaListaSms riga{numero, e.nome, e.data, e.orarioPrimo, e.testo};
                riga.id = e.id;
                lista_->Registrato(riga, e.esito == RicezioneSms::Esito::Nuovo || e.daAnnunciare);
            });
    connect(&motore_, &MotoreGsm::ScansioneConclusa, &Annuncio(), &Annunciatore::ScansioneConclusa);
    connect(chiusura_.get(), &ChiusuraProgramma::SpegnimentoAvviato, this, [this] {
        if (!attesa_)
            attesa_ = new FormChiusura;
        attesa_->show();
    });
    connect(chiusura_.get(), &ChiusuraProgramma::Terminata, this, &FormMain::scaricaTutto);
    connect(comandi_, &ComandiMenu::ClientiCambiati, lista_, &PannelloListaSms::AggiornaClienti);
    connect(comandi_, &ComandiMenu::ArchivioSostituito, this, &FormMain::archivioSostituito);
    connect(&app_.Backup(), &BackupAutomatico::Avviso, this, [this](const QString& testo) {
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
    return lista_->Annuncio().Avviso();
}

void FormMain::costruisciControlli() {
    // Each entry runs under the window's error guard.
    const auto voce = [this](QWidget* menu, const QString& testo, const char* nome,
                             std::function<void()> gestore) {
        auto* azione = new QAction(testo, this);
        azione->setObjectName(QString::fromLatin1(nome));
        menu->addAction(azione);
        connect(azione, &QAction::triggered, this, [this, gestore] { esegui(gestore); });
        return azione;
    };
    ComandiMenu* c = comandi_;
    MnFile = menuBar()->addMenu(QStringLiteral("File"));
    MnFile->setObjectName(QStringLiteral("MnFile"));
    CmConfigura = MnFile->addMenu(QStringLiteral("Impostazioni"));
    CmConfigura->setObjectName(QStringLiteral("CmConfigura"));
    CmStampa =
        voce(CmConfigura, QStringLiteral("Imposta Stampante"), "CmStampa", [c] { c->Stampante(); });
    CmConfiguraAttivita = voce(CmConfigura, QStringLiteral("Configurazione Attività"),
                               "CmConfiguraAttivita", [c] { c->ConfiguraAttivita(); });
    CmImpostaGestoreSim = voce(CmConfigura, QStringLiteral("Imposta Gestore Sim"),
                               "CmImpostaGestoreSim", [c] { c->GestoreSim(); });
    CmBackup =
        voce(CmConfigura, QStringLiteral("Backup Archivio"), "CmBackup", [c] { c->Backup(); });
    CmRipristina = voce(MnFile, QStringLiteral("Ripristina Archivio…"), "CmRipristina",
                        [c] { c->Ripristina(); });
    Separatore = MnFile->addSeparator();
    Separatore->setObjectName(QStringLiteral("Separatore"));
    CmEsci = voce(MnFile, QStringLiteral("Esci"), "CmEsci", [this] { esci(); });
    CmClienti =
        voce(menuBar(), QStringLiteral("Gesione Clienti"), "CmClienti", [c] { c->Clienti(); });
    CmSMS = voce(menuBar(), QStringLiteral("Gestione SMS"), "CmSMS", [c] { c->ArchivioSms(); });
    // The main timer keeps running meanwhile: messages still arrive and the modem is polled.
    CmInvioSms = voce(menuBar(), QStringLiteral("InvioSms"), "CmInvioSms", [c] { c->InvioSms(); });
    Mn_info = menuBar()->addMenu(QStringLiteral("?"));
    Mn_info->setObjectName(QStringLiteral("Mn_info"));
    CmHelp = voce(Mn_info, QStringLiteral("Help"), "CmHelp",
                  [this] { apriDocumento(QStringLiteral("help.pdf")); });
    CmHelpStampa = voce(Mn_info, QStringLiteral("Help di Stampa"), "CmHelpStampa",
                        [this] { apriDocumento(QStringLiteral("configurazione stampanti.pdf")); });
    CmInfo = voce(Mn_info, QStringLiteral("Informazioni sul Prodotto"), "CmInfo",
                  [c] { c->Informazioni(); });

    auto* centro = new QWidget(this);
    auto* riga = new QHBoxLayout(centro);
    lista_ = new PannelloListaSms(stato_, app_.Impostazioni(), app_.Stampa(), this, centro);
    LblListaSMS = lista_->LblListaSMS;
    ListaSMS = lista_->ListaSMS;
    riga->addWidget(lista_, 1);
    pannello_ = new PannelloModem(
        motore_, [this](const std::function<void()>& gestore) { esegui(gestore); }, centro);
    riga->addWidget(pannello_, 0, Qt::AlignTop);
    setCentralWidget(centro);
    // Screen readers and automated checks find each control by what it says.
    Accessibile::NominaDaTesto(this);
}

bool FormMain::Avvia() {
    if (chiusuraEseguita_)
        return false;
    try {
        app_.Avvia();
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
    app_.Backup().Avvia();
    hide();
    logo_ = new FormLogo;
    logo_->Timer1.start();
    logo_->show();
    FaseAvvio = 0;
    TickSplash = 0;
    // 80 % of the screen at the top left, then maximised when it is first shown.
    if (const QScreen* schermo = QApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        setGeometry(area.left(), area.top(), area.width() * 8 / 10, area.height() * 8 / 10);
    }
    // Until the splash ends the user works with nothing here.
    setEnabled(false);
    Timer1.start();
    pannello_->Disegna();
    return true;
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
            if (app_.Impostazioni().stampaAutomatica)
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
    Annuncio().Passo();
}

void FormMain::VisualizzaLista() {
    lista_->VisualizzaLista();
}

void FormMain::archivioSostituito() {
    esegui([this] {
        // What the announcement still had to show belongs to the archive that went away.
        Annuncio().Svuota();
        app_.LeggiArchivio();
        VisualizzaLista();
    });
}

void FormMain::CmEsci_Click() {
    esegui([this] { esci(); });
}

void FormMain::esci() {
    if (chiusura_->Richiedi() == ChiusuraProgramma::Scelta::Chiudi) {
        chiusuraEseguita_ = true;
        delete logo_;
    }
}

void FormMain::ChiusuraDiSistema() {
    if (scaricata_)
        return;
    chiusuraEseguita_ = true;
    chiusura_->DiSistema();
}

void FormMain::scaricaTutto() {
    delete attesa_;
    Annuncio().Svuota();
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
