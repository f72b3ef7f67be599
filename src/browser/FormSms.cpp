#include "FormSms.h"

#include "ConsultazioneSms.h"
#include "EsportazioneExcel.h"
#include "IntervalloDate.h"
#include "ModelloListaSms.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "desk/FormMsgBox3.h"
#include "platform/Accessibile.h"
#include "platform/DelegatoInerte.h"
#include "platform/Documento.h"
#include "platform/ErroreRuntime.h"
#include "platform/FiltroCifre.h"
#include "platform/InvioComeClic.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "platform/TreCaselle.h"
#include "printing/ModulofnStampa.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The wait cursor while a long list is read or written.
struct CursoreAttesa {
    CursoreAttesa() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursoreAttesa() { QApplication::restoreOverrideCursor(); }
};

QString Conteggio(size_t n) {
    return QString::number(n) + QStringLiteral(" messaggi visualizzati");
}

} // namespace

FormSms::FormSms(StatoGlobale& stato, ModulofnStampa& stampa, QWidget* parent)
    : QDialog(parent)
    , stato_(stato)
    , stampa_(stampa)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormSms"));
    setWindowTitle(QStringLiteral("Gestione SMS"));
    costruisciControlli();
    if (const QScreen* schermo = QApplication::primaryScreen())
        resize(schermo->availableGeometry().width() * 8 / 10,
               schermo->availableGeometry().height() * 7 / 10);

    guardia_.Esegui([this] {
        consultazione_ = std::make_unique<ConsultazioneSms>(stato_.archivio);
        modello_ = new ModelloListaSms(*consultazione_, stato_.rubrica, this);
        ListaSMS->setModel(modello_);
        const int larghezze[] = {110, 170, 70, 70};
        for (int c = 0; c < 4; ++c)
            ListaSMS->setColumnWidth(c, larghezze[c]);
        VisualizzaListaSMS();
    });
    CmStampa->setEnabled(false);
}

FormSms::~FormSms() {
    // The model reads through the consultation: it goes first.
    delete modello_;
}

