#pragma once

#include <QString>

class MotoreGsm;
class RispostaAt;

// The prepaid credit and the call services of the operator in use. "Gestione Credito" asks the
// credit as the operator's settings say: an SMS to the service number, a USSD request, or a voice
// call; the USSD answer gives the credit at once, which is shown and stored in the operator's
// records (with today's date when it grew). The call services dial "##002#" (voicemail off) or
// "#43#" (call forwarding off) once, when the modem is registered and idle.
class CreditoGsm {
public:
    explicit CreditoGsm(MotoreGsm& motore);

    // "Gestione Credito". Returns the answer of the box shown when the request is refused (the
    // modem not registered, or busy), 0 when none was shown.
    int GestioneCredito();
    // The idle step of a tick: the call service asked, when the modem can take it.
    void PassoServizi();
    // Dials the code of `ServizioRichiesto`.
    void Disattiva_Servizi();

private:
    void rispostaCredito(const RispostaAt& r);
    void rispostaServizi(const RispostaAt& r);
    void creditoUssd(const QString& testo);
    void fine();

    MotoreGsm& m_;
    // The SMS request waits for the coding to be set first, with this scheme.
    bool codificaCredito_ = false;
    int dcsCredito_ = 0;
};
