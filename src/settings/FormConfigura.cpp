#include "FormConfigura.h"

#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "modem/PannelloGsm.h"
#include "platform/Accessibile.h"
#include "platform/FiltroCifre.h"
#include "platform/MsgBox.h"
#include "platform/RigaPulsanti.h"
#include "platform/Testo.h"
#include "printing/ModulofnStampa.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <optional>

namespace {
const QString kRelease = QStringLiteral("Release Gsm :  ");

// A port number the 80-column printer can be on: COM1 to COM16.
std::optional<int> portaValida(const QString& testo) {
    bool ok = false;
    const int n = testo.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 16)
        return std::nullopt;
    return n;
}
} // namespace

FormConfigura::FormConfigura(StatoGlobale& stato, const ImpostazioniAttivita& inUso,
                             ModulofnStampa& stampa, PannelloGsm& pannello, QWidget* parent)
    : QDialog(parent)
    , stato_(stato)
    , impostazioni_(inUso)
    , stampa_(stampa)
    , pannello_(pannello)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormConfigura"));
    setWindowTitle(QStringLiteral("Configurazione Attività"));
    costruisciControlli();
    guardia_.Esegui([this] {
        stato_.archivio.ApriTabella(Tabella::Impostazioni);
        TextRecord();
    });
}

