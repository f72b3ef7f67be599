#include "FormInvioSms.h"

#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "modem/InsiemeCaratteri.h"
#include "modem/MotoreGsm.h"
#include "platform/Accessibile.h"
#include "platform/DelegatoInerte.h"
#include "platform/DisposizioneElenco.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QColor kNero(0, 0, 0);
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);
const QColor kArancio(200, 100, 0);

const QString kInvia = QStringLiteral("Invia");
const QString kAnnulla = QStringLiteral("Annulla");

enum Colonna { ColId = 0, ColStato = 1, ColNumero = 2, ColUltima = 6 };

constexpr int kLarghezzaRiquadro = 300;
} // namespace

FormInvioSms::FormInvioSms(StatoGlobale& globale, MotoreGsm& motore, CampagnaSms& campagna,
                           QWidget* parent)
    : QDialog(parent)
    , Timer1(campagna.Timer1)
    , globale_(globale)
    , motore_(motore)
    , campagna_(campagna)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormInvioSms"));
    setWindowTitle(QStringLiteral("Invia"));
    costruisciControlli();

    campagna_.FinestraAperta(true);
    campagna_.Messaggio = [this](const QString& testo, int stile, const QString& titolo) {
        return MsgBox(testo, stile, titolo, this);
    };
    connect(&campagna_, &CampagnaSms::RigaCambiata, this, &FormInvioSms::disegnaRiga);
    connect(&campagna_, &CampagnaSms::StatoCambiato, this, [this] {
        const bool attiva = campagna_.Attiva();
        Accessibile::Testo(BtnInviaSms, attiva ? kAnnulla : kInvia);
        // What every customer gets, and who gets it, stay as they were at "Invia".
        BtnFiltra->setEnabled(!attiva);
        TxtTestoSms->setReadOnly(attiva);
        for (QLineEdit* filtro : {Text1[0], Text1[2], Text1[4]})
            filtro->setReadOnly(attiva);
        LblInvioInCorso->setVisible(attiva);
        aggiornaPulsante();
    });
    connect(&motore_, &MotoreGsm::ComandoInviato, this, &FormInvioSms::aggiornaPulsante);
    connect(&motore_, &MotoreGsm::RispostaInterpretata, this, &FormInvioSms::aggiornaPulsante);
    connect(&motore_, &MotoreGsm::InvioTerminato, this, &FormInvioSms::aggiornaPulsante);

    // Load.
    guardia_.Esegui([this] { listRefresh(ElencoClienti::Attivi); });
    Accessibile::Testo(LblListaClienti, QStringLiteral("Lista dei Clienti Attivi"));
    lstADD->setAccessibleName(LblListaClienti->text());
    Accessibile::Testo(BtnInviaSms, kInvia);
    aggiornaPulsante();

    if (const QScreen* schermo = QApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        resize(area.width() * 8 / 10, area.height() * 8 / 10);
    }
}

FormInvioSms::~FormInvioSms() {
    // The campaign records a late outcome by itself; a prompt still to come gets no text.
    campagna_.FinestraAperta(false);
}

