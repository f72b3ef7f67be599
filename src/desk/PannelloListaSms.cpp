#include "PannelloListaSms.h"

#include "Annunciatore.h"
#include "ModelloSmsInAttesa.h"
#include "SportelloSms.h"
#include "archive/StatoGlobale.h"
#include "platform/DelegatoInerte.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

PannelloListaSms::PannelloListaSms(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                                   ModulofnStampa& stampa, QWidget* finestra, QWidget* parent)
    : QWidget(parent)
    , stato_(stato) {
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(0, 0, 0, 0);
    LblListaSMS = new QLabel(QStringLiteral("Lista degli SMS Ricevuti"), this);
    LblListaSMS->setObjectName(QStringLiteral("LblListaSMS"));
    QFont titolo = LblListaSMS->font();
    titolo.setBold(true);
    titolo.setPointSize(titolo.pointSize() + 2);
    LblListaSMS->setFont(titolo);
    modello_ = new ModelloSmsInAttesa(this);
    ListaSMS = new QTreeView(this);
    ListaSMS->setObjectName(QStringLiteral("ListaSMS"));
    ListaSMS->setItemDelegate(new DelegatoInerte(ListaSMS));
    ListaSMS->setModel(modello_);
    ListaSMS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListaSMS->setRootIsDecorated(false);
    ListaSMS->setUniformRowHeights(true);
    ListaSMS->setAllColumnsShowFocus(true);
    ListaSMS->setSelectionBehavior(QAbstractItemView::SelectRows);
    const int larghezze[] = {110, 160, 70, 70};
    for (int i = 0; i < 4; ++i)
        ListaSMS->setColumnWidth(i, larghezze[i]);
    ListaSMS->header()->setStretchLastSection(true);
    colonna->addWidget(LblListaSMS);
    colonna->addWidget(ListaSMS, 1);
    // Screen readers name the list by its caption.
    LblListaSMS->setBuddy(ListaSMS);
    ListaSMS->setAccessibleName(LblListaSMS->text());

    sportello_ = new SportelloSms(stato_, *modello_, *ListaSMS, stampa, finestra);
    annunciatore_ = new Annunciatore(stato_, impostazioni, stampa, finestra);
    // A row that leaves before its turn is not announced any more.
    connect(modello_, &QAbstractItemModel::rowsAboutToBeRemoved, annunciatore_,
            [this](const QModelIndex&, int primo, int ultimo) {
                for (int i = primo; i <= ultimo; ++i)
                    annunciatore_->Ritira(modello_->Riga(i).id);
            });
}

void PannelloListaSms::VisualizzaLista() {
    modello_->Ricostruisci(stato_.archivio, stato_.rubrica);
    ListaSMS->clearSelection();
    ListaSMS->setCurrentIndex(QModelIndex());
}

void PannelloListaSms::Registrato(RigaListaSms riga, bool daAnnunciare) {
    stato_.rubrica.NomeDi(riga.numero, &riga.clienteNoto);
    modello_->Registrato(riga);
    if (daAnnunciare)
        annunciatore_->Accoda(riga.id);
}

void PannelloListaSms::AggiornaClienti() {
    modello_->AggiornaClienti(stato_.archivio, stato_.rubrica);
}
