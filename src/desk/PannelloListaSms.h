#pragma once

#include "RigaListaSms.h"

#include <QWidget>

struct ImpostazioniAttivita;
struct StatoGlobale;
class Annunciatore;
class ModelloSmsInAttesa;
class ModulofnStampa;
class QLabel;
class QTreeView;
class SportelloSms;

// The pending list of the main window: its caption, the view over ModelloSmsInAttesa, the desk
// that acts on a clicked row (SportelloSms) and the announcement of each order stored
// (Annunciatore). Fed with what the reception stored; the notices, dialogs and boxes belong to
// `finestra`.
class PannelloListaSms : public QWidget {
    Q_OBJECT
public:
    PannelloListaSms(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                     ModulofnStampa& stampa, QWidget* finestra, QWidget* parent = nullptr);

    // The whole list read again from the archive, with nothing selected.
    void VisualizzaLista();
    // The reception stored or joined the record `riga.id`: its row shows it, and it waits for
    // its announcement when `daAnnunciare` (a new order, or one a late part completed).
    void Registrato(RigaListaSms riga, bool daAnnunciare);
    // The register may have changed: the rows take their customers again.
    void AggiornaClienti();

    QLabel* LblListaSMS;
    QTreeView* ListaSMS;
    ModelloSmsInAttesa& Modello() { return *modello_; }
    SportelloSms& Sportello() { return *sportello_; }
    Annunciatore& Annuncio() { return *annunciatore_; }

private:
    StatoGlobale& stato_;
    ModelloSmsInAttesa* modello_;
    SportelloSms* sportello_;
    Annunciatore* annunciatore_;
};