void FormInvioSms::costruisciControlli() {
    LblListaClienti =
        new QLabel(QStringLiteral("Lista dei Clienti Memorizzati per invio SMS"), this);
    LblListaClienti->setObjectName(QStringLiteral("LblListaClienti"));
    LblListaClienti->setAlignment(Qt::AlignCenter);
    QFont titolo = LblListaClienti->font();
    titolo.setBold(true);
    titolo.setPointSize(titolo.pointSize() + 2);
    LblListaClienti->setFont(titolo);

    lstADD = new QTreeWidget(this);
    lstADD->setObjectName(QStringLiteral("lstADD"));
    lstADD->setItemDelegate(new DelegatoInerte(lstADD));
    lstADD->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("Stato"),
                             QStringLiteral("Numero"), QStringLiteral("Nome"),
                             QStringLiteral("Data Nascita"), QStringLiteral("Indirizzo"),
                             QStringLiteral("Informazioni")});
    lstADD->setToolTip(QStringLiteral("Lista Clienti per l'invio SMS"));
    lstADD->setRootIsDecorated(false);
    lstADD->setUniformRowHeights(true);
    lstADD->setAllColumnsShowFocus(true);
    lstADD->setColumnWidth(ColId, 70);
    lstADD->setColumnWidth(ColStato, 110);
    lstADD->setColumnWidth(ColNumero, 110);
    lstADD->header()->setStretchLastSection(true);
    LblListaClienti->setBuddy(lstADD);
    connect(lstADD, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int colonna) {
        if (aggiornando_ || colonna != ColId)
            return;
        const int riga = lstADD->indexOfTopLevelItem(item) + 1;
        guardia_.Esegui([this, riga] { lstADD_ItemCheck(riga); });
    });

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* colonna = new QVBoxLayout(Frame1);
    const auto casella = [&](int indice, const QString& etichetta, const QString& suggerimento) {
        auto* l = new QLabel(etichetta, Frame1);
        l->setObjectName(QStringLiteral("LblText1_%1").arg(indice));
        auto* t = new QLineEdit(Frame1);
        t->setObjectName(QStringLiteral("Text1_%1").arg(indice));
        t->setToolTip(suggerimento);
        t->setAccessibleName(etichetta);
        l->setBuddy(t);
        colonna->addWidget(l);
        colonna->addWidget(t);
        Text1[indice] = t;
    };
    casella(0, QStringLiteral("Tutti con lo stesso Nome"), QStringLiteral("Nome da Filtrare"));
    casella(2, QStringLiteral("Tutti nati nel Mese"),
            QStringLiteral("Mese di Nascita da Filtrare"));
    Text1[2]->setMaxLength(2);
    casella(4, QStringLiteral("Tutti con lo stesso Indirizzo"),
            QStringLiteral("Città  da Filtrare"));
    BtnFiltra = new QPushButton(QStringLiteral("Filtra"), Frame1);
    BtnFiltra->setObjectName(QStringLiteral("BtnFiltra"));
    colonna->addWidget(BtnFiltra);
    colonna->addSpacing(12);

    LblTestoSms = new QLabel(QStringLiteral("Testo del SMS da Inviare"), Frame1);
    LblTestoSms->setObjectName(QStringLiteral("LblTestoSms"));
    TxtTestoSms = new QPlainTextEdit(Frame1);
    TxtTestoSms->setObjectName(QStringLiteral("TxtTestoSms"));
    TxtTestoSms->setToolTip(LblTestoSms->text());
    TxtTestoSms->setAccessibleName(LblTestoSms->text());
    TxtTestoSms->setTabChangesFocus(true);
    LblTestoSms->setBuddy(TxtTestoSms);
    LblNumCaratteri = new QLabel(QStringLiteral("(160)"), Frame1);
    LblNumCaratteri->setObjectName(QStringLiteral("LblNumCaratteri"));
    LblNumCaratteri->setAlignment(Qt::AlignRight);
    colonna->addWidget(LblTestoSms);
    colonna->addWidget(TxtTestoSms, 1);
    colonna->addWidget(LblNumCaratteri);
    LblInvioInCorso = new QLabel(QStringLiteral("Invio in corso: il testo e i destinatari non si "
                                                "possono cambiare fino alla fine dell'invio."),
                                 Frame1);
    LblInvioInCorso->setObjectName(QStringLiteral("LblInvioInCorso"));
    LblInvioInCorso->setWordWrap(true);
    LblInvioInCorso->hide();
    colonna->addWidget(LblInvioInCorso);

    BtnInviaSms = new QPushButton(kInvia, Frame1);
    BtnInviaSms->setObjectName(QStringLiteral("BtnInviaSms"));
    BtnEsci = new QPushButton(QStringLiteral("Esci"), Frame1);
    BtnEsci->setObjectName(QStringLiteral("BtnEsci"));
    colonna->addWidget(BtnInviaSms);
    colonna->addWidget(BtnEsci);

    Accessibile::NominaDaTesto(this);

    connect(BtnFiltra, &QPushButton::clicked, this,
            guardia_.Proteggi([this] { BtnFiltra_Click(); }));
    connect(BtnInviaSms, &QPushButton::clicked, this, &FormInvioSms::BtnInviaSms_Click);
    connect(BtnEsci, &QPushButton::clicked, this, &FormInvioSms::BtnEsci_Click);
    connect(TxtTestoSms, &QPlainTextEdit::textChanged, this, &FormInvioSms::TxtTestoSms_Change);
    for (QLineEdit* filtro : {Text1[0], Text1[4]})
        connect(filtro, &QLineEdit::textChanged, this, &FormInvioSms::aggiornaTesti);
}

