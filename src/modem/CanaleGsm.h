#pragma once

#include "Comando.h"
#include "RispostaAt.h"
#include "platform/InibizioneModemManager.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

struct ContestoModem;
class ErroreRuntime;

// The serial AT channel: finding and opening the modem's port, and the exchanges with it. Each
// exchange is a `Comando` handed to Invia with its reply handler; the channel keeps them in a
// small queue and writes one at a time: the next goes out only once the one on the line has
// ended (answered, timed out or abandoned). The reply, framed tick by tick, goes to the handler
// given with its command and to nobody else.
class CanaleGsm {
public:
    using Gestore = std::function<void(const RispostaAt&)>;
    // The command ended without a reply: dropped by a new search, by a failed write or by the
    // port closing. `partito` tells whether its line had reached the modem.
    using Abbandono = std::function<void(bool partito)>;

    explicit CanaleGsm(ContestoModem& contesto);

    // A command went to the port; a reply has been handed on (the campaign window's send button
    // follows these).
    std::function<void()> Inviato;
    std::function<void()> Interpretato;

    // Queues `comando`; it is written at once when the line is free. Returns its number (for
    // Abbandona), or 0 when it is refused: the port closed or the closing confirmed. A refused
    // command calls neither handler.
    int Invia(Comando comando, Gestore onRisposta, Abbandono onAbbandono = {});
    // Ends the command `id`, on the line or still queued: its owner is told through its
    // drop handler, and the next one goes out.
    void Abbandona(int id);
    // A new search: every command, on the line or queued, ends; each owner is told.
    void AbbandonaTutti();

    // A command is on the line or waiting to go.
    bool Occupato() const { return inVolo_.has_value() || !coda_.empty(); }
    // The kind of the command on the line, if any.
    std::optional<ComandoGsm> TipoInVolo() const;
    int InCoda() const { return int(coda_.size()); }
    // While a notice of the engine is open, commands sent by a window's timer wait in the queue.
    void TrattieniFinestre(bool trattieni);

    // Finds, opens and sets up the port, from COM `PortaCom` upwards.
    void Accendi_Gsm();
    // One tick of the collection of the awaited reply: taken at the first quiet tick, or given up
    // (as the empty text) when the command's timeout ends.
    void Raccogli();
    // Interprets a framed reply: the common frame, then the handler of the command on the line.
    void Ricevi_Dati(const QString& risposta);
    // For a handler whose reply is not whole yet (a slow modem's reply in pieces, an
    // acknowledgement whose result follows): the same command stays on the line, its timeout
    // counts again, and the reply handed on next starts with `finora`.
    void AttendiAncora(const QString& finora);
    // A line the modem sends of its own accord (+CMTI:, RING, a reset's greeting, a late +CUSD:)
    // goes to the handler registered for its beginning (any case), inside a reply or with the
    // line at rest. Lines nobody registered are only logged.
    using GestoreNonRichiesta = std::function<void(const QString& riga)>;
    void RegistraNonRichiesta(const QString& prefisso, GestoreNonRichiesta gestore,
                              bool ancheInUnaRisposta = true);
    // One idle tick (nothing on the line): what the modem sent meanwhile is read and routed.
    void Ascolta();

    // Writes bytes outside any command (the ESC that drops a half-sent SMS).
    bool ScriviGrezzo(const QString& byte);

    void ChiudiPorta();

private:
    struct Voce {
        int id = 0;
        Comando comando;
        Gestore gestore;
        Abbandono abbandono;
        QString scritta; // as the modem echoes it; empty for an SMS text
    };

    // What a failure of the opening does: go on with the next step, or stop.
    enum class Esito { Riprendi, Ferma };
    Esito erroreApertura(const ErroreRuntime& e);
    void erroreScrittura();
    bool scrivi(Voce& voce);
    // Writes the head of the queue when the line is free.
    void prossimo();
    bool puoScrivere() const;
    void instrada(const QString& riga, bool inUnaRisposta);
    // Which real device the COM number was, for the diagnostic lists of a search without links.
    void diagnosticaPorta();
    // Which program holds a port the search found busy, when /proc shows it.
    void diagnosticaPortaOccupata();

    ContestoModem& m_;
    InibizioneModemManager inibizione_ = InibizioneModemManager::DaAmbiente();
    std::deque<Voce> coda_;
    std::optional<Voce> inVolo_;
    // The command whose reply is being handled, kept for a handler that waits for more.
    std::optional<Voce> gestito_;
    bool inGestione_ = false;
    bool trattieniFinestre_ = false;
    int ultimoId_ = 0;
    struct NonRichiesta {
        QString prefisso;
        GestoreNonRichiesta gestore;
        bool ancheInUnaRisposta = true;
    };
    std::vector<NonRichiesta> nonRichieste_;
    // What came with the line at rest, up to its last complete line.
    QString aRiposo_;
    QString bufferRx_;
    QString trattenuto_;
};
