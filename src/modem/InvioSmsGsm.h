#pragma once

#include "Comando.h"

#include <QString>
#include <functional>

struct ContestoModem;
class RispostaAt;
class CodificaModem;

// The sending of one SMS in text mode for the campaign window: the address line "AT+CMGS=" with
// the number in quotes, the "> " prompt answered with the text and Ctrl-Z, and the outcome handed
// back through `Concluso()` / `Fallito()` and the engine's InvioTerminato signal. One SMS
// at a time; the next one is asked for only once the outcome has come. A text the modem's
// character set cannot carry goes out as UCS2 when the modem offers it: the coding is set first
// and the text is written as hexadecimal.
class InvioSmsGsm {
public:
    InvioSmsGsm(ContestoModem& contesto, CodificaModem& codifica);

    // The outcome has come (Concluso / Fallito tell it).
    std::function<void()> Terminato;

    // Sends one SMS to `numero`: the address line is queued. An outcome always follows, at once
    // when nothing could be sent.
    void Invia(const QString& numero);
    // The outcome of the last SMS asked: it has come, and whether it failed.
    bool Concluso() const { return concluso_; }
    bool Fallito() const { return fallito_; }
    // The outcome has been taken by the window.
    void Preso() { concluso_ = false; }

    // From the request until its outcome.
    bool InVolo() const { return fase_ != Fase::Nessuna; }
    // The last failure came after the text had gone out, with no answer in time (or the modem
    // searched again meanwhile): the SMS may have left all the same. Refused sends and sends
    // that never reached the text are not such.
    bool SenzaRisposta() const { return senzaRisposta_; }

    // What may go between the quotes of the address line: no quote, no control character.
    static bool NumeroScrivibile(const QString& numero);
    // The text of an SMS without the control characters that would end it early (Ctrl-Z) or
    // cancel it (ESC); only the line ends stay.
    static QString TestoScrivibile(QString testo);

    // The text as it stands when the modem's prompt comes. Unset (no window waits for the
    // outcome any more) or empty, the submission is given up at the prompt, so nothing leaves
    // unrecorded and no empty message leaves.
    std::function<QString()> TestoDaInviare;
    // Called when the prompt has come, just before the text is written: false gives the
    // submission up there (nothing leaves).
    std::function<bool()> PrimaDelTesto;

private:
    // Codifica: the coding of the message is being set before the address line.
    enum class Fase { Nessuna, Codifica, Indirizzo, Testo, Annullo };

    void invia(Fase fase, Comando comando);
    void indirizzo();
    void risposta(const RispostaAt& r);
    void prompt();
    void abbandonato(bool partito);
    void esito(bool fallito);

    ContestoModem& m_;
    CodificaModem& codifica_;
    Fase fase_ = Fase::Nessuna;
    bool senzaRisposta_ = false;
    bool concluso_ = false;
    bool fallito_ = false;
    QString numero_;
    int dcs_ = 0;
};
