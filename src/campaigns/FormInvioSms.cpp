#include "FormInvioSms.h"

#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "modem/InsiemeCaratteri.h"
#include "modem/MotoreGsm.h"
#include "platform/Accessibile.h"
#include "platform/DisposizioneElenco.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QFrame>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QColor kNero(0, 0, 0);
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);

const QString kInvia = QStringLiteral("Invia");
const QString kAnnulla = QStringLiteral("Annulla");

enum Colonna { ColId = 0, ColStato = 1, ColNumero = 2, ColUltima = 6 };

constexpr int kLarghezzaRiquadro = 300;
} // namespace

FormInvioSms::FormInvioSms(StatoGlobale& globale, MotoreGsm& motore, QWidget* parent)
    : QDialog(parent)
    , globale_(globale)
    , motore_(motore)
    , coda_(globale.cartellaProgramma)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormInvioSms"));
    setWindowTitle(QStringLiteral("Invia"));
    costruisciControlli();
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &FormInvioSms::Timer1_Timer);

    // The engine reads the text when the modem asks for it, and gives the outcome back here.
    motore_.invio.TestoDaInviare = [this] { return TxtTestoSms->toPlainText(); };
    connect(&motore_, &MotoreGsm::ComandoInviato, this, &FormInvioSms::aggiornaPulsante);
    connect(&motore_, &MotoreGsm::RispostaInterpretata, this, &FormInvioSms::aggiornaPulsante);
    connect(&motore_, &MotoreGsm::InvioTerminato, this, [this] {
        if (inAttesaEsito_)
            Timer1.start();
        aggiornaPulsante();
    });

    // Load.
    guardia_.Esegui([this] { listRefresh(ElencoClienti::Attivi); });
    Accessibile::Testo(LblListaClienti, QStringLiteral("Lista dei Clienti Attivi"));
    lstADD->setAccessibleName(LblListaClienti->text());
    Accessibile::Testo(BtnInviaSms, kInvia);
    Timer1.stop();
    RigaCorrente = 0;
    // An outcome left over from a window closed while its SMS was out is nobody's now.
    globale_.InvioConcluso = false;
    aggiornaPulsante();

    if (const QScreen* schermo = QApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        resize(area.width() * 8 / 10, area.height() * 8 / 10);
    }
}

FormInvioSms::~FormInvioSms() {
    // A late outcome finds nobody waiting, and a prompt still to come gets no text.
    motore_.invio.TestoDaInviare = nullptr;
    motore_.invio.Rilascia();
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
    clienti_ = ElencoClienti::Leggi(globale_.archivio, ElencoClienti::Vista(vista));
    QList<QTreeWidgetItem*> righe;
    righe.reserve(clienti_.size());
    for (const ClienteRegistro& c : clienti_) {
        auto* riga = new QTreeWidgetItem(
            QStringList{c.id, QString(), c.numero, c.nome, c.nascita, c.indirizzo, c.informazioni});
        riga->setFlags(riga->flags() | Qt::ItemIsUserCheckable);
        riga->setCheckState(ColId, Qt::Unchecked);
        righe.append(riga);
    }
    lstADD->addTopLevelItems(righe);
    NumeroRighe = int(righe.size());
    CodiciRighe.fill(QLatin1Char('-'), NumeroRighe);
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
    const bool attivo = filtro.Attivo();
    QScopedValueRollback<bool> programma(aggiornando_, true);
    for (int i = 1; i <= NumeroRighe; ++i) {
        QTreeWidgetItem* riga = Riga(i);
        const bool corrisponde = attivo && filtro.Corrisponde(clienti_[i - 1]);
        riga->setCheckState(ColId, Qt::Unchecked);
        // A restored campaign gets back every row it still holds, highlighted or not: a row
        // left without its status would be ticked but never sent.
        QString stato;
        QColor coloreStato = kNero;
        if (Ripristino) {
            const QChar lettera = CodiciRighe.value(i - 1);
            if (lettera == QLatin1Char('S')) {
                stato = StatoInvio::Selezionato;
                coloreStato = kRosso;
            } else if (lettera == QLatin1Char('I')) {
                stato = StatoInvio::Inviato;
                coloreStato = kBlu;
            }
        }
        impostaStato(riga, stato, corrisponde ? coloreStato : kNero);
        coloraRiga(riga, corrisponde ? kRosso : kNero);
    }
}

