#pragma once

#include "campaigns/CampagnaSms.h"
#include "campaigns/ClientiCampagna.h"
#include "platform/Guardia.h"

#include <QDialog>
#include <QTimer>
#include <QVector>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct StatoGlobale;
class MotoreGsm;

// The campaign window "Invia": the enabled customers with their check boxes and campaign status,
// the filters that highlight them and one text. It shows a campaign that outlives it (the rows,
// the paced sending and the queue file TempSms.txt are CampagnaSms's) and forwards the clicks.
class FormInvioSms : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMassimoCaratteri = 160;

    FormInvioSms(StatoGlobale& globale, MotoreGsm& motore, CampagnaSms& campagna,
                 QWidget* parent = nullptr);
    ~FormInvioSms() override;

    // Handlers and routines.
    void listRefresh(int vista);
    bool controlloMese();
    void BtnFiltra_Click();
    // The user ticked or unticked row `riga` (1-based).
    void lstADD_ItemCheck(int riga);
    void TxtTestoSms_Change();
    void BtnInviaSms_Click();
    void Timer1_Timer();
    void CaricaTempSms();
    void BtnEsci_Click();

    // Form state.
    int NumeroRighe = 0;
    QString meseFiltro;
    bool Ripristino = false;

    // Controls.
    QLabel* LblListaClienti;
    QTreeWidget* lstADD;
    QFrame* Frame1;
    std::array<QLineEdit*, 5> Text1{}; // 0 name, 2 month of birth, 4 address
    QPushButton* BtnFiltra;
    QLabel* LblTestoSms;
    QPlainTextEdit* TxtTestoSms;
    QLabel* LblNumCaratteri;
    // Shown while a run is active: the text and the recipients are locked until it ends.
    QLabel* LblInvioInCorso;
    QPushButton* BtnInviaSms;
    QPushButton* BtnEsci;
    // The campaign's own step timer.
    QTimer& Timer1;

    TempSms& Coda() { return campagna_.Coda(); }
    // Row `riga` (1-based).
    QTreeWidgetItem* Riga(int riga) const;
    // The close box and Esc leave as "Esci" does.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void costruisciControlli();
    void posiziona();
    // The text holds characters that will not arrive as written: the user is asked first.
    bool caratteriAccettati();
    // Row `riga` as the campaign now has it (status, note, tick, colours of a run).
    void disegnaRiga(int riga);
    void aggiornaPulsante();
    void aggiornaTesti();
    void impostaStato(QTreeWidgetItem* riga, const QString& stato, const QColor& colore,
                      const QString& suggerimento = QString());
    void coloraRiga(QTreeWidgetItem* riga, const QColor& colore);
    bool spuntata(int riga) const;
    void esci();

    StatoGlobale& globale_;
    MotoreGsm& motore_;
    CampagnaSms& campagna_;
    Guardia guardia_;
    // Changes made by the program, not by the user's hand, while set.
    bool aggiornando_ = false;
    bool ripristinata_ = false;
    bool uscito_ = false;
};