void FormInvioSms::aggiornaTesti() {
    campagna_.ImpostaTesti(Text1[0]->text(), Text1[4]->text(), TxtTestoSms->toPlainText());
}

void FormInvioSms::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    posiziona();
    // The saved campaign comes back when the window is first laid out; later resizes leave the
    // ticks and the text the user has since changed as they are.
    if (!ripristinata_) {
        ripristinata_ = true;
        guardia_.Esegui([this] { CaricaTempSms(); });
    }
}

void FormInvioSms::posiziona() {
    const auto d = DisposizioneElenco::Calcola(size(), kLarghezzaRiquadro,
                                               LblListaClienti->sizeHint().height());
    LblListaClienti->setGeometry(d.titolo);
    lstADD->setGeometry(d.lista);
    Frame1->setGeometry(d.riquadro);
}

QTreeWidgetItem* FormInvioSms::Riga(int riga) const {
    return lstADD->topLevelItem(riga - 1);
}

bool FormInvioSms::spuntata(int riga) const {
    return Riga(riga)->checkState(ColId) == Qt::Checked;
}

void FormInvioSms::impostaStato(QTreeWidgetItem* riga, const QString& stato, const QColor& colore,
                                const QString& suggerimento) {
    QScopedValueRollback<bool> programma(aggiornando_, true);
    riga->setText(ColStato, stato);
    riga->setForeground(ColStato, colore);
    riga->setToolTip(ColStato, suggerimento);
}

void FormInvioSms::coloraRiga(QTreeWidgetItem* riga, const QColor& colore) {
    QScopedValueRollback<bool> programma(aggiornando_, true);
    riga->setForeground(ColId, colore);
    for (int c = ColNumero; c <= ColUltima; ++c)
        riga->setForeground(c, colore);
}

void FormInvioSms::listRefresh(int vista) {
    QScopedValueRollback<bool> programma(aggiornando_, true);
    lstADD->clear();
    const QVector<ClienteRegistro> clienti =
        ElencoClienti::Leggi(globale_.archivio, ElencoClienti::Vista(vista));
    campagna_.Carica(clienti);
    QList<QTreeWidgetItem*> righe;
    righe.reserve(clienti.size());
    for (const ClienteRegistro& c : clienti) {
        auto* riga = new QTreeWidgetItem(
            QStringList{c.id, QString(), c.numero, c.nome, c.nascita, c.indirizzo, c.informazioni});
        riga->setFlags(riga->flags() | Qt::ItemIsUserCheckable);
        riga->setCheckState(ColId, Qt::Unchecked);
        righe.append(riga);
    }
    lstADD->addTopLevelItems(righe);
    NumeroRighe = int(righe.size());
    // An SMS of the campaign still out shows on its customer.
    for (int r = 1; r <= NumeroRighe; ++r)
        if (campagna_.Riga(r).stato == StatoRiga::InCorso)
            disegnaRiga(r);
}

bool FormInvioSms::controlloMese() {
    return ClientiCampagna::controlloMese(Text1[2]->text(), meseFiltro);
}