void FormConfigura::costruisciControlli() {
    auto* colonna = new QVBoxLayout(this);
    auto* griglia = new QGridLayout;
    const QString etichette[] = {QStringLiteral("Nome Attività:"),
                                 QStringLiteral("Contatto:"),
                                 QStringLiteral("Telefono Gsm (Per Ordinare):"),
                                 QStringLiteral("Telefono Attività (Per Info):"),
                                 QStringLiteral("Indirizzo Attività:"),
                                 QStringLiteral("Informazioni Pubblicitarie:")};
    for (int i = 0; i < 6; ++i) {
        Label1[i] = new QLabel(etichette[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        QWidget* casella = nullptr;
        if (i == 5) {
            Text1_5 = new QPlainTextEdit(this);
            Text1_5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            Text1_5->setTabChangesFocus(true);
            casella = Text1_5;
        } else {
            Text1[i] = new QLineEdit(this);
            // Telephone numbers: digits and "." only.
            if (i == 2 || i == 3)
                FiltroCifre::Applica(Text1[i]);
            casella = Text1[i];
        }
        casella->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Accessibile::Didascalia(Label1[i], casella);
        griglia->addWidget(Label1[i], i, 0);
        griglia->addWidget(casella, i, 1);
    }
    colonna->addLayout(griglia);
    Label1[6] = new QLabel(kRelease, this);
    Label1[6]->setObjectName(QStringLiteral("Label1_6"));
    colonna->addWidget(Label1[6]);

    auto* interruttori = new QHBoxLayout;
    const auto coppia = [&](const QString& titolo, std::array<QRadioButton*, 2>& opzioni,
                            const char* nome) {
        auto* riquadro = new QGroupBox(titolo, this);
        auto* riga = new QVBoxLayout(riquadro);
        auto* gruppo = new QButtonGroup(riquadro);
        const QString didascalie[] = {QStringLiteral("Automatica"), QStringLiteral("Manuale")};
        for (int i = 0; i < 2; ++i) {
            opzioni[i] = new QRadioButton(didascalie[i], riquadro);
            opzioni[i]->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(nome)).arg(i));
            opzioni[i]->setAccessibleName(titolo + QLatin1Char(' ') + didascalie[i]);
            gruppo->addButton(opzioni[i]);
            riga->addWidget(opzioni[i]);
        }
        interruttori->addWidget(riquadro);
    };
    coppia(QStringLiteral("Accensione GSM"), OptAccGsm, "OptAccGsm");
    coppia(QStringLiteral("Modalità di Stampa"), OptModStampa, "OptModStampa");
    for (QRadioButton* o : OptAccGsm)
        connect(o, &QRadioButton::clicked, this, guardia_.Proteggi([this] { OptAccGsm_Click(); }));
    for (QRadioButton* o : OptModStampa)
        connect(o, &QRadioButton::clicked, this,
                guardia_.Proteggi([this] { OptModStampa_Click(); }));

    auto* stampante = new QVBoxLayout;
    Opt80Colonne = new QCheckBox(QStringLiteral("Stampante 80 Colonne"), this);
    Opt80Colonne->setObjectName(QStringLiteral("Opt80Colonne"));
    connect(Opt80Colonne, &QCheckBox::clicked, this,
            guardia_.Proteggi([this] { Opt80Colonne_Click(); }));
    stampante->addWidget(Opt80Colonne);
    Frame3 = new QGroupBox(QStringLiteral("Imposta Stampante Com"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* rigaCom = new QHBoxLayout(Frame3);
    Label_Com = new QLabel(QStringLiteral("Com:"), Frame3);
    Label_Com->setObjectName(QStringLiteral("Label_Com"));
    Text1[6] = new QLineEdit(Frame3);
    Text1[6]->setObjectName(QStringLiteral("Text1_6"));
    FiltroCifre::Applica(Text1[6]);
    Text1[6]->setMaxLength(5);
    Accessibile::Didascalia(Label_Com, Text1[6]);
    rigaCom->addWidget(Label_Com);
    rigaCom->addWidget(Text1[6]);
    stampante->addWidget(Frame3);
    interruttori->addLayout(stampante);
    colonna->addLayout(interruttori);

    colonna->addLayout(RigaPulsanti(
        this, Command1,
        {QStringLiteral("Modifica"), QStringLiteral("Stampa Biglietti"), QStringLiteral("Esci")},
        QStringLiteral("Command1"),
        [this](int i) { guardia_.Esegui([&] { Command1_Click(i); }); }));
    Accessibile::NominaDaTesto(this);
}

QString FormConfigura::Testo1(int indice) const {
    return indice == 5 ? Text1_5->toPlainText() : Text1[indice]->text();
}

void FormConfigura::TextRecord() {
    Recordset& rs = stato_.archivio.rs();
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    const QString campi[] = {Campo::NomeAttivita,      Campo::NomeProprietario,
                             Campo::TelefonoGsm,       Campo::TelefonoAttivita,
                             Campo::IndirizzoAttivita, Campo::InformazioniAttivita};
    for (int i = 0; i < 6; ++i) {
        if (i == 5)
            Text1_5->setPlainText(rs.Testo(campi[i]));
        else
            Text1[i]->setText(rs.Testo(campi[i]));
    }
    Accessibile::Testo(Label1[6], kRelease + pannello_.revisione);
    const bool accensioneDtr = rs.Booleano(Campo::ModAccGsm);
    const bool stampaAutomatica = rs.Booleano(Campo::ModStampa);
    // Typed in by hand, the stored port may hold anything: only a port number shows.
    const QString porta = rs.Testo(Campo::ModCom80Colonne);
    OptAccGsm[accensioneDtr ? 0 : 1]->setChecked(true);
    OptModStampa[stampaAutomatica ? 0 : 1]->setChecked(true);
    Opt80Colonne->setChecked(rs.Booleano(Campo::Mod80Colonne));
    Opt80Colonne_Click();
    Text1[6]->setText(porta);
    cambia([&](ImpostazioniAttivita& i) {
        i.accensioneDtr = accensioneDtr;
        i.stampaAutomatica = stampaAutomatica;
        i.portaStampa80 = portaValida(porta).value_or(0);
    });
}

void FormConfigura::cambia(const std::function<void(ImpostazioniAttivita&)>& modifica) {
    modifica(impostazioni_);
    emit Cambiate(impostazioni_);
}

void FormConfigura::OptAccGsm_Click() {
    cambia([this](ImpostazioniAttivita& i) { i.accensioneDtr = OptAccGsm[0]->isChecked(); });
}

void FormConfigura::OptModStampa_Click() {
    cambia([this](ImpostazioniAttivita& i) { i.stampaAutomatica = OptModStampa[0]->isChecked(); });
}

void FormConfigura::Opt80Colonne_Click() {
    const bool attiva = Opt80Colonne->isChecked();
    cambia([attiva](ImpostazioniAttivita& i) { i.stampa80Colonne = attiva; });
    Frame3->setEnabled(attiva);
    Text1[6]->setEnabled(attiva);
    Label_Com->setEnabled(attiva);
}

void FormConfigura::Command1_Click(int index) {
    switch (index) {
    case 0:
        salva();
        return;
    case 1:
        // The texts as they stand, saved or not; the printer as the switch stands now.
        stampa_.StampaVolantino(Testo1(0), Testo1(1), Testo1(2), Testo1(3), Testo1(4), Testo1(5));
        return;
    default:
        stato_.archivio.ApriTabella(Tabella::SMS);
        accept();
        return;
    }
}

void FormConfigura::salva() {
    const std::optional<int> porta = portaValida(Text1[6]->text());
    if (!porta) {
        MsgBox(QStringLiteral("La porta Com della stampante 80 colonne deve essere un numero da 1 "
                              "a 16. Correggere la casella Com: e salvare di nuovo."),
               Stile::Esclamazione, QStringLiteral("Conferma Salvataggio Dati"), this);
        return;
    }
    if (MsgBox(QStringLiteral("Confermi la memorizzazione delle modifiche effettuate ?"),
               Stile::SiNo + Stile::Domanda, QStringLiteral("Conferma Salvataggio Dati"),
               this) != Risposta::Si)
        return;
    Recordset& rs = stato_.archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    rs.Edit();
    rs.Imposta(Campo::NomeAttivita, Testo1(0));
    rs.Imposta(Campo::NomeProprietario, Testo1(1));
    rs.Imposta(Campo::TelefonoGsm, Testo1(2));
    rs.Imposta(Campo::TelefonoAttivita, Testo1(3));
    rs.Imposta(Campo::IndirizzoAttivita, Testo1(4));
    rs.Imposta(Campo::InformazioniAttivita, Testo1(5));
    rs.Imposta(Campo::ModAccGsm, impostazioni_.accensioneDtr);
    rs.Imposta(Campo::ModStampa, impostazioni_.stampaAutomatica);
    rs.Imposta(Campo::Mod80Colonne, impostazioni_.stampa80Colonne);
    rs.Imposta(Campo::CreditoSim, stato_.gestore.credito);
    rs.Imposta(Campo::ModCom80Colonne, Text1[6]->text().trimmed());
    rs.Update();
    // The port takes effect at once, as the switches do.
    cambia([&](ImpostazioniAttivita& i) { i.portaStampa80 = *porta; });
    pannello_.operatore.testo = QStringLiteral("Operatore ") + stato_.gestore.nome;
}
