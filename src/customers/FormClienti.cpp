#include "FormClienti.h"

#include "ControlloNascita.h"
#include "ElencoClienti.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "platform/Accessibile.h"
#include "platform/DelegatoInerte.h"
#include "platform/DisposizioneElenco.h"
#include "platform/ErroreRuntime.h"
#include "platform/FiltroCifre.h"
#include "platform/InvioComeClic.h"
#include "platform/MsgBox.h"
#include "platform/Testo.h"
#include "printing/ModulofnStampa.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QString kAggiungi = QStringLiteral("Aggiungi");
const QString kConferma = QStringLiteral("Conferma");
const QString kEsci = QStringLiteral("Esci");
const QString kAnnulla = QStringLiteral("Annulla");
const QString kStampaTutti = QStringLiteral("Stampa tutti i Clienti");
const QString kStampaSelezionato = QStringLiteral("Stampa Cliente Selezionato");
const QString kNuovoCliente = RubricaClienti::NuovoCliente();
const QString kErrore = QStringLiteral("Errore");
// The editor's one-line boxes, in the order the user meets them.
constexpr int kCaselle[] = {0, 1, 21, 22, 23, 3};
} // namespace

FormClienti::FormClienti(StatoGlobale& stato, ModulofnStampa& stampa, std::optional<DaSms> daSms,
                         QWidget* parent)
    : QDialog(parent)
    , stato_(stato)
    , stampa_(stampa)
    , daSms_(std::move(daSms))
    , guardia_(this) {
    setObjectName(QStringLiteral("FormClienti"));
    setWindowTitle(QStringLiteral("Gestione Clienti"));
    costruisciControlli();
    if (const QScreen* schermo = QApplication::primaryScreen())
        resize(schermo->availableGeometry().width() * 8 / 10,
               schermo->availableGeometry().height() * 7 / 10);

    // Loading: the list of enabled customers in browsing mode, or straight into add mode for a
    // sender from the desk.
    guardia_.Esegui([this] {
        Command1[9]->setEnabled(false);
        tipoLista = 1;
        stato_.archivio.ApriTabella(Tabella::Clienti);
        CreateCol();
        listRefresh(tipoLista);
        titoloLista(QStringLiteral("Lista dei Clienti Attivi"));
        if (daSms_) {
            Command1_Click(0);
            Command1[9]->setEnabled(true);
        }
    });
}

