#pragma once

#include "Comando.h"

#include <QString>

struct ContestoModem;
class RispostaAt;
class CodificaModem;

// The prepaid credit and the call services of the operator in use. "Gestione Credito" asks the
// credit as the operator's settings say: an SMS to the service number, a USSD request, or a voice
// call; the USSD answer gives the credit at once, which is shown and stored in the operator's
// records (with today's date when it grew). The call services dial "##002#" (voicemail off) or
// "#43#" (call forwarding off) once, when the modem is registered and idle.
class CreditoGsm {
public:
    CreditoGsm(ContestoModem& contesto, CodificaModem& codifica);

    // What came of "Gestione Credito".
    enum class Esito {
        Richiesta,  // the request is on its way to the operator
        NonGestito, // the operator in use has no way to ask the credit
        Rifiutata,  // refused with a box: the modem not registered, busy, or the code unfit
    };
    Esito GestioneCredito();
    // The idle step of a tick: the call service asked, when the modem can take it.
    void PassoServizi();
    // A "+CUSD:" line outside any exchange: the network's answer after the request timed out.
    void UssdTardivo(const QString& riga);
    // A request of the credit or of a call service is under way.
    bool InCorso() const { return fase_ != Fase::Nessuna; }
    // Dials the code of the panel's `servizioRichiesto`.
    void Disattiva_Servizi();

private:
    // Where the request stands: the coding of the SMS request being set, its address line, its
    // text, the USSD request, the dial, or a call service.
    enum class Fase { Nessuna, Codifica, Indirizzo, Testo, Ussd, Chiamata, Servizio };

    bool invia(Fase fase, Comando comando);
    void indirizzo();
    void rispostaCredito(const RispostaAt& r);
    void rispostaServizi(const RispostaAt& r, int servizio);
    void creditoUssd(const QString& testo);
    void fine();

    ContestoModem& m_;
    CodificaModem& codifica_;
    Fase fase_ = Fase::Nessuna;
    // The scheme the SMS request goes out with.
    int dcsCredito_ = 0;
};