void FormSms::costruisciControlli() {
    QFont grassetto = font();
    grassetto.setBold(true);

    LblClienti = new QLabel(QStringLiteral("Clienti degli SMS"), this);
    LblClienti->setObjectName(QStringLiteral("LblClienti"));
    LblClienti->setFont(grassetto);
    ListaClienti = new QTreeWidget(this);
    ListaClienti->setObjectName(QStringLiteral("ListaClienti"));
    ListaClienti->setItemDelegate(new DelegatoInerte(ListaClienti));
    ListaClienti->setHeaderLabels({QStringLiteral("Numero"), QStringLiteral("Cliente")});
    ListaClienti->setRootIsDecorated(false);
    ListaClienti->setUniformRowHeights(true);
    ListaClienti->setAllColumnsShowFocus(true);
    ListaClienti->setColumnWidth(0, 110);
    ListaClienti->setToolTip(
        QStringLiteral("Clicca sul Nome del Cliente per Visualizzare i relativi SMS inviati"));
    LblClienti->setBuddy(ListaClienti);
    ListaClienti->setAccessibleName(LblClienti->text());
    connect(ListaClienti, &QTreeWidget::itemClicked, this,
            guardia_.Proteggi([this](QTreeWidgetItem* riga) { ListaClienti_ItemClick(riga); }));

    LblListaSMS = new QLabel(QStringLiteral("Lista degli SMS Ricevuti"), this);
    LblListaSMS->setObjectName(QStringLiteral("LblListaSMS"));
    LblListaSMS->setFont(grassetto);
    ListaSMS = new QTreeView(this);
    ListaSMS->setObjectName(QStringLiteral("ListaSMS"));
    ListaSMS->setItemDelegate(new DelegatoInerte(ListaSMS));
    ListaSMS->setRootIsDecorated(false);
    // Rows of one height: the view then never measures the rows it does not show.
    ListaSMS->setUniformRowHeights(true);
    ListaSMS->setAllColumnsShowFocus(true);
    ListaSMS->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListaSMS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LblListaSMS->setBuddy(ListaSMS);
    connect(ListaSMS, &QTreeView::clicked, this,
            guardia_.Proteggi([this](const QModelIndex& i) { ListaSMS_ItemClick(i.row()); }));
    InvioComeClic::Applica(ListaClienti, [this] {
        guardia_.Esegui([this] { ListaClienti_ItemClick(ListaClienti->currentItem()); });
    });
    InvioComeClic::Applica(ListaSMS, [this] {
        guardia_.Esegui([this] { ListaSMS_ItemClick(ListaSMS->currentIndex().row()); });
    });

    // The date range: " Gi    Me   Anno" over each group of three boxes.
    auto* date = new QGridLayout;
    const int cifra = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    auto gruppo = [&](std::array<QLineEdit*, 3>& caselle, const QString& nome,
                      const QString& didascalia, int colonna) {
        auto* l = new QLabel(didascalia, this);
        date->addWidget(new QLabel(QStringLiteral(" Gi    Me   Anno"), this), 0, colonna + 1, 1, 3);
        date->addWidget(l, 1, colonna);
        const QString parti[] = {QStringLiteral("giorno"), QStringLiteral("mese"),
                                 QStringLiteral("anno")};
        for (int i = 0; i < 3; ++i) {
            auto* t = new QLineEdit(this);
            t->setObjectName(nome + QStringLiteral("_%1").arg(i));
            t->setFixedWidth(cifra * (i == 2 ? 6 : 4) + 12);
            // A year of four digits at most: a far-off date, never an overflowing one.
            if (i == 2)
                t->setMaxLength(4);
            t->setAccessibleName(didascalia.chopped(1) + QStringLiteral(", ") + parti[i]);
            FiltroCifre::Applica(t);
            date->addWidget(t, 1, colonna + 1 + i);
            caselle[size_t(i)] = t;
        }
        l->setBuddy(caselle[0]);
    };
    gruppo(Text1, QStringLiteral("Text1"), QStringLiteral("Da:"), 0);
    gruppo(Text2, QStringLiteral("Text2"), QStringLiteral("A:"), 4);

    auto pulsante = [this](const QString& nome, const QString& testo, void (FormSms::*gestore)()) {
        auto* b = new QPushButton(testo, this);
        b->setObjectName(nome);
        // Enter in a date box must not press a button.
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                guardia_.Proteggi([this, gestore] { (this->*gestore)(); }));
        return b;
    };
    CmGiorno = pulsante(QStringLiteral("CmGiorno"), QStringLiteral("Data Odierna"),
                        &FormSms::CmGiorno_Click);
    CmdPulisci = pulsante(QStringLiteral("CmdPulisci"), QStringLiteral("Cancella Data"),
                          &FormSms::CmdPulisci_Click);
    CmStampa =
        pulsante(QStringLiteral("CmStampa"), QStringLiteral("Stampa"), &FormSms::CmStampa_Click);
    CmExcel = pulsante(QStringLiteral("CmExcel"), QStringLiteral("Esporta in Excel"),
                       &FormSms::CmExcel_Click);
    CmExcel1 = pulsante(QStringLiteral("CmExcel1"), QStringLiteral("Apri File Excel"),
                        &FormSms::CmExcel1_Click);
    CmEsci = pulsante(QStringLiteral("CmEsci"), QStringLiteral("Esci"), &FormSms::CmEsci_Click);

    auto* sinistra = new QVBoxLayout;
    sinistra->addWidget(LblClienti);
    sinistra->addWidget(ListaClienti);
    auto* destra = new QVBoxLayout;
    destra->addWidget(LblListaSMS);
    destra->addWidget(ListaSMS);
    auto* liste = new QHBoxLayout;
    liste->addLayout(sinistra, 1);
    liste->addLayout(destra, 3);

    auto* comandi = new QHBoxLayout;
    comandi->addLayout(date);
    comandi->addStretch();
    for (QPushButton* b : {CmGiorno, CmdPulisci, CmStampa, CmExcel, CmExcel1, CmEsci})
        comandi->addWidget(b, 0, Qt::AlignBottom);

    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(liste, 1);
    tutto->addLayout(comandi);
    Accessibile::NominaDaTesto(this);
}

void FormSms::titoloLista(const QString& testo) {
    Accessibile::Testo(LblListaSMS, testo);
    ListaSMS->setAccessibleName(testo);
}

void FormSms::VisualizzaListaSMS() {
    if (!modello_)
        return; // the archive could not be read: the window stays empty
    CursoreAttesa attesa;
    modello_->Svuota();
    ListaClienti->clear();
    QList<QTreeWidgetItem*> righe{
        new QTreeWidgetItem(QStringList{ConsultazioneSms::Tutti(), QString()})};
    stato_.rubrica.Riempi(stato_.archivio);
    stato_.archivio.ApriTabella(Tabella::SMS);
    std::vector<qint64> ids = consultazione_->Messaggi(ConsultazioneSms::Tutti(), 0, 0);
    const size_t conteggio = ids.size();
    modello_->Mostra(std::move(ids));
    for (const QString& numero : consultazione_->Mittenti())
        righe.append(new QTreeWidgetItem(QStringList{numero, stato_.rubrica.NomeDi(numero)}));
    ListaClienti->addTopLevelItems(righe);
    titoloLista(QStringLiteral("Lista degli SMS Ricevuti Totali - ") + Conteggio(conteggio));
}