void FormClienti::costruisciControlli() {
    LblListaSMS = new QLabel(QStringLiteral("Lista dei Clienti Memorizzati"), this);
    LblListaSMS->setObjectName(QStringLiteral("LblListaSMS"));
    LblListaSMS->setAlignment(Qt::AlignCenter);
    QFont titolo = LblListaSMS->font();
    titolo.setBold(true);
    titolo.setPointSize(titolo.pointSize() + 2);
    LblListaSMS->setFont(titolo);

    lstADD = new QTreeWidget(this);
    lstADD->setObjectName(QStringLiteral("lstADD"));
    lstADD->setItemDelegate(new DelegatoInerte(lstADD));
    lstADD->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("Numero"), QStringLiteral("Nome"),
                             QStringLiteral("Data Nascita"), QStringLiteral("Indirizzo"),
                             QStringLiteral("Informazioni")});
    lstADD->setRootIsDecorated(false);
    lstADD->setUniformRowHeights(true);
    lstADD->setAllColumnsShowFocus(true);
    lstADD->setToolTip(QStringLiteral("Clicca sull'intestazione per Gestire il Cliente"));
    lstADD->setColumnWidth(0, 50);
    lstADD->setColumnWidth(1, 120);
    lstADD->setColumnWidth(2, 180);
    lstADD->setColumnWidth(3, 90);
    lstADD->setColumnWidth(4, 200);
    connect(lstADD, &QTreeWidget::itemClicked, this,
            guardia_.Proteggi([this](QTreeWidgetItem* riga) { lstADD_ItemClick(riga); }));
    InvioComeClic::Applica(lstADD,
                           guardia_.Proteggi([this] { lstADD_ItemClick(lstADD->currentItem()); }));
    LblListaSMS->setBuddy(lstADD);
    titoloLista(LblListaSMS->text());

    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* pulsanti = new QVBoxLayout(Frame1);
    const std::pair<int, QString> didascalie[] = {
        {0, kAggiungi},
        {1, QStringLiteral("Disabilita Cliente")},
        {2, QStringLiteral("Modifica")},
        {3, QStringLiteral("Stampa Lista")},
        {4, QStringLiteral("Stampa Lista Ridotta")},
        {5, QStringLiteral("Visualizza Clienti Non Abilitati")},
        {9, kEsci}};
    for (const auto& [indice, testo] : didascalie) {
        auto* b = new QPushButton(testo, Frame1);
        b->setObjectName(QStringLiteral("Command1_%1").arg(indice));
        b->setAccessibleName(testo);
        pulsanti->addWidget(b);
        const int i = indice;
        connect(b, &QPushButton::clicked, this,
                guardia_.Proteggi([this, i] { Command1_Click(i); }));
        Command1[size_t(indice)] = b;
    }
    pulsanti->addStretch();
    Frame1->setFixedWidth(Frame1->sizeHint().width() + 20);

    FrAggiungiModifica = new QGroupBox(QStringLiteral("Aggiungi Cliente"), this);
    FrAggiungiModifica->setObjectName(QStringLiteral("FrAggiungiModifica"));
    auto* griglia = new QGridLayout(FrAggiungiModifica);
    auto casella = [this](int indice, int lunghezza = 0) {
        auto* t = new QLineEdit(FrAggiungiModifica);
        t->setObjectName(QStringLiteral("Text1_%1").arg(indice));
        if (lunghezza > 0)
            t->setMaxLength(lunghezza);
        Text1[size_t(indice)] = t;
        return t;
    };
    auto etichetta = [this, griglia](const QString& testo, QWidget* casella, int riga) {
        auto* l = new QLabel(testo, FrAggiungiModifica);
        Accessibile::Didascalia(l, casella);
        griglia->addWidget(l, riga, 0);
        return l;
    };
    etichetta(QStringLiteral("Numero:"), casella(0), 0);
    griglia->addWidget(Text1[0], 0, 1, 1, 3);
    etichetta(QStringLiteral("Nome:"), casella(1), 1);
    griglia->addWidget(Text1[1], 1, 1, 1, 3);
    etichetta(QStringLiteral("Nato il:"), casella(21, 2), 2);
    casella(22, 2);
    casella(23, 4);
    Text1[21]->setAccessibleName(QStringLiteral("Nato il, giorno"));
    Text1[22]->setAccessibleName(QStringLiteral("Nato il, mese"));
    Text1[23]->setAccessibleName(QStringLiteral("Nato il, anno"));
    const int cifra = Text1[21]->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    Text1[21]->setFixedWidth(cifra * 4 + 12);
    Text1[22]->setFixedWidth(cifra * 4 + 12);
    Text1[23]->setFixedWidth(cifra * 6 + 12);
    griglia->addWidget(Text1[21], 2, 1);
    griglia->addWidget(Text1[22], 2, 2);
    griglia->addWidget(Text1[23], 2, 3, Qt::AlignLeft);
    griglia->setColumnStretch(3, 1);
    etichetta(QStringLiteral("Indirizzo:"), casella(3), 3);
    griglia->addWidget(Text1[3], 3, 1, 1, 3);
    Text1_4 = new QPlainTextEdit(FrAggiungiModifica);
    Text1_4->setObjectName(QStringLiteral("Text1_4"));
    Text1_4->setTabChangesFocus(true);
    Text1_4->setMaximumHeight(70);
    etichetta(QStringLiteral("Note:"), Text1_4, 4);
    griglia->addWidget(Text1_4, 4, 1, 1, 3);
    LblIdCliente = new QLabel(QStringLiteral("Id Cliente :"), FrAggiungiModifica);
    LblIdCliente->setObjectName(QStringLiteral("LblIdCliente"));
    LblIdCliente->setAccessibleName(LblIdCliente->text());
    griglia->addWidget(LblIdCliente, 5, 0, 1, 2);
    // The selected customer's id travels in a box of its own that the user does not see.
    casella(5)->setReadOnly(true);
    Text1[5]->setAccessibleName(QStringLiteral("Id Cliente"));
    Text1[5]->hide();
    FrAggiungiModifica->hide();

    for (int indice : {0, 21, 22, 23})
        FiltroCifre::Applica(Text1[size_t(indice)]);

    // Tab goes from the list through the editor, when open, to the buttons.
    QWidget* ordine[] = {lstADD,      Text1[0],    Text1[1],    Text1[21],   Text1[22],
                         Text1[23],   Text1[3],    Text1_4,     Command1[0], Command1[1],
                         Command1[2], Command1[3], Command1[4], Command1[5], Command1[9]};
    for (size_t i = 1; i < std::size(ordine); ++i)
        setTabOrder(ordine[i - 1], ordine[i]);
}

