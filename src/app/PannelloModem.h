#pragma once

#include "modem/PannelloGsm.h"

#include <QWidget>
#include <functional>
#include <optional>

class MotoreGsm;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

// The modem panel of the main window: the technical data drawn from the engine's PannelloGsm
// (port, network, signal, operator, credit, PIN), the PIN frame, and the diagnostic lists that
// F7 shows with every command sent to the modem and every reply.
class PannelloModem : public QWidget {
    Q_OBJECT
public:
    // Runs a handler of the window under its error guard, then has the panel drawn again.
    using Esecutore = std::function<void(const std::function<void()>&)>;

    PannelloModem(MotoreGsm& motore, Esecutore esegui, QWidget* parent = nullptr);

    // Draws what the engine changed since the last time.
    void Disegna();
    // A line of the exchange with the modem, in the list of the sent or of the received.
    void Diagnostica(bool inviata, const QString& riga);
    // F7: the diagnostic lists shown or hidden; shown, they start with what the modem refused.
    void MostraDiagnostica();

    void BtnTrovaGsm_Click();
    void BtnSpegniGsm_Click();
    void btnClearModem_Click();
    // "Gestione Credito": the credit of the operator in use.
    void BtnTestCredito_Click();
    void BtnPinCode_Click();
    void BtnPinEsc_Click();
    void BtnDisabilitaPinCode_Click();

    QGroupBox* FrmDatiTecnici;
    QLabel* LbLPortaModem;
    QLabel* lblledmodem;
    QLabel* lblprovider;
    QLabel* LblCredito;
    QLabel* LblPinCode;
    QProgressBar* ProgressBar1;
    QPushButton* BtnTrovaGsm;
    QPushButton* BtnTestCredito;
    QPushButton* BtnDisabilitaPinCode;
    QPushButton* BtnSpegniGsm;
    QGroupBox* FrmPin;
    QLineEdit* TxtPinCode;
    QPushButton* BtnPinCode;
    QPushButton* BtnPinEsc;
    QGroupBox* FrModem;
    QListWidget* ListSendModem;
    QListWidget* ListRicevutiModem;
    QPushButton* btnClearModem;

private:
    // What is typed in the PIN box goes to the engine with the action, whatever it held.
    void conCodice(const std::function<void()>& azione);

    MotoreGsm& motore_;
    Esecutore esegui_;
    // The panel as last drawn: it is drawn again only when the engine changed it.
    std::optional<PannelloGsm> disegnato_;
};
