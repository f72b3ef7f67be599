#pragma once

#include "ModelloSmsInAttesa.h"
#include "platform/Guardia.h"

#include <QObject>
#include <QTreeView>

struct StatoGlobale;
class ModulofnStampa;

// The desk: a click (or Enter) on a row of the pending list takes the message in hand, archives
// it, prints it or deletes it, and for a sender not in the register offers to register it or to
// delete its messages.
//
// What a click acts on is the row's record id, read before any dialog and looked up again after
// it: the main timer keeps running while a dialog is open and may add, join or rebuild rows
// meanwhile.
class SportelloSms : public QObject {
    Q_OBJECT
public:
    // `lista` shows `modello`; `finestra` owns the dialogs and boxes.
    SportelloSms(StatoGlobale& stato, ModelloSmsInAttesa& modello, QTreeView& lista,
                 ModulofnStampa& stampa, QWidget* finestra);

    // The row at position `indice` of the list, as clicked.
    void ListaSMS_ItemClick(int indice);
    int IndiceSelezionato = 0;

private:
    void prendiInCarico(const RigaListaSms& riga);
    void archivia(const RigaListaSms& riga);
    void nuovoCliente(const RigaListaSms& riga);

    StatoGlobale& stato_;
    ModelloSmsInAttesa& modello_;
    QTreeView& lista_;
    ModulofnStampa& stampa_;
    QWidget* finestra_;
    Guardia guardia_;
};