QString FormClienti::Testo1(int indice) const {
    if (indice == 4)
        return Text1_4->toPlainText();
    return Text1[size_t(indice)]->text();
}

void FormClienti::ImpostaTesto1(int indice, const QString& testo) {
    if (indice == 4)
        Text1_4->setPlainText(testo);
    else
        Text1[size_t(indice)]->setText(testo);
}

void FormClienti::titoloLista(const QString& testo) {
    // The list is named by the title above it.
    Accessibile::Testo(LblListaSMS, testo);
    lstADD->setAccessibleName(testo);
}

void FormClienti::setCommandEnable(bool e0, bool e1, bool e2, bool e3, bool e4, bool e5, bool e9) {
    const bool stati[] = {e0, e1, e2, e3, e4, e5};
    for (int i = 0; i < 6; ++i)
        Command1[size_t(i)]->setEnabled(stati[i]);
    Command1[9]->setEnabled(e9);
}

void FormClienti::CreateCol() {
    FrAggiungiModifica->hide();
    setCommandEnable(true, false, false, true, true, true, true);
    Accessibile::Testo(Command1[3], kStampaTutti);
    inInserimento = false;
    disponi();
}

void FormClienti::cmdClickAnnulla() {
    FrAggiungiModifica->hide();
    inInserimento = false;
    for (int indice : kCaselle)
        Text1[size_t(indice)]->clear();
    Text1_4->clear();
    setCommandEnable(true, false, false, true, true, true, true);
    Accessibile::Testo(Command1[0], kAggiungi);
    Accessibile::Testo(Command1[3], kStampaTutti);
    Accessibile::Testo(Command1[9], kEsci);
    disponi();
}

void FormClienti::listRefresh(int vista) {
    lstADD->clear();
    QList<QTreeWidgetItem*> righe;
    for (const ClienteRegistro& c :
         ElencoClienti::Leggi(stato_.archivio, ElencoClienti::Vista(vista)))
        righe.append(new QTreeWidgetItem(
            QStringList{c.id, c.numero, c.nome, c.nascita, c.indirizzo, c.informazioni}));
    lstADD->addTopLevelItems(righe);
}

void FormClienti::scriviCampi(Recordset& rs) {
    rs.Imposta(Campo::T1Numero, Testo1(0));
    rs.Imposta(Campo::T1Nome, Testo1(1));
    rs.Imposta(Campo::T1Nascita, dataNascita);
    rs.Imposta(Campo::T1Indirizzo, Testo1(3));
    rs.Imposta(Campo::T1Informazioni, Testo1(4));
    // Adding and changing both leave the customer enabled.
    rs.Imposta(Campo::T1Eliminato, false);
    rs.Update();
}

bool FormClienti::controlloNascita() {
    const auto esito =
        ControlloNascita::Controlla(Text1[21]->text(), Text1[22]->text(), Text1[23]->text(),
                                    stato_.Oggi().toString(QStringLiteral("yyyy")));
    dataNascita = esito.data;
    return esito.valida;
}

void FormClienti::lstADD_ItemClick(QTreeWidgetItem* riga) {
    if (!riga)
        return;
    FrAggiungiModifica->setTitle(QStringLiteral("Modifica Cliente"));
    FrAggiungiModifica->show();
    setCommandEnable(false, true, true, true, false, false, true);
    Accessibile::Testo(Command1[3], kStampaSelezionato);
    Accessibile::Testo(Command1[9], kAnnulla);
    const QString nascita = riga->text(3);
    ImpostaTesto1(0, riga->text(1));
    ImpostaTesto1(1, riga->text(2));
    ImpostaTesto1(21, Testo::Mid(nascita, 1, 2));
    ImpostaTesto1(22, Testo::Mid(nascita, 4, 2));
    ImpostaTesto1(23, Testo::Mid(nascita, 7, 4));
    ImpostaTesto1(3, riga->text(4));
    ImpostaTesto1(4, riga->text(5));
    ImpostaTesto1(5, riga->text(0));
    Accessibile::Testo(LblIdCliente, QStringLiteral("Id Cliente: ") + riga->text(0));
    disponi();
}

