#pragma once

#include <QString>

// Where the SIM stands on its PIN, as the PIN label tells it. Polling runs only once it is
// Abilitato.
enum class StatoPin {
    PrimoInserimento,   // "1° Inserimento PIN"
    SecondoInserimento, // "2° Inserimento PIN"
    TerzoInserimento,   // "3° Inserimento PIN"
    PukRichiesto,       // the SIM check found the SIM blocked
    InserirePuk,        // the third wrong PIN blocked it
    Abilitato,          // "GSM ABILITATO"
};

// What the PIN button switches: the SIM's PIN request as last known.
enum class RichiestaPin {
    NonNota,   // "Gestione Pin"
    Disattiva, // "Abilita Pin": pressing it switches the request on
    Attiva,    // "Disabilita Pin": pressing it switches the request off
};

// What "OK" of the PIN frame does: enter the PIN (or the PUK) the SIM asks for, or switch the
// PIN request, depending on what opened the frame.
enum class UsoRiquadroPin { Ingresso, Cambio };

// The modem panel of the main window as the engine leaves it: texts, enabled states, the signal
// bar, the PIN frame and its box. The window only draws it.
struct PannelloGsm {
    struct Voce {
        QString testo;
        bool attiva = true;
        bool operator==(const Voce&) const = default;
    };

    Voce porta{QStringLiteral("Porta Gsm =")};       // LbLPortaModem
    Voce rete{QStringLiteral("Non Registrato")};     // lblledmodem
    Voce operatore{QStringLiteral("Operatore Sim")}; // lblprovider
    Voce credito{QStringLiteral("Credito :")};       // LblCredito
    int segnale = 0;                                 // ProgressBar1, 0..100
    bool segnaleAttivo = true;
    bool trovaGsm = true;        // BtnTrovaGsm enabled
    bool gestioneCredito = true; // BtnTestCredito enabled
    bool gestionePin = true;     // BtnDisabilitaPinCode enabled
    RichiestaPin richiestaPin = RichiestaPin::NonNota;
    StatoPin statoPin = StatoPin::PrimoInserimento; // LblPinCode
    bool riquadroPin = false;                       // FrmPin shown
    QString codicePin;                              // TxtPinCode
    QString revisione; // what "AT+CGMR" reported, for the settings window
    QString modello;   // what "AT+CGMM" reported, for the settings window
    // The call service the operator window asked for (1 voicemail off, 2 forwarding off), sent
    // once when the modem is registered and idle.
    int servizioRichiesto = 0;

    // Registration, operator and credit mean nothing without a modem answering.
    void DisattivaStato();
    // The modem is off or being searched: nothing but the port label means anything.
    void Spegni();
    // The credit label: the credit last read, or one still to be confirmed by a reading.
    void MostraCredito(const QString& valore, bool daConfermare = false);

    QString TestoStatoPin() const;
    bool operator==(const PannelloGsm&) const = default;
    QString TestoPulsantePin() const;
};