void FormSms::VisualizzaListaSMS1(const QString& nome, const QString& numero, int daChiave,
                                  int aChiave) {
    if (!modello_)
        return;
    CursoreAttesa attesa;
    modello_->Svuota();
    stato_.archivio.ApriTabella(Tabella::SMS);
    titoloLista(QStringLiteral("Elaborazione in corso Attendi ...."));
    LblListaSMS->repaint();

    const bool tutti = numero == ConsultazioneSms::Tutti();
    std::vector<qint64> ids = consultazione_->Messaggi(numero, daChiave, aChiave);
    const size_t conteggio = ids.size();
    modello_->Mostra(std::move(ids), tutti ? std::nullopt : std::optional<QString>(nome));
    titoloLista(tutti ? QStringLiteral("Lista degli SMS Ricevuti Totali - ") + Conteggio(conteggio)
                      : QStringLiteral("Lista degli SMS Ricevuti di ") + nome +
                            QStringLiteral(" - Totali:  ") + Conteggio(conteggio));
    CmStampa->setEnabled(conteggio > 0);
    if (conteggio == 0)
        MsgBox(QStringLiteral("Nessun SMS con il Nome o la Data salezionati"), Stile::Esclamazione,
               QStringLiteral("Nessun Elemento Trovato"), this);
}

void FormSms::ListaClienti_ItemClick(QTreeWidgetItem* riga) {
    if (!riga)
        return;
    NomeSelezionato = riga->text(1);
    NumeroSelezionato = riga->text(0);
    Accessibile::Testo(CmStampa, NomeSelezionato.isEmpty() ? QStringLiteral("Stampa Tutti")
                                                           : QStringLiteral("Stampa Cliente"));
    CaselleData da = TreCaselle::Leggi(Text1);
    CaselleData a = TreCaselle::Leggi(Text2);
    IntervalloDate::Normalizza(da, a, stato_.Oggi());
    TreCaselle::Scrivi(Text1, da);
    TreCaselle::Scrivi(Text2, a);
    DataDa = IntervalloDate::Chiave(da);
    DataA = IntervalloDate::Chiave(a);
    VisualizzaListaSMS1(NomeSelezionato, NumeroSelezionato, DataDa, DataA);
}

void FormSms::ListaSMS_ItemClick(int riga) {
    if (!modello_ || riga < 0 || riga >= modello_->rowCount())
        return;
    FormMsgBox3 scheda(this);
    const RigaListaSms sms = modello_->Riga(riga);
    scheda.Riempi(sms);
    Modale::Mostra(scheda, this);
    if (scheda.Risposta() == FormMsgBox3::Scelta::Stampa)
        stampa_.StampaSms(sms.numero, sms.nome, sms.data, sms.orario, sms.testo);
}

void FormSms::CmStampa_Click() {
    stampa_.StampaListaSms(NomeSelezionato, NumeroSelezionato, DataDa, DataA);
}

void FormSms::CmGiorno_Click() {
    const CaselleData oggi = IntervalloDate::Di(stato_.Oggi());
    TreCaselle::Scrivi(Text1, oggi);
    TreCaselle::Scrivi(Text2, oggi);
}

void FormSms::CmdPulisci_Click() {
    TreCaselle::Scrivi(Text1, {});
    TreCaselle::Scrivi(Text2, {});
}

void FormSms::CmExcel_Click() {
    if (!modello_)
        return;
    try {
        CursoreAttesa attesa;
        EsportazioneExcel::Scrivi(
            EsportazioneExcel::Cartella(stato_.cartellaProgramma),
            EsportazioneExcel::NomeFile(NomeSelezionato, stato_.Oggi()), *modello_);
    } catch (const ErroreRuntime& e) {
        if (e.Number() != ErroreRuntime::SalvataggioFoglio)
            throw;
        MsgBox(QStringLiteral("Esportazione della Tabella SMS in Excel Annullata."), Stile::Critico,
               QStringLiteral("Operazione Annullata"), this);
        return;
    }
    MsgBox(QStringLiteral("Esportazione della Tabella SMS in Excel avvenuta con successo"),
           Stile::Informazione, QStringLiteral("Operazione Terminata"), this);
}

void FormSms::CmExcel1_Click() {
    const QString cartella = EsportazioneExcel::Cartella(stato_.cartellaProgramma);
    // A folder gone missing is made again, so that the file manager has something to show.
    if (!QFileInfo(cartella).isDir() && !QDir().mkpath(cartella)) {
        MsgBox(QStringLiteral("Impossibile creare la cartella dei file Excel:\n") +
                   QDir::toNativeSeparators(cartella),
               Stile::Critico, QStringLiteral("Errore"), this);
        return;
    }
    Documento::Apri(cartella);
}

void FormSms::CmEsci_Click() {
    stato_.archivio.ApriTabella(Tabella::SMS);
    done(QDialog::Accepted);
}

void FormSms::reject() {
    guardia_.Esegui([this] { CmEsci_Click(); });
}