void FormClienti::Command1_Click(int index) {
    switch (index) {
    case 0:
        if (inInserimento) {
            aggiungi();
            return;
        }
        FrAggiungiModifica->setTitle(QStringLiteral("Aggiungi Cliente"));
        FrAggiungiModifica->show();
        setCommandEnable(true, false, false, false, false, false, true);
        Accessibile::Testo(Command1[0], kConferma);
        Accessibile::Testo(Command1[9], kAnnulla);
        Accessibile::Testo(LblIdCliente, QStringLiteral("Id Cliente: "));
        for (int indice : kCaselle)
            Text1[size_t(indice)]->clear();
        Text1_4->clear();
        if (daSms_) {
            ImpostaTesto1(0, daSms_->numero);
            ImpostaTesto1(1, daSms_->nome);
            Command1[9]->setEnabled(false);
        }
        inInserimento = true;
        disponi();
        Text1[1]->setFocus();
        return;
    case 1:
        disabilita();
        return;
    case 2:
        modifica();
        return;
    case 3:
        if (Command1[3]->text() == kStampaTutti) {
            stampa_.StampaListaClienti(tipoLista);
        } else if (Command1[3]->text() == kStampaSelezionato) {
            if (const QTreeWidgetItem* r = lstADD->currentItem())
                stampa_.StampaSingoloCliente(r->text(0), r->text(1), r->text(2), r->text(3),
                                             r->text(4), r->text(5));
        }
        return;
    case 4:
        if (!inInserimento)
            stampa_.StampaListaClientiRidotta(tipoLista);
        return;
    case 5:
        tipoLista = tipoLista < 2 ? tipoLista + 1 : 1;
        if (tipoLista == 1) {
            Accessibile::Testo(Command1[5], QStringLiteral("Visualizza Clienti non Abilitati"));
            Accessibile::Testo(Command1[1], QStringLiteral("Disattiva Cliente"));
            titoloLista(QStringLiteral("Lista dei Clienti Abilitati"));
        } else {
            Accessibile::Testo(Command1[5], QStringLiteral("Visualizza Clienti Abilitati"));
            Accessibile::Testo(Command1[1], QStringLiteral("Attiva Cliente"));
            titoloLista(QStringLiteral("Lista dei Clienti Non Abilitati"));
        }
        listRefresh(tipoLista);
        return;
    case 9:
        if (Command1[9]->text() == kAnnulla)
            cmdClickAnnulla();
        else if (Command1[9]->text() == kEsci)
            esci();
        return;
    default:
        return;
    }
}

void FormClienti::aggiungi() {
    if (Testo1(1).isEmpty() || Testo1(0).isEmpty()) {
        MsgBox(QStringLiteral("I dati non sono corretti o mancanti. Inserire i dati e riprovare."),
               Stile::Critico, kErrore, this);
        return;
    }
    if (!stato_.archivio.Caricato()) {
        MsgBox(QStringLiteral("Il database risulta non caricato. Provare a caricare il db."),
               Stile::Critico, kErrore, this);
        return;
    }
    try {
        const bool numerico = Testo::IsNumeric(Testo1(0));
        const bool dataValida = controlloNascita();
        const QString dataNonValida =
            QStringLiteral("E' stata inserita una DATA DI NASCITA non valida.");
        const QString titoloData = QStringLiteral("Errore Campo Nato il");
        if (!numerico) {
            MsgBox(QStringLiteral("Nel campo NUMERO Si accettano solo valori di tipo numerico"),
                   Stile::SoloOk, QStringLiteral("Errore Campo Numero"), this);
            if (!dataValida)
                MsgBox(dataNonValida, Stile::SoloOk, titoloData, this);
            return;
        }
        if (!dataValida) {
            MsgBox(dataNonValida, Stile::SoloOk, titoloData, this);
            return;
        }
        if (Testo1(1) == kNuovoCliente) {
            MsgBox(QStringLiteral("Attenzione !!! Digitare il Nome del nuovo Cliente"),
                   Stile::SoloOk, QString(), this);
            return;
        }
        Recordset& rs = stato_.archivio.ApriTabella(Tabella::Clienti);
        rs.FindFirst(Criterio::Uguale(Campo::T1Numero, Testo1(0)));
        if (!rs.NoMatch()) {
            MsgBox(QStringLiteral("Elemento già presente"), Stile::SoloOk, QString(), this);
            return;
        }
        rs.AddNew();
        scriviCampi(rs);

        listRefresh(tipoLista);
        inInserimento = false;
        if (daSms_) {
            setCommandEnable(false, false, false, false, false, false, true);
        } else {
            setCommandEnable(true, false, false, true, true, true, true);
        }
        Accessibile::Testo(Command1[0], kAggiungi);
        Accessibile::Testo(Command1[9], kEsci);
        FrAggiungiModifica->hide();
        disponi();
    } catch (const ErroreRuntime& e) {
        gestisciErrore(e.Number(), e.Description());
    }
}