void FormInvioSms::BtnFiltra_Click() {
    FiltroClienti filtro;
    filtro.conMese = controlloMese();
    filtro.mese = meseFiltro;
    filtro.nome = Text1[0]->text();
    filtro.indirizzo = Text1[4]->text();
    // A restored campaign gets back every row it still holds, highlighted or not: a row left
    // without its status would be ticked but never sent.
    const QVector<bool> corrispondenze = campagna_.Filtra(filtro, Ripristino);
    QScopedValueRollback<bool> programma(aggiornando_, true);
    for (int i = 1; i <= NumeroRighe; ++i) {
        QTreeWidgetItem* riga = Riga(i);
        const bool corrisponde = corrispondenze[i - 1];
        const RigaCampagna& r = campagna_.Riga(i);
        riga->setCheckState(ColId, Qt::Unchecked);
        QColor coloreStato = kNero;
        if (r.stato == StatoRiga::Selezionato)
            coloreStato = kRosso;
        else if (r.stato == StatoRiga::Inviato || r.stato == StatoRiga::InCorso)
            coloreStato = kBlu;
        else if (r.stato == StatoRiga::Incerto)
            coloreStato = kArancio;
        impostaStato(riga, StatoInvio::Testo(r.stato),
                     corrisponde || r.stato == StatoRiga::Incerto ? coloreStato : kNero, r.nota);
        coloraRiga(riga, corrisponde ? kRosso : kNero);
    }
}

void FormInvioSms::lstADD_ItemCheck(int riga) {
    campagna_.Spunta(riga, spuntata(riga));
    disegnaRiga(riga);
}

void FormInvioSms::disegnaRiga(int riga) {
    QTreeWidgetItem* item = Riga(riga);
    if (!item)
        return;
    const RigaCampagna& r = campagna_.Riga(riga);
    {
        QScopedValueRollback<bool> programma(aggiornando_, true);
        item->setCheckState(ColId, r.spuntata ? Qt::Checked : Qt::Unchecked);
    }
    const QString testo = StatoInvio::Testo(r.stato);
    switch (r.stato) {
    case StatoRiga::Nessuno:
    case StatoRiga::Selezionato:
        // The user's tick.
        impostaStato(item, testo, kBlu);
        return;
    case StatoRiga::InCorso:
        impostaStato(item, testo, kBlu);
        break;
    case StatoRiga::Inviato:
        impostaStato(item, testo, kRosso);
        break;
    case StatoRiga::Errore:
        impostaStato(item, testo, kNero, r.nota);
        break;
    case StatoRiga::Incerto:
        impostaStato(item, testo, kArancio, r.nota);
        break;
    }
    coloraRiga(item, kRosso);
}

void FormInvioSms::TxtTestoSms_Change() {
    // The box refuses what an SMS cannot carry: more than 160 characters, and control
    // characters other than the line end.
    const QString testo = TxtTestoSms->toPlainText();
    QString pulito = testo;
    const auto aggiorna = qScopeGuard([this] { aggiornaTesti(); });
    pulito.removeIf(
        [](QChar c) { return (c.unicode() < 32 && c != QChar(10)) || c.unicode() == 127; });
    pulito.truncate(kMassimoCaratteri);
    if (pulito != testo) {
        const QSignalBlocker blocco(TxtTestoSms);
        TxtTestoSms->setPlainText(pulito);
        TxtTestoSms->moveCursor(QTextCursor::End);
    }
    // A text that will go out as UCS2 has room for fewer characters.
    const CodificaModem& codifica = motore_.codifica;
    const bool ucs2 =
        codifica.Ucs2() && !InsiemeCaratteri::NonTrasmessi(pulito, codifica.Insieme()).isEmpty();
    const int massimo = ucs2 ? InsiemeCaratteri::MassimoUcs2 : kMassimoCaratteri;
    Accessibile::Testo(LblNumCaratteri, QStringLiteral("(%1)").arg(massimo - pulito.size()));
}

