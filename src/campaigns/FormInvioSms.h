#pragma once

#include "campaigns/ClientiCampagna.h"
#include "campaigns/TempSms.h"
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
// the filters that highlight them, one text, and the paced sending of that text to every ticked
// customer, one SMS at a time through the modem engine, with the queue file TempSms.txt keeping
// the campaign across runs.
class FormInvioSms : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMassimoCaratteri = 160;

    FormInvioSms(StatoGlobale& globale, MotoreGsm& motore, QWidget* parent = nullptr);
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
    int RigaCorrente = 0; // the row the campaign has reached, 1-based; 0 before the first
    bool InvioEseguito = false;
    // The letter of each row's queue code, by row position.
    QVector<QChar> CodiciRighe;

    // Controls.
    QLabel* LblListaClienti;
    QTreeWidget* lstADD;
    QFrame* Frame1;
    std::array<QLineEdit*, 5> Text1{}; // 0 name, 2 month of birth, 4 address
    QPushButton* BtnFiltra;
    QLabel* LblTestoSms;
    QPlainTextEdit* TxtTestoSms;
    QLabel* LblNumCaratteri;
    QPushButton* BtnInviaSms;
    QPushButton* BtnEsci;
    QTimer Timer1;

    TempSms& Coda() { return coda_; }
    // Row `riga` (1-based).
    QTreeWidgetItem* Riga(int riga) const;
    // The close box and Esc leave as "Esci" does.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void costruisciControlli();
    void posiziona();
    void passo();
    // The text holds characters that will not arrive as written: the user is asked first.
    bool caratteriAccettati();
    void avviaInvio(int riga);
    void registraEsito(bool fallito);
    void fineGiro();
    void ferma();
    void riscriviCoda();
    void aggiornaPulsante();
    void impostaStato(QTreeWidgetItem* riga, const QString& stato, const QColor& colore,
                      const QString& suggerimento = QString());
    void coloraRiga(QTreeWidgetItem* riga, const QColor& colore);
    bool spuntata(int riga) const;
    void esci();

    StatoGlobale& globale_;
    MotoreGsm& motore_;
    TempSms coda_;
    Guardia guardia_;
    QVector<ClienteRegistro> clienti_;
    // The campaign runs ("Annulla" shown), and its SMS waits for the engine's outcome.
    bool campagnaAttiva_ = false;
    bool inAttesaEsito_ = false;
    // Changes made by the program, not by the user's hand, while set.
    bool aggiornando_ = false;
    bool ripristinata_ = false;
    bool uscito_ = false;
};