bool FormClienti::trovaSelezionato() {
    return trovaCliente(qint64(Testo::Val(Testo1(5))));
}

bool FormClienti::trovaCliente(qint64 id) {
    // Clienti is opened again: the main timer may have left another table current meanwhile.
    Recordset& rs = stato_.archivio.ApriTabella(Tabella::Clienti);
    rs.MoveFirst();
    if (rs.RecordCount() < 1)
        return false;
    rs.FindFirst(Criterio::Uguale(Campo::T1IdCliente, id));
    if (rs.NoMatch()) {
        MsgBox(QStringLiteral("Voce (") + Testo1(0) +
                   QStringLiteral(") non trovata nel database. Riprovare."),
               Stile::Critico, kErrore, this);
        return false;
    }
    return true;
}

void FormClienti::rimuoviSelezionata() {
    delete lstADD->currentItem();
}

void FormClienti::disabilita() {
    try {
        if (!trovaSelezionato())
            return;
        // The customer's id, not the recordset's position, is what the answer applies to: the
        // main timer may store an order, and walk Clienti, while the question is open.
        const qint64 id = stato_.archivio.rs().Intero(Campo::T1IdCliente);
        // The stored state decides, not the button's caption.
        const bool eliminato = stato_.archivio.rs().Booleano(Campo::T1Eliminato);
        const QString domanda = eliminato ? QStringLiteral("Riabilitare il Cliente selezionato?")
                                          : QStringLiteral("Disabilitare il Cliente selezionato?");
        if (MsgBox(domanda, Stile::SiNo + Stile::Domanda, QString(), this) == Risposta::Si) {
            if (!trovaCliente(id))
                return;
            Recordset& rs = stato_.archivio.rs();
            rs.Edit();
            rs.Imposta(Campo::T1Eliminato, !eliminato);
            rs.Update();
        }
        rimuoviSelezionata();
        cmdClickAnnulla();
        listRefresh(tipoLista);
        cmdClickAnnulla();
    } catch (const ErroreRuntime& e) {
        gestisciErrore(e.Number(), e.Description());
    }
}

void FormClienti::modifica() {
    try {
        if (!trovaSelezionato())
            return;
        if (!controlloNascita()) {
            MsgBox(QStringLiteral("E' stata inserita una DATA DI NASCITA non valida."),
                   Stile::SoloOk, QStringLiteral("Errore Campo Nato il"), this);
            return;
        }
        Recordset& rs = stato_.archivio.rs();
        rs.Edit();
        scriviCampi(rs); // a disabled customer changed is enabled again
        rimuoviSelezionata();
        cmdClickAnnulla();
        listRefresh(tipoLista);
    } catch (const ErroreRuntime& e) {
        gestisciErrore(e.Number(), e.Description());
    }
}

void FormClienti::gestisciErrore(int numero, const QString& descrizione) {
    MsgBox(descrizione + QStringLiteral("/") + QString::number(numero), Stile::Esclamazione,
           QString(), this);
    cmdClickAnnulla();
    if (numero == ErroreRuntime::ChiaveDuplicata)
        MsgBox(QStringLiteral("Operazione annullata. Il numero di telefono che si è digitato è già "
                              "presente un numero di telefono già presente ne DB"),
               Stile::Critico, kErrore, this);
}

void FormClienti::esci() {
    FrAggiungiModifica->hide();
    stato_.archivio.ApriTabella(Tabella::SMS);
    done(QDialog::Accepted);
}

void FormClienti::reject() {
    // Esc and the close box leave the window as "Esci" does, dropping what the editor holds.
    guardia_.Esegui([this] { esci(); });
}

void FormClienti::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    disponi();
}

void FormClienti::disponi() {
    const auto d =
        DisposizioneElenco::Calcola(size(), Frame1->width(), LblListaSMS->sizeHint().height());
    LblListaSMS->setGeometry(d.titolo);
    Frame1->setGeometry(d.riquadro);
    QRect lista = d.lista;
    // The editor, when open, takes the bottom of the list's place.
    if (FrAggiungiModifica->isVisibleTo(this)) {
        const int altezza = FrAggiungiModifica->sizeHint().height();
        FrAggiungiModifica->setGeometry(lista.left(), lista.bottom() + 1 - altezza, lista.width(),
                                        altezza);
        lista.setBottom(
            std::max(lista.top() + 40, lista.bottom() - altezza - DisposizioneElenco::Bordo));
    }
    lstADD->setGeometry(lista);
}
