#include "PannelloModem.h"

#include "modem/MotoreGsm.h"
#include "platform/Accessibile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
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

QPushButton* pulsante(QWidget* padre, const char* nome, const QString& testo) {
    auto* b = new QPushButton(testo, padre);
    b->setObjectName(QString::fromLatin1(nome));
    return b;
}
} // namespace

PannelloModem::PannelloModem(MotoreGsm& motore, Esecutore esegui, QWidget* parent)
    : QWidget(parent)
    , motore_(motore)
    , esegui_(std::move(esegui)) {
    setObjectName(QStringLiteral("PannelloModem"));
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(0, 0, 0, 0);

    FrmDatiTecnici = new QGroupBox(QStringLiteral("Dati Tecnici"), this);
    FrmDatiTecnici->setObjectName(QStringLiteral("FrmDatiTecnici"));
    auto* dati = new QVBoxLayout(FrmDatiTecnici);
    auto etichetta = [&](const char* nome, const QString& testo) {
        auto* l = new QLabel(testo, FrmDatiTecnici);
        l->setObjectName(QString::fromLatin1(nome));
        dati->addWidget(l);
        return l;
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
    connect(BtnTrovaGsm, &QPushButton::clicked, this, &PannelloModem::BtnTrovaGsm_Click);
    connect(BtnSpegniGsm, &QPushButton::clicked, this, &PannelloModem::BtnSpegniGsm_Click);
    connect(BtnTestCredito, &QPushButton::clicked, this, &PannelloModem::BtnTestCredito_Click);
    colonna->addWidget(FrmDatiTecnici);

    FrmPin = new QGroupBox(QStringLiteral("Codice PIN"), this);
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
    connect(BtnPinCode, &QPushButton::clicked, this, &PannelloModem::BtnPinCode_Click);
    connect(BtnPinEsc, &QPushButton::clicked, this, &PannelloModem::BtnPinEsc_Click);
    connect(BtnDisabilitaPinCode, &QPushButton::clicked, this,
            &PannelloModem::BtnDisabilitaPinCode_Click);
    connect(TxtPinCode, &QLineEdit::textEdited, this,
            [this](const QString& testo) { motore_.pannello.codicePin = testo; });
    FrmPin->hide();
    // There is nothing to switch off before the modem is found.
    BtnSpegniGsm->hide();
    colonna->addWidget(FrmPin);

    FrModem = new QGroupBox(this);
    FrModem->setObjectName(QStringLiteral("FrModem"));
    auto* diagnostica = new QVBoxLayout(FrModem);
    ListSendModem = new QListWidget(FrModem);
    ListSendModem->setObjectName(QStringLiteral("ListSendModem"));
    ListRicevutiModem = new QListWidget(FrModem);
    ListRicevutiModem->setObjectName(QStringLiteral("ListRicevutiModem"));
    btnClearModem = pulsante(FrModem, "btnClearModem", QStringLiteral("Clr Mod."));
    connect(btnClearModem, &QPushButton::clicked, this, &PannelloModem::btnClearModem_Click);
    diagnostica->addWidget(ListSendModem);
    diagnostica->addWidget(ListRicevutiModem);
    diagnostica->addWidget(btnClearModem);
    FrModem->hide();
    colonna->addWidget(FrModem);
    colonna->addStretch();

    // Screen readers and automated checks find each control by what it says.
    TxtPinCode->setAccessibleName(FrmPin->title());
    ProgressBar1->setAccessibleName(QStringLiteral("Segnale GSM"));
    ListSendModem->setAccessibleName(QStringLiteral("Comandi inviati al modem"));
    ListRicevutiModem->setAccessibleName(QStringLiteral("Risposte ricevute dal modem"));
    Accessibile::NominaDaTesto(this);
}

void PannelloModem::Disegna() {
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

void PannelloModem::Diagnostica(bool inviata, const QString& riga) {
    aggiungiDiagnostica(inviata ? ListSendModem : ListRicevutiModem, riga);
}

void PannelloModem::MostraDiagnostica() {
    esegui_([this] {
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

void PannelloModem::BtnTrovaGsm_Click() {
    esegui_([this] { motore_.supervisione.TrovaGsm(); });
}

void PannelloModem::BtnSpegniGsm_Click() {
    esegui_([this] { motore_.supervisione.SpegniGsm(); });
}

void PannelloModem::btnClearModem_Click() {
    ListSendModem->clear();
    ListRicevutiModem->clear();
}

void PannelloModem::BtnTestCredito_Click() {
    esegui_([this] { motore_.credito.GestioneCredito(); });
}

void PannelloModem::BtnPinCode_Click() {
    conCodice([this] { motore_.pin.Ok(); });
}

void PannelloModem::BtnPinEsc_Click() {
    esegui_([this] { motore_.pin.Esc(); });
}

void PannelloModem::BtnDisabilitaPinCode_Click() {
    conCodice([this] { motore_.pin.Pulsante(); });
}

void PannelloModem::conCodice(const std::function<void()>& azione) {
    esegui_([&] {
        motore_.pannello.codicePin = TxtPinCode->text();
        azione();
    });
}
