#include "SportelloSms.h"

#include "FormMsgBox2.h"
#include "FormMsgBox4.h"
#include "OperazioniSmsInAttesa.h"
#include "archive/StatoGlobale.h"
#include "platform/InvioComeClic.h"
#include "customers/FormClienti.h"
#include "platform/InvioComeClic.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "printing/ModulofnStampa.h"


namespace {
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);
const QString kErrore = QStringLiteral("Errore");
} // namespace

SportelloSms::SportelloSms(StatoGlobale& stato, ModelloSmsInAttesa& modello, QTreeWidget& lista,
                           ModulofnStampa& stampa, QWidget* finestra, int& rispformbox)
    : QObject(&lista)
    , stato_(stato)
    , modello_(modello)
    , lista_(lista)
    , stampa_(stampa)
    , finestra_(finestra)
    , rispformbox_(rispformbox)
    , guardia_(finestra) {
    connect(&lista_, &QTreeWidget::itemClicked, this,
            guardia_.Proteggi([this](QTreeWidgetItem* item) { ListaSMS_ItemClick(item); }));
    InvioComeClic::Applica(&lista_, [this] {
        QTreeWidgetItem* item = lista_.currentItem();
        guardia_.Esegui([this, item] { ListaSMS_ItemClick(item); });
    });
}

void SportelloSms::ColoraGestita(QTreeWidgetItem* item) {
    item->setForeground(0, kBlu);
    for (int colonna = 1; colonna < item->columnCount(); ++colonna)
        item->setForeground(colonna, kRosso);
}

bool SportelloSms::Gestita(const QTreeWidgetItem* item) {
    return item->foreground(0).color() == kBlu;
}

QTreeWidgetItem* SportelloSms::rigaAttuale(qint64 id) const {
    const int indice = modello_.Indice(id);
    return indice < 0 ? nullptr : lista_.topLevelItem(indice);
}

void SportelloSms::rimuovi(qint64 id) {
    const int indice = modello_.Indice(id);
    if (indice < 0)
        return;
    if (rigaInUscita)
        rigaInUscita(indice);
    modello_.Rimuovi(indice);
    delete lista_.takeTopLevelItem(indice);
}

void SportelloSms::ListaSMS_ItemClick(QTreeWidgetItem* item) {
    const int indice = item ? lista_.indexOfTopLevelItem(item) : -1;
    if (indice < 0 || indice >= modello_.Conteggio())
        return;
    IndiceSelezionato = indice;
    // A copy: the row itself may change or go while a dialog is open.
    const RigaListaSms riga = modello_.Riga(indice);
    stato_.NumeroCorrente = riga.numero;
    lista_.clearSelection();

    if (!riga.clienteNoto) {
        nuovoCliente(riga);
        return;
    }
    if (OperazioniSmsInAttesa::ClienteDisabilitato(stato_.archivio, stato_.NumeroCorrente)) {
        MsgBox(QStringLiteral("Il Cliente ") + riga.nome +
                   QStringLiteral(" è memorizzato ma è disabilitato. Per poter gestire SMS "
                                  "abilitare il Cliente"),
               Stile::OkAnnulla + Stile::Informazione + Stile::SecondoPredefinito,
               QStringLiteral("Cliente NON Abilitato"), finestra_);
        return;
    }
    if (riga.gestito)
        archivia(riga);
    else
        prendiInCarico(riga);
}

void SportelloSms::archivia(const RigaListaSms& riga) {
    {
        FormMsgBox4 scheda(rispformbox_, finestra_);
        scheda.Riempi(riga);
        Modale::Mostra(scheda, finestra_);
    }
    switch (rispformbox_) {
    case Risposta::Si:
        if (!OperazioniSmsInAttesa::Archivia(stato_.archivio, riga.id)) {
            MsgBox(QStringLiteral("SMS da eliminare non è stato trovato nel database. Riprovare."),
                   Stile::Critico, kErrore, finestra_);
            lista_.clearSelection();
            return;
        }
        rimuovi(riga.id);
        if (lista_.topLevelItemCount() > 0)
            lista_.clearSelection();
        return;
    case Risposta::No:
        lista_.clearSelection();
        return;
    case Risposta::Ignora: // "Stampa SMS"
        stampa_.StampaSms(riga.numero, riga.nome, riga.data, riga.orario, riga.testo);
        return;
    default:
        return;
    }
}

