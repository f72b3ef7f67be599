#pragma once

#include "RispostaAt.h"
#include "TabellaComandi.h"

#include <QString>
#include <functional>
#include <map>
#include <optional>

class MotoreGsm;
class ErroreRuntime;

// The serial AT channel: finding and opening the modem's port, writing the one outstanding
// command, framing its reply tick by tick, and handing it to the handler registered for the
// command index. Each command sent gets its own record, chosen when it is written, so its reply
// reaches the feature that sent it whatever the shared index says meanwhile.
class CanaleGsm {
public:
    using Gestore = std::function<void(const RispostaAt&)>;
    using Abbandono = std::function<void()>;

    // The command on the line: what was written and for whom.
    struct ComandoInVolo {
        ComandoGsm indice = ComandoGsm::Test;
        QString riga; // as the modem echoes it; empty for an SMS text
        int timeoutTick = 10;
        bool chiamataVocale = false; // the ";" of a voice dial
        bool faseTesto = false;      // the text of an SMS, closed by Ctrl-Z
        Gestore gestore;
        Abbandono abbandono;
    };

    explicit CanaleGsm(MotoreGsm& motore);

    // The handler of a command's reply, and what its feature does when the command is dropped
    // unanswered (a new search of the modem). A command without a handler is only logged.
    void Registra(ComandoGsm comando, Gestore gestore, Abbandono abbandono = {});

    // The command sent last, until its reply has been handed on.
    const std::optional<ComandoInVolo>& InVolo() const { return inVolo_; }
    // A new search: the command on the line gets no reply; its feature is told.
    void Abbandona();

    // Finds, opens and sets up the port, from COM `PortaCom` upwards.
    void Accendi_Gsm();
    // Prepares the line of `stato.TipoComando` by the command table and writes it. Both return
    // whether the line reached the port: nothing is written once the closing is confirmed, with the
    // port closed or when the write fails.
    bool SetStringa_Gsm();
    // Writes the prepared line (an SMS address line, an SMS text, a USSD request, a dial).
    bool Invia_Dati();
    // One tick of the collection of the awaited reply: taken at the first quiet tick, or given up
    // (as the empty text) when the command's timeout ends.
    void Raccogli();
    // Interprets a framed reply: the common frame, then the handler of the command sent.
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
    std::map<ComandoGsm, std::pair<Gestore, Abbandono>> gestori_;
    std::optional<ComandoInVolo> inVolo_;
    // The command whose reply is being handled, kept for a handler that waits for more.
    ComandoInVolo gestito_;
    // The command line last written, as the modem echoes it.
    QString ultimaRiga_;
    QString trattenuto_;
};
