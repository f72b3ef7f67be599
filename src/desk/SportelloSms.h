#pragma once

#include "ModelloSmsInAttesa.h"
#include "platform/Guardia.h"

#include <QObject>
#include <QTreeWidget>
#include <functional>

struct StatoGlobale;
class ModulofnStampa;

// The desk: a click (or Enter) on a row of the pending list takes the message in hand, archives
// it, prints it or deletes it, and for a sender not in the register offers to register it or to
// delete its messages.
//
// The list draws the rows of `modello`, position for position. What a click acts on is the row's
// record id, read before any dialog and looked up again after it: the main timer keeps running
// while a dialog is open and may add, join or rebuild rows meanwhile.
class SportelloSms : public QObject {
    Q_OBJECT
public:
    // `finestra` owns the dialogs and boxes; `rispformbox` is its variable for their answers.
    SportelloSms(StatoGlobale& stato, ModelloSmsInAttesa& modello, QTreeWidget& lista,
                 ModulofnStampa& stampa, QWidget* finestra, int& rispformbox);

    // Told the position of a row about to leave the list.
    std::function<void(int indice)> rigaInUscita;
    // Rebuilds the list (after the register was opened to add a sender).
    std::function<void()> ricostruisciLista;

    void ListaSMS_ItemClick(QTreeWidgetItem* item);
    int IndiceSelezionato = 0;

    // A row taken in hand: blue row text, red cells.
    static void ColoraGestita(QTreeWidgetItem* item);
    static bool Gestita(const QTreeWidgetItem* item);

private:
    void prendiInCarico(const RigaListaSms& riga);
    void archivia(const RigaListaSms& riga);
    void nuovoCliente(const RigaListaSms& riga);
    // The row of record `id` now, or null when the list no longer holds it.
    QTreeWidgetItem* rigaAttuale(qint64 id) const;
    void rimuovi(qint64 id);

    StatoGlobale& stato_;
    ModelloSmsInAttesa& modello_;
    QTreeWidget& lista_;
    ModulofnStampa& stampa_;
    QWidget* finestra_;
    int& rispformbox_;
    Guardia guardia_;
};