void FormInvioSms::aggiornaPulsante() {
    // "Annulla" answers at any time; "Invia" only while the modem has nothing outstanding and the
    // last outcome has been recorded.
    BtnInviaSms->setEnabled(
        campagna_.Attiva() ||
        (!motore_.stato.InAttesaRisposta && !motore_.invio.InVolo() && !campagna_.InAttesaEsito()));
}

void FormInvioSms::BtnInviaSms_Click() {
    guardia_.Esegui([this] {
        if (campagna_.Attiva()) {
            // Stops here; an SMS already out still gets its outcome recorded.
            campagna_.Ferma();
            return;
        }
        if (!motore_.stato.GsmAbilitato) {
            MsgBox(QStringLiteral("Modulo Gsm non Operativo."), Stile::Critico,
                   QStringLiteral("Errore GSM non operativo"), this);
            return;
        }
        if (TxtTestoSms->toPlainText().isEmpty()) {
            MsgBox(QStringLiteral("Non è stato digitato nessun Testo."), Stile::Critico,
                   QStringLiteral("Errore Testo SMS"), this);
            return;
        }
        if (!caratteriAccettati())
            return;
        aggiornaTesti();
        campagna_.Avvia();
    });
}

bool FormInvioSms::caratteriAccettati() {
    const QString testo = TxtTestoSms->toPlainText();
    const CodificaModem& codifica = motore_.codifica;
    const QString fuori = InsiemeCaratteri::NonTrasmessi(testo, codifica.Insieme());
    if (fuori.isEmpty() || codifica.InUcs2(testo))
        return true;
    QStringList elenco;
    for (const char32_t c : fuori.toUcs4())
        elenco << QString::fromUcs4(&c, 1);
    const QString motivo =
        codifica.Ucs2()
            ? QStringLiteral("Con questi caratteri un SMS contiene al massimo %1 caratteri: "
                             "accorciare il testo per inviarlo come è scritto.")
                  .arg(InsiemeCaratteri::MassimoUcs2)
            : QStringLiteral("Il modem non permette di inviarli.");
    return MsgBox(QStringLiteral("Questi caratteri del testo non arriveranno come sono scritti: ") +
                      elenco.join(QStringLiteral("  ")) + QLatin1Char('\n') + motivo +
                      QStringLiteral("\nInviare comunque?"),
                  Stile::SiNo + Stile::Esclamazione + Stile::SecondoPredefinito,
                  QStringLiteral("Caratteri non trasmissibili"), this) == Risposta::Si;
}

void FormInvioSms::Timer1_Timer() {
    guardia_.Esegui([this] { campagna_.Timer1_Timer(); });
}

void FormInvioSms::CaricaTempSms() {
    const std::optional<TempSms::Contenuto> letto = campagna_.Ripristina();
    if (!letto)
        return;
    const TempSms::Contenuto& c = *letto;
    if (c.conNome)
        Text1[0]->setText(c.nome);
    if (c.conMese)
        Text1[2]->setText(c.mese);
    if (c.conIndirizzo)
        Text1[4]->setText(c.indirizzo);
    if (c.conTesto)
        TxtTestoSms->setPlainText(c.testo);

    Ripristino = true;
    BtnFiltra_Click();
    Ripristino = false;
    // Rows still due and rows sent come back ticked; an uncertain one waits for the user's tick.
    QScopedValueRollback<bool> programma(aggiornando_, true);
    campagna_.SpuntaSalvati();
    for (int n = 1; n <= NumeroRighe; ++n)
        if (campagna_.Riga(n).spuntata)
            Riga(n)->setCheckState(ColId, Qt::Checked);
}

void FormInvioSms::esci() {
    if (uscito_)
        return;
    uscito_ = true;
    campagna_.FinestraAperta(false);
    try {
        globale_.archivio.ApriTabella(Tabella::SMS);
    } catch (const ErroreRuntime&) {
        // Leaving the window is not worth a message: the next use of the archive tells.
    }
}

void FormInvioSms::BtnEsci_Click() {
    esci();
    QDialog::done(QDialog::Accepted);
}

void FormInvioSms::reject() {
    esci();
    QDialog::reject();
}
