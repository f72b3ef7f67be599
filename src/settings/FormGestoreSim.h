#pragma once

#include "platform/Guardia.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

struct StatoGlobale;
struct PannelloGsm;

// "Dati Gestore Sim Per Credito": the mobile operators whose SIM the business may use, how each
// one's prepaid credit is asked, and which one is in use. Adds and changes operators (never
// deletes one) and hands the main window the two call services of the operator in use.
class FormGestoreSim : public QDialog {
    Q_OBJECT
public:
    // `pannello` is the main window's modem panel: the operator label follows a save at once.
    FormGestoreSim(StatoGlobale& stato, PannelloGsm& pannello, QWidget* parent = nullptr);

    void Combo1_Click();
    void Command1_Click(int index);
    void Command2_Click(int index);

    QComboBox* Combo1;
    std::array<QLineEdit*, 3> Text1{};
    std::array<QLineEdit*, 3> Text2{}; // day, month, year of the last top-up
    std::array<QRadioButton*, 4> Option1{};
    QCheckBox* Option2; // "SMS Credito"
    QCheckBox* Check1;  // "Seleziona"
    QLabel* LbLCreditoSim;
    std::array<QPushButton*, 2> Command1{};
    std::array<QPushButton*, 2> Command2{};

    // The identifier of the operator shown; 0 while adding.
    qint64 IdMostrato() const { return idMostrato_; }

private:
    void costruisciControlli();
    void carica();
    void svuota();
    // Adds the operator shown when it is a new one (IdMostrato 0), changes it otherwise.
    void salva();
    // The running program takes the operator stored as in use, as a new start would.
    void aggiornaProgramma();
    void errore(int numero, const QString& descrizione);
    bool inAggiunta() const;

    StatoGlobale& stato_;
    PannelloGsm& pannello_;
    Guardia guardia_;
    // The identifiers of the list's operators, in the list's order.
    QVector<qint64> id_;
    qint64 idMostrato_ = 0;
};
