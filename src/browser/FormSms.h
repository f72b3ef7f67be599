#pragma once

#include "platform/Guardia.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <array>
#include <memory>

class ConsultazioneSms;
class ModelloListaSms;
class ModulofnStampa;
struct StatoGlobale;

// "Gestione SMS": the archive of handled messages, by sender and by a range of arrival dates;
// one message read and printed, the list printed or exported as a workbook. Changes nothing in
// the archive.
class FormSms : public QDialog {
    Q_OBJECT
public:
    FormSms(StatoGlobale& stato, ModulofnStampa& stampa, QWidget* parent = nullptr);
    ~FormSms() override;

    // Both lists from the whole archive: "Tutti" and each sender once, every message.
    void VisualizzaListaSMS();
    // The messages of `numero` ("Tutti" for all) with date keys from `daChiave` to `aChiave`
    // (both 0: every date). With one sender, every row's "Cliente" is `nome`.
    void VisualizzaListaSMS1(const QString& nome, const QString& numero, int daChiave, int aChiave);

    void ListaClienti_ItemClick(QTreeWidgetItem* riga);
    void ListaSMS_ItemClick(int riga);
    void CmStampa_Click();
    void CmGiorno_Click();
    void CmdPulisci_Click();
    void CmExcel_Click();
    void CmExcel1_Click();
    void CmEsci_Click();

    // The "Cliente" cell of the sender row last clicked, and the range's keys (0 until then).
    QString NomeSelezionato;
    // The number of that row ("Tutti" for all): what the list shows and "Stampa" prints.
    QString NumeroSelezionato;
    int DataDa = 0;
    int DataA = 0;

    QLabel* LblClienti;
    QTreeWidget* ListaClienti;
    QLabel* LblListaSMS;
    QTreeView* ListaSMS;
    std::array<QLineEdit*, 3> Text1{}; // start: day, month, year
    std::array<QLineEdit*, 3> Text2{}; // end: day, month, year
    QPushButton* CmGiorno;
    QPushButton* CmdPulisci;
    QPushButton* CmStampa;
    QPushButton* CmExcel;
    QPushButton* CmExcel1;
    QPushButton* CmEsci;

    ModelloListaSms& Modello() { return *modello_; }

    // Esc and the close box: as "Esci".
    void reject() override;

private:
    void costruisciControlli();
    void titoloLista(const QString& testo);

    StatoGlobale& stato_;
    ModulofnStampa& stampa_;
    Guardia guardia_;
    std::unique_ptr<ConsultazioneSms> consultazione_;
    ModelloListaSms* modello_ = nullptr; // child of this window
};
