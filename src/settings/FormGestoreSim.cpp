#include "FormGestoreSim.h"

#include "DividiData.h"
#include "GestoriSim.h"
#include "archive/StatoGlobale.h"
#include "modem/PannelloGsm.h"
#include "platform/Accessibile.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"
#include "platform/RigaPulsanti.h"
#include "platform/TreCaselle.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
const QString kAggiungi = QStringLiteral("Aggiungi");
const QString kModifica = QStringLiteral("Modifica");
const QString kCreditoResiduo = QStringLiteral("Credito Residuo Euro: ");
} // namespace

FormGestoreSim::FormGestoreSim(StatoGlobale& stato, PannelloGsm& pannello, QWidget* parent)
    : QDialog(parent)
    , stato_(stato)
    , pannello_(pannello)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormGestoreSim"));
    setWindowTitle(QStringLiteral("Dati Gestore Sim Per Credito"));
    costruisciControlli();
    guardia_.Esegui([this] { carica(); });
}

void FormGestoreSim::costruisciControlli() {
    auto* colonna = new QVBoxLayout(this);
    auto* griglia = new QGridLayout;
    const auto etichetta = [&](const QString& testo, QWidget* compagno, int riga) {
        auto* l = new QLabel(testo, this);
        Accessibile::Didascalia(l, compagno);
        griglia->addWidget(l, riga, 0);
        griglia->addWidget(compagno, riga, 1);
    };
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    etichetta(QStringLiteral("Gestore Sim "), Combo1, 0);
    const QString nomi[] = {QStringLiteral("Nome Gestore Sim"),
                            QStringLiteral("Numero per Gestione Credito"),
                            QStringLiteral("Testo SMS per Gestione Credito")};
    for (int i = 0; i < 3; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        etichetta(nomi[i], Text1[i], i + 1);
    }
    // The number goes to the modem between quotes or as a dial: nothing that would end it early.
    Text1[1]->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\";]*")), Text1[1]));
    colonna->addLayout(griglia);

    auto* data = new QGroupBox(QStringLiteral("Data dell'ultima ricarica"), this);
    auto* rigaData = new QHBoxLayout(data);
    const QString parti[] = {QStringLiteral("Giorno"), QStringLiteral("Mese"),
                             QStringLiteral("Anno")};
    for (int i = 0; i < 3; ++i) {
        Text2[i] = new QLineEdit(data);
        Text2[i]->setObjectName(QStringLiteral("Text2_%1").arg(i));
        Text2[i]->setMaxLength(i == 2 ? 4 : 2);
        Text2[i]->setAccessibleName(parti[i]);
        rigaData->addWidget(Text2[i]);
    }
    colonna->addWidget(data);

    auto* modalita = new QGroupBox(QStringLiteral("Modalità di Gestione Credito"), this);
    auto* rigaModalita = new QHBoxLayout(modalita);
    const QString opzioni[] = {QStringLiteral("No Credito"), QStringLiteral("SMS"),
                               QStringLiteral("Chiamata Ind."), QStringLiteral("Chiamata")};
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(opzioni[i], modalita);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        rigaModalita->addWidget(Option1[i]);
    }
    colonna->addWidget(modalita);

    auto* risposta = new QGroupBox(QStringLiteral("Risposta Credito"), this);
    auto* rigaRisposta = new QHBoxLayout(risposta);
    Option2 = new QCheckBox(QStringLiteral("SMS Credito"), risposta);
    Option2->setObjectName(QStringLiteral("Option2"));
    rigaRisposta->addWidget(Option2);
    colonna->addWidget(risposta);

    Check1 = new QCheckBox(QStringLiteral("Seleziona"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    colonna->addWidget(Check1);
    LbLCreditoSim = new QLabel(QStringLiteral("Credito Residuo Euro:"), this);
    LbLCreditoSim->setObjectName(QStringLiteral("LbLCreditoSim"));
    colonna->addWidget(LbLCreditoSim);

    colonna->addLayout(RigaPulsanti(
        this, Command1, {kAggiungi, QStringLiteral("Esci")}, QStringLiteral("Command1"),
        [this](int i) { guardia_.Esegui([&] { Command1_Click(i); }); }));
    colonna->addLayout(RigaPulsanti(
        this, Command2,
        {QStringLiteral("Segreteria Telefonica OFF"), QStringLiteral("Trasferimento Chiamata OFF")},
        QStringLiteral("Command2"),
        [this](int i) { guardia_.Esegui([&] { Command2_Click(i); }); }));
    connect(Combo1, &QComboBox::activated, this, guardia_.Proteggi([this] { Combo1_Click(); }));
    Accessibile::NominaDaTesto(this);
}

void FormGestoreSim::carica() {
    const QVector<GestoriSim::Gestore> elenco = GestoriSim::Elenco(stato_.archivio);
    int inUso = 0;
    for (const GestoriSim::Gestore& g : elenco) {
        // As at start-up, the last one marked wins.
        if (g.operativo)
            inUso = int(id_.size());
        id_.append(g.id);
        Combo1->addItem(g.nome);
    }
    // With no operator yet, the window opens on "Aggiungi".
    Combo1->addItem(kAggiungi);
    Combo1->setCurrentIndex(inUso);
    Combo1_Click();
}

bool FormGestoreSim::inAggiunta() const {
    return Combo1->currentIndex() < 0 || Combo1->currentIndex() >= id_.size();
}

void FormGestoreSim::svuota() {
    for (QLineEdit* t : Text1)
        t->clear();
    for (QLineEdit* t : Text2)
        t->clear();
    Option1[0]->setChecked(true);
}

void FormGestoreSim::Combo1_Click() {
    svuota();
    if (inAggiunta()) {
        // A new operator starts from nothing: not in use, no answer by SMS, no credit yet.
        idMostrato_ = 0;
        Accessibile::Testo(Command1[0], kAggiungi);
        Option2->setChecked(false);
        Check1->setChecked(false);
        Accessibile::Testo(LbLCreditoSim, kCreditoResiduo);
        for (QPushButton* b : Command2)
            b->setEnabled(false);
        return;
    }
    idMostrato_ = id_[Combo1->currentIndex()];
    for (const GestoriSim::Gestore& g : GestoriSim::Elenco(stato_.archivio)) {
        if (g.id != idMostrato_)
            continue;
        Check1->setChecked(g.operativo);
        for (QPushButton* b : Command2)
            b->setEnabled(g.operativo);
        Text1[0]->setText(g.nome);
        Text1[1]->setText(g.telCredito);
        Text1[2]->setText(g.testoSms);
        TreCaselle::Scrivi(Text2, DividiData::Dividi(g.dataScadenza));
        Accessibile::Testo(LbLCreditoSim, kCreditoResiduo + g.credito);
        if (g.modalita >= 0 && g.modalita <= 3)
            Option1[g.modalita]->setChecked(true);
        Option2->setChecked(g.risposta == 1);
    }
    Accessibile::Testo(Command1[0], kModifica);
}

void FormGestoreSim::Command1_Click(int index) {
    TreCaselle::Scrivi(Text2, DividiData::Normalizza(TreCaselle::Leggi(Text2), stato_.Oggi()));
    if (index == 1) {
        accept();
        return;
    }
    salva();
}

void FormGestoreSim::salva() {
    // What the window shows decides, not the button's caption, which is only drawing.
    const bool aggiunta = idMostrato_ == 0;
    if (Text1[0]->text().isEmpty() || Text1[1]->text().isEmpty()) {
        MsgBox(QStringLiteral(" Attenzione inserire il Nome del Gestore con il relativo Numero"),
               Stile::SoloOk, QString(), this);
        return;
    }
    GestoriSim::Gestore g;
    g.id = idMostrato_;
    g.nome = Text1[0]->text();
    g.telCredito = Text1[1]->text();
    g.testoSms = Text1[2]->text();
    for (int m = 0; m < 4; ++m)
        if (Option1[m]->isChecked())
            g.modalita = m;
    g.risposta = Option2->isChecked() ? 1 : 0;
    g.dataScadenza = DividiData::Unisci(TreCaselle::Leggi(Text2));
    g.operativo = Check1->isChecked();
    try {
        if (aggiunta)
            g.id = GestoriSim::Aggiungi(stato_.archivio, g);
        else
            GestoriSim::Modifica(stato_.archivio, g);
    } catch (const ErroreRuntime& e) {
        errore(e.Number(), e.Description());
        return;
    }
    aggiornaProgramma();
    for (QPushButton* b : Command2)
        b->setEnabled(g.operativo);
    Accessibile::Testo(Command1[0], kModifica);
    if (aggiunta) {
        // The new operator is listed at once, and a change that follows is made to it.
        const int posizione = int(id_.size());
        id_.append(g.id);
        Combo1->insertItem(posizione, g.nome);
        Combo1->setCurrentIndex(posizione);
        idMostrato_ = g.id;
        MsgBox(QStringLiteral(" Attenzione Selezionare la modalità di gestione Credito << SMS >> "
                              "o << Chiamata >>"),
               Stile::SoloOk, QString(), this);
    } else {
        Combo1->setItemText(Combo1->currentIndex(), g.nome);
    }
}

void FormGestoreSim::aggiornaProgramma() {
    StatoGlobale& s = stato_;
    const QString prima = s.gestore.nome;
    const bool inUso = s.gestore.Leggi(s.archivio);
    if (!Check1->isChecked() && s.gestore.nome == prima)
        return;
    // The main window shows the operator in use as a new start would.
    pannello_.operatore.testo = QStringLiteral("Operatore ") + s.gestore.nome;
    if (inUso)
        pannello_.MostraCredito(s.gestore.credito, true);
    else
        pannello_.credito.testo = QStringLiteral("Credito NON Gestito");
}

void FormGestoreSim::errore(int numero, const QString& descrizione) {
    MsgBox(descrizione + QLatin1Char('/') + QString::number(numero), Stile::Esclamazione, QString(),
           this);
    if (numero == ErroreRuntime::ChiaveDuplicata)
        MsgBox(QStringLiteral("Operazione annullata. Il numero di telefono che si è digitato è già "
                              "presente un numero di telefono già presente ne DB"),
               Stile::Critico, QStringLiteral("Errore"), this);
}

void FormGestoreSim::Command2_Click(int index) {
    const QString testo =
        index == 0 ? QStringLiteral(" Attenzione !!! Continuando si Disabilita la Segreteria "
                                    "Telefonica. Continuare ? ")
                   : QStringLiteral(" Attenzione !!! Continuando si Disabilita il Trasferimento "
                                    "di Chiamata. Continuare ? ");
    if (MsgBox(testo, Stile::SiNo + Stile::Informazione + Stile::SecondoPredefinito, QString(),
               this) != Risposta::Si) {
        pannello_.servizioRichiesto = 0;
        return;
    }
    pannello_.servizioRichiesto = index + 1;
    accept();
}
