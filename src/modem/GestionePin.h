#pragma once

#include "PannelloGsm.h"

struct ContestoModem;
class RispostaAt;

// The SIM check at the end of the start-up, the PIN and PUK entered in the PIN frame, and the
// PIN request of the SIM switched on and off with the PIN button.
class GestionePin {
public:
    explicit GestionePin(ContestoModem& contesto);

    // "OK" of the PIN frame, with the code typed in its box.
    void Ok();
    // "ESC" of the PIN frame.
    void Esc();
    // The PIN button ("Gestione Pin", "Abilita Pin", "Disabilita Pin").
    void Pulsante();
    // The end of the start-up chain: "AT+CLCK?".
    void ControllaSim();
    // A new search: the SIM will be checked again and its PIN entered from the first attempt.
    void Ricomincia();

    // What opened the frame, and so what "OK" sends.
    UsoRiquadroPin Uso = UsoRiquadroPin::Ingresso;

private:
    void rispostaStatoSim(const RispostaAt& r);
    void rispostaPin(const RispostaAt& r);
    void rispostaBloccoPin(const RispostaAt& r);
    void simPronta();
    void chiediCodice();

    ContestoModem& m_;
};