void SportelloSms::prendiInCarico(const RigaListaSms& riga) {
    {
        FormMsgBox2 scheda(rispformbox_, finestra_);
        scheda.Riempi(riga);
        Modale::Mostra(scheda, finestra_);
    }
    const QString nonTrovato = QStringLiteral(" non è stato trovato nel database. Operazione "
                                              "Annullata");
    switch (rispformbox_) {
    case Risposta::Si:
        if (QTreeWidgetItem* item = rigaAttuale(riga.id)) {
            modello_.SegnaGestita(modello_.Indice(riga.id));
            ColoraGestita(item);
        }
        if (!OperazioniSmsInAttesa::SegnaGestito(stato_.archivio, riga.id)) {
            MsgBox(QStringLiteral("SMS da gestire relativo al numero  (") + riga.nome +
                       QStringLiteral(")") + nonTrovato + QStringLiteral("."),
                   Stile::Critico, kErrore, finestra_);
            lista_.clearSelection();
        }
        return;
    case Risposta::No:
        if (MsgBox(QStringLiteral("Confermi la cancellazione del SMS?"),
                   Stile::SiNo + Stile::Esclamazione + Stile::TerzoPredefinito,
                   QStringLiteral("Attesa Conferma"), finestra_) == Risposta::No)
            return;
        if (!OperazioniSmsInAttesa::Elimina(stato_.archivio, riga.id)) {
            MsgBox(QStringLiteral("SMS da eliminare relativo al numero  (") + riga.nome +
                       QStringLiteral(")") + nonTrovato,
                   Stile::Critico, kErrore, finestra_);
            lista_.clearSelection();
            return;
        }
        rimuovi(riga.id);
        MsgBox(QStringLiteral("SMS eliminato con successo!"), Stile::Informazione,
               QStringLiteral("Informazione"), finestra_);
        return;
    default: // "Annulla"
        return;
    }
}

void SportelloSms::nuovoCliente(const RigaListaSms& riga) {
    // The sender's messages the user has in view now: only these may go, not any that arrive
    // while the questions are open.
    const QVector<qint64> inVista = modello_.IdDelNumero(riga.numero);
    const QChar a = QLatin1Char('\n');
    rispformbox_ =
        MsgBox(QStringLiteral("Ricevuto il seguente SMS:") + a + a + riga.testo + a + a +
                   QStringLiteral("Attenzione nuovo Cliente. Per gestire SMS ricvuto "
                                  "occorre inserire nel DB il Cliente.") +
                   a +
                   QStringLiteral("Continuare con l'operazione? Premere No per "
                                  "Cancellare SMS"),
               Stile::SiNoAnnulla + Stile::Critico + Stile::TerzoPredefinito, QString(), finestra_);
    if (rispformbox_ == Risposta::Si) {
        // The register prefills the shared current number, which the SIM scan rewrote if an
        // order came in while the question was open.
        stato_.NumeroCorrente = riga.numero;
        stato_.InserimentoDaSms = true;
        {
            FormClienti clienti(stato_, stampa_, riga.nome, finestra_);
            Modale::Mostra(clienti, finestra_);
        }
        stato_.InserimentoDaSms = false;
        if (ricostruisciLista)
            ricostruisciLista();
        return;
    }
    if (rispformbox_ != Risposta::No)
        return;
    if (MsgBox(QStringLiteral("Confermi la cancellazione del seguente SMS: ") + a + a + riga.testo +
                   a + a,
               Stile::SiNo + Stile::Critico + Stile::SecondoPredefinito, QString(),
               finestra_) == Risposta::No)
        return;
    OperazioniSmsInAttesa::EliminaTutti(stato_.archivio, inVista);
    rimuovi(riga.id);
    // The sender's other rows leave at the next rebuild.
    stato_.AggiornaListaSms = true;
}
