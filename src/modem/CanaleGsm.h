#pragma once

#include "RispostaAt.h"
#include "TabellaComandi.h"

#include <QString>
#include <functional>
#include <map>

class MotoreGsm;
class ErroreRuntime;

// The serial AT channel: finding and opening the modem's port, writing the one outstanding
// command, framing its reply tick by tick, and handing it to the handler registered for the
// command index.
class CanaleGsm {
public:
    using Gestore = std::function<void(const RispostaAt&)>;

    explicit CanaleGsm(MotoreGsm& motore);

    // The handler of a command's reply. A command without one is only logged.
    void Registra(ComandoGsm comando, Gestore gestore);

    // Finds, opens and sets up the port, from COM `PortaCom` upwards.
    void Accendi_Gsm();
    // Prepares the line of `TipoComando` by the command table and writes it. Both return whether
    // the line reached the port: nothing is written once the closing is confirmed, with the port
    // closed or when the write fails.
    bool SetStringa_Gsm();
    // Writes the prepared line (an SMS address line, an SMS text, a USSD request, a dial).
    bool Invia_Dati();
    // One tick of the collection of the awaited reply: taken at the first quiet tick, or given up
    // (as the empty text) when the command's timeout ends.
    void Raccogli();
    // Interprets a framed reply: the common frame, then the handler of `TipoComando`.
    void Ricevi_Dati(const QString& risposta);
    // For a handler whose reply is not whole yet (a slow modem's reply in pieces, an
    // acknowledgement whose result follows): the collection goes on, its timeout counts again,
    // and the reply handed on next starts with `finora`. The timeout hands on the empty text.
    void AttendiAncora(const QString& finora);

    void ChiudiPorta();

private:
    // What a failure of the opening does: go on with the next step, or stop.
    enum class Esito { Riprendi, Ferma };
    Esito erroreApertura(const ErroreRuntime& e);
    void erroreScrittura();

    MotoreGsm& m_;
    std::map<ComandoGsm, Gestore> gestori_;
    // The command line last written, as the modem echoes it.
    QString ultimaRiga_;
    QString trattenuto_;
};
