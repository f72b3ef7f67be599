#pragma once

#include "archive/ImpostazioniAttivita.h"
#include "platform/Guardia.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

struct StatoGlobale;
struct PannelloGsm;
class ModulofnStampa;

// "Configurazione Attività": the business data printed on the business cards and the device
// switches (modem power-on, automatic printing, the 80-column printer and its port). The window
// starts from the settings in use and fills itself from the record; a switch clicked is told at
// once (Cambiate) to whoever keeps the settings in use; "Modifica" stores the whole record.
class FormConfigura : public QDialog {
    Q_OBJECT
public:
    // `pannello` is the main window's modem panel: the operator label follows a save.
    FormConfigura(StatoGlobale& stato, const ImpostazioniAttivita& inUso, ModulofnStampa& stampa,
                  PannelloGsm& pannello, QWidget* parent = nullptr);

    // Fills the window and its four switches from the settings record.
    void TextRecord();
    // The settings as this window has them now: those in use, then as read and switched here.
    const ImpostazioniAttivita& Impostazioni() const { return impostazioni_; }
    void Command1_Click(int index);
    void OptAccGsm_Click();
    void OptModStampa_Click();
    void Opt80Colonne_Click();

    // The boxes by their index: 0 business name, 1 contact, 2 GSM telephone, 3 business
    // telephone, 4 address, 5 advertising text, 6 printer port.
    QString Testo1(int indice) const;

    std::array<QLineEdit*, 7> Text1{}; // all but 5
    QPlainTextEdit* Text1_5;           // the advertising text, several lines
    std::array<QLabel*, 7> Label1{};
    QGroupBox* Frame3;
    QLabel* Label_Com;
    QCheckBox* Opt80Colonne;
    std::array<QRadioButton*, 2> OptAccGsm{};
    std::array<QRadioButton*, 2> OptModStampa{};
    std::array<QPushButton*, 3> Command1{};

signals:
    // The settings were changed here (a switch clicked, the record read again or stored): the
    // program acts on `impostazioni` from now on.
    void Cambiate(const ImpostazioniAttivita& impostazioni);

private:
    void costruisciControlli();
    void salva();
    // Changes the settings this window has and tells it.
    void cambia(const std::function<void(ImpostazioniAttivita&)>& modifica);

    StatoGlobale& stato_;
    ImpostazioniAttivita impostazioni_;
    ModulofnStampa& stampa_;
    PannelloGsm& pannello_;
    Guardia guardia_;
};
