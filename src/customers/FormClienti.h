#pragma once

#include "platform/Guardia.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <array>
#include <optional>

class Recordset;
struct StatoGlobale;
class ModulofnStampa;

// "Gestione Clienti": the customer register. Lists the enabled or the disabled customers, adds,
// changes, disables and enables them (a customer is never deleted) and prints the register.
// Opened from the menu to browse, or from the desk straight in add mode with the sender's number.
class FormClienti : public QDialog {
    Q_OBJECT
public:
    // A sender to register, from the desk's row: the number, and the "Cliente" cell as the name
    // box's first text.
    struct DaSms {
        QString numero;
        QString nome;
    };
    // With `daSms` the window opens in add mode on that sender, and every "Aggiungi" proposes
    // that number again.
    FormClienti(StatoGlobale& stato, ModulofnStampa& stampa,
                std::optional<DaSms> daSms = std::nullopt, QWidget* parent = nullptr);

    // 1 enabled customers, 2 disabled ones, 0 all.
    int tipoLista = 1;
    bool inInserimento = false;
    QString dataNascita;

    void CreateCol();
    void listRefresh(int vista);
    void setCommandEnable(bool e0, bool e1, bool e2, bool e3, bool e4, bool e5, bool e9);
    void cmdClickAnnulla();
    bool controlloNascita();
    void lstADD_ItemClick(QTreeWidgetItem* riga);
    void Command1_Click(int index);

    // The editor's boxes by their index: 0 number, 1 name, 21/22/23 day/month/year of birth,
    // 3 address, 4 notes, 5 the selected customer's id.
    QString Testo1(int indice) const;
    void ImpostaTesto1(int indice, const QString& testo);

    QLabel* LblListaSMS;
    QTreeWidget* lstADD;
    QWidget* Frame1;
    std::array<QPushButton*, 10> Command1{}; // indices 0-5 and 9
    QGroupBox* FrAggiungiModifica;
    std::array<QLineEdit*, 24> Text1{}; // indices 0, 1, 3, 5, 21, 22, 23
    QPlainTextEdit* Text1_4;            // the notes, several lines
    QLabel* LblIdCliente;

    // Esc and the close box: as "Esci".
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void costruisciControlli();
    void aggiungi();
    void disabilita();
    void modifica();
    void esci();
    // Shows a failure of the archive as its description and number, closes the editor, and
    // after a duplicate number explains it.
    void gestisciErrore(int numero, const QString& descrizione);
    // Opens Clienti on the selected customer; false, after telling the user, when it is gone.
    bool trovaSelezionato();
    // Opens Clienti on the customer with this id; false, after telling the user, when it is gone.
    bool trovaCliente(qint64 id);
    void rimuoviSelezionata();
    // The editor's boxes into the added or edited record, then stored.
    void scriviCampi(Recordset& rs);
    void disponi();
    void titoloLista(const QString& testo);

    StatoGlobale& stato_;
    ModulofnStampa& stampa_;
    std::optional<DaSms> daSms_;
    Guardia guardia_;
};
