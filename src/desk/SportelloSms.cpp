#include "SportelloSms.h"

#include "FormMsgBox2.h"
#include "FormMsgBox4.h"
#include "LetturaSmsInAttesa.h"
#include "OperazioniSmsInAttesa.h"
#include "archive/StatoGlobale.h"
#include "customers/FormClienti.h"
#include "platform/InvioComeClic.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "printing/ModulofnStampa.h"

namespace {
const QString kErrore = QStringLiteral("Errore");
} // namespace

SportelloSms::SportelloSms(StatoGlobale& stato, ModelloSmsInAttesa& modello, QTreeView& lista,
                           ModulofnStampa& stampa, QWidget* finestra)
    : QObject(&lista)
    , stato_(stato)
    , modello_(modello)
    , lista_(lista)
    , stampa_(stampa)
    , finestra_(finestra)
    , guardia_(finestra) {
    connect(&lista_, &QTreeView::clicked, this,
            guardia_.Proteggi([this](const QModelIndex& i) { ListaSMS_ItemClick(i.row()); }));
    InvioComeClic::Applica(&lista_, [this] {
        const QModelIndex i = lista_.currentIndex();
        guardia_.Esegui([this, i] { ListaSMS_ItemClick(i.isValid() ? i.row() : -1); });
    });
}

void SportelloSms::ListaSMS_ItemClick(int indice) {
    if (indice < 0 || indice >= modello_.Conteggio())
        return;
    IndiceSelezionato = indice;
    // A copy: the row itself may change or go while a dialog is open.
    const RigaListaSms riga = modello_.Riga(indice);
    lista_.clearSelection();

    if (!riga.clienteNoto) {
        nuovoCliente(riga);
        return;
    }
    if (OperazioniSmsInAttesa::ClienteDisabilitato(stato_.archivio, riga.numero)) {
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
    FormMsgBox4::Scelta scelta;
    {
        FormMsgBox4 scheda(finestra_);
        scheda.Riempi(riga);
        Modale::Mostra(scheda, finestra_);
        scelta = scheda.Risposta();
    }
    switch (scelta) {
    case FormMsgBox4::Scelta::Archivia:
        if (!OperazioniSmsInAttesa::Archivia(stato_.archivio, riga.id)) {
            MsgBox(QStringLiteral("SMS da eliminare non è stato trovato nel database. Riprovare."),
                   Stile::Critico, kErrore, finestra_);
            lista_.clearSelection();
            return;
        }
        modello_.Rimuovi(riga.id);
        lista_.clearSelection();
        return;
    case FormMsgBox4::Scelta::Annulla:
        lista_.clearSelection();
        return;
    case FormMsgBox4::Scelta::Stampa: {
        // The record as it stands now: a part that joined while the dialog was open is printed.
        const std::optional<RigaListaSms> ora =
            LetturaSmsInAttesa::Riga(stato_.archivio, stato_.rubrica, riga.id);
        if (!ora) {
            MsgBox(QStringLiteral("SMS da stampare non è stato trovato nel database."),
                   Stile::Critico, kErrore, finestra_);
            return;
        }
        stampa_.StampaSms(ora->numero, ora->nome, ora->data, ora->orario, ora->testo);
        return;
    }
    }
}

void SportelloSms::prendiInCarico(const RigaListaSms& riga) {
    FormMsgBox2::Scelta scelta;
    {
        FormMsgBox2 scheda(finestra_);
        scheda.Riempi(riga);
        Modale::Mostra(scheda, finestra_);
        scelta = scheda.Risposta();
    }
    const QString nonTrovato = QStringLiteral(" non è stato trovato nel database. Operazione "
                                              "Annullata");
    switch (scelta) {
    case FormMsgBox2::Scelta::Gestisci:
        modello_.SegnaGestita(riga.id);
        if (!OperazioniSmsInAttesa::SegnaGestito(stato_.archivio, riga.id)) {
            MsgBox(QStringLiteral("SMS da gestire relativo al numero  (") + riga.nome +
                       QStringLiteral(")") + nonTrovato + QStringLiteral("."),
                   Stile::Critico, kErrore, finestra_);
            lista_.clearSelection();
        }
        return;
    case FormMsgBox2::Scelta::Elimina:
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
        modello_.Rimuovi(riga.id);
        MsgBox(QStringLiteral("SMS eliminato con successo!"), Stile::Informazione,
               QStringLiteral("Informazione"), finestra_);
        return;
    case FormMsgBox2::Scelta::Annulla:
        return;
    }
}

void SportelloSms::nuovoCliente(const RigaListaSms& riga) {
    // The sender's messages the user has in view now: only these may go, not any that arrive
    // while the questions are open.
    const QVector<qint64> inVista = modello_.IdDelNumero(riga.numero);
    const QChar a = QLatin1Char('\n');
    const int risposta =
        MsgBox(QStringLiteral("Ricevuto il seguente SMS:") + a + a + riga.testo + a + a +
                   QStringLiteral("Attenzione nuovo Cliente. Per gestire SMS ricvuto "
                                  "occorre inserire nel DB il Cliente.") +
                   a +
                   QStringLiteral("Continuare con l'operazione? Premere No per "
                                  "Cancellare SMS"),
               Stile::SiNoAnnulla + Stile::Critico + Stile::TerzoPredefinito, QString(), finestra_);
    if (risposta == Risposta::Si) {
        // The register is opened on this row's sender and keeps that number, whatever the SIM
        // scan reads while it is open.
        {
            FormClienti clienti(stato_, stampa_, FormClienti::DaSms{riga.numero, riga.nome},
                                finestra_);
            Modale::Mostra(clienti, finestra_);
        }
        // The sender's rows, and any other whose customer changed, take their names.
        modello_.AggiornaClienti(stato_.archivio, stato_.rubrica);
        return;
    }
    if (risposta != Risposta::No)
        return;
    if (MsgBox(QStringLiteral("Confermi la cancellazione del seguente SMS: ") + a + a + riga.testo +
                   a + a,
               Stile::SiNo + Stile::Critico + Stile::SecondoPredefinito, QString(),
               finestra_) == Risposta::No)
        return;
    OperazioniSmsInAttesa::EliminaTutti(stato_.archivio, inVista);
    for (qint64 id : inVista)
        modello_.Rimuovi(id);
}