void FormInvioSms::lstADD_ItemCheck(int riga) {
    QTreeWidgetItem* r = Riga(riga);
    impostaStato(r, spuntata(riga) ? StatoInvio::Selezionato : QString(), kBlu);
}

void FormInvioSms::TxtTestoSms_Change() {
    // The box refuses what an SMS cannot carry: more than 160 characters, and control
    // characters other than the line end.
    const QString testo = TxtTestoSms->toPlainText();
    QString pulito = testo;
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
    BtnInviaSms->setEnabled(campagnaAttiva_ || (!motore_.stato.InAttesaRisposta &&
                                                !motore_.invio.InVolo() && !inAttesaEsito_));
}

void FormInvioSms::BtnInviaSms_Click() {
    guardia_.Esegui([this] {
        if (BtnInviaSms->text() != kInvia) {
            // Stops here; an SMS already out still gets its outcome recorded.
            ferma();
            return;
        }
        if (!globale_.GsmAbilitato) {
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
        RigaCorrente = 0;
        for (int i = 1; i <= NumeroRighe; ++i) {
            const QString stato = Riga(i)->text(ColStato);
            QChar lettera = QLatin1Char('-');
            if (spuntata(i) && stato == StatoInvio::Selezionato)
                lettera = QLatin1Char('S');
            else if (spuntata(i) && stato == StatoInvio::Inviato)
                lettera = QLatin1Char('I');
            CodiciRighe[i - 1] = lettera;
        }
        riscriviCoda();
        BtnFiltra->setEnabled(false);
        Accessibile::Testo(BtnInviaSms, kAnnulla);
        campagnaAttiva_ = true;
        aggiornaPulsante();
        Timer1.start();
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
    guardia_.Esegui([this] { passo(); });
}

void FormInvioSms::passo() {
    if (inAttesaEsito_) {
        if (!globale_.InvioConcluso)
            return;
        globale_.InvioConcluso = false;
        inAttesaEsito_ = false;
        registraEsito(globale_.InvioFallito);
        aggiornaPulsante();
        if (!campagnaAttiva_) {
            Timer1.stop();
            return;
        }
    }
    if (!campagnaAttiva_) {
        Timer1.stop();
        return;
    }
    // Rows that are not to be sent are passed over within the same tick.
    for (int r = RigaCorrente + 1; r <= NumeroRighe; ++r) {
        if (!spuntata(r) || Riga(r)->text(ColStato) != StatoInvio::Selezionato)
            continue;
        if (!globale_.GsmAbilitato) {
            // The modem went away: the rows still to send keep their "S" for the next run.
            ferma();
            MsgBox(QStringLiteral("Modulo Gsm non Operativo."), Stile::Critico,
                   QStringLiteral("Errore GSM non operativo"), this);
            return;
        }
        // A poll or a scan of the main window is on the line: this row waits for a later tick.
        if (motore_.stato.TickAttesa != 0 || motore_.invio.InVolo())
            return;
        RigaCorrente = r;
        avviaInvio(r);
        return;
    }
    RigaCorrente = NumeroRighe;
    fineGiro();
}

void FormInvioSms::avviaInvio(int riga) {
    QTreeWidgetItem* r = Riga(riga);
    InvioEseguito = true;
    impostaStato(r, StatoInvio::InCorso, kBlu);
    coloraRiga(r, kRosso);
    BtnFiltra->setEnabled(false);
    globale_.InvioConcluso = false;
    inAttesaEsito_ = true;
    Timer1.stop();
    motore_.invio.Invia(r->text(ColNumero));
}

void FormInvioSms::registraEsito(bool fallito) {
    QTreeWidgetItem* r = Riga(RigaCorrente);
    if (!r)
        return;
    if (fallito) {
        // Its code stays "S": a later run, or the restored file, offers it again.
        impostaStato(r, StatoInvio::Errore, kNero,
                     motore_.invio.SenzaRisposta()
                         ? QStringLiteral("Nessuna risposta dal modem: l'SMS potrebbe essere "
                                          "partito.")
                         : QStringLiteral("L'SMS non è partito."));
    } else {
        impostaStato(r, StatoInvio::Inviato, kRosso);
        CodiciRighe[RigaCorrente - 1] = QLatin1Char('I');
    }
    coloraRiga(r, kRosso);
    riscriviCoda();
}

void FormInvioSms::fineGiro() {
    Timer1.stop();
    const bool nessuno = !InvioEseguito;
    ferma();
    if (nessuno)
        MsgBox(QStringLiteral("Nessun Cliente è stato selezionato o già gli SMS sono stati "
                              "inviati."),
               Stile::SoloOk, QStringLiteral("Errore Invio SMS"), this);
}

void FormInvioSms::ferma() {
    Timer1.stop();
    InvioEseguito = false;
    campagnaAttiva_ = false;
    BtnFiltra->setEnabled(true);
    Accessibile::Testo(BtnInviaSms, kInvia);
    // No more messages: polling resumes (at once, or after the outcome of an SMS still out).
    motore_.invio.Rilascia();
    aggiornaPulsante();
}

void FormInvioSms::riscriviCoda() {
    QStringList codici;
    codici.reserve(NumeroRighe);
    for (int i = 0; i < NumeroRighe; ++i)
        codici.append(TempSms::Codice(clienti_[i].id, CodiciRighe[i]));
    try {
        coda_.Scrivi(codici, Text1[0]->text(), Text1[4]->text(), TxtTestoSms->toPlainText());
    } catch (const ErroreRuntime&) {
        // Without its file a campaign cannot be resumed safely: it stops here.
        if (campagnaAttiva_)
            ferma();
        throw;
    }
}

void FormInvioSms::CaricaTempSms() {
    TempSms::Contenuto c;
    try {
        c = coda_.Leggi();
    } catch (const ErroreRuntime& e) {
        if (e.Number() == ErroreRuntime::FileNonTrovato) {
            try {
                coda_.CreaVuoto();
            } catch (const ErroreRuntime&) {
            }
        }
        return;
    }
    if (c.conNome)
        Text1[0]->setText(c.nome);
    if (c.conMese)
        Text1[2]->setText(c.mese);
    if (c.conIndirizzo)
        Text1[4]->setText(c.indirizzo);
    if (c.conTesto)
        TxtTestoSms->setPlainText(c.testo);

    // Each code names its customer, so a register changed since the file was written still
    // gets every code on the right customer; a damaged code names nobody.
    QHash<QString, QChar> salvati;
    for (const QString& codice : c.codici)
        salvati.insert(TempSms::Chiave(codice), TempSms::Lettera(codice));
    for (int i = 0; i < NumeroRighe; ++i)
        CodiciRighe[i] = salvati.value(clienti_[i].id, QLatin1Char('-'));

    Ripristino = true;
    BtnFiltra_Click();
    Ripristino = false;
    QScopedValueRollback<bool> programma(aggiornando_, true);
    for (int n = 1; n <= NumeroRighe; ++n) {
        const QChar lettera = CodiciRighe[n - 1];
        if (lettera == QLatin1Char('S') || lettera == QLatin1Char('I'))
            Riga(n)->setCheckState(ColId, Qt::Checked);
    }
}

void FormInvioSms::esci() {
    if (uscito_)
        return;
    uscito_ = true;
    Timer1.stop();
    try {
        globale_.archivio.ApriTabella(Tabella::SMS);
    } catch (const ErroreRuntime&) {
        // The main window's rebuild reports a failing archive itself.
    }
    globale_.AggiornaListaSms = true;
}

void FormInvioSms::BtnEsci_Click() {
    esci();
    QDialog::done(QDialog::Accepted);
}

void FormInvioSms::reject() {
    esci();
    QDialog::reject();
}
