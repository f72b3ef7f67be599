#include "CanaleGsm.h"

#include "ContestoModem.h"
#include "DialogoUtente.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSeriale.h"
#include "platform/PorteCom.h"
#include "platform/ProgrammaSullaPorta.h"
#include "platform/StiliMessaggio.h"

#include <algorithm>

namespace {
// A reply this long is taken as soon as its final result is in, without waiting for the quiet
// tick.
constexpr int kRispostaLunga = 220;
constexpr int kUltimaPorta = 16;
} // namespace

CanaleGsm::CanaleGsm(ContestoModem& contesto)
    : m_(contesto) {}

CanaleGsm::Esito CanaleGsm::erroreApertura(const ErroreRuntime& e) {
    StatoModem& s = m_.stato;
    const bool portaMancante =
        e.Number() == ErroreRuntime::PortaNonValida || e.Number() == ErroreRuntime::PortaGiaAperta;
    if (e.Number() == ErroreRuntime::PortaGiaAperta)
        diagnosticaPortaOccupata();
    if (portaMancante && s.PortaCom >= kUltimaPorta) {
        // The search has reached the last port: the program runs without a modem. A last port
        // held by another program ends the search the same way, so that the program can close.
        s.AperturaInCorso = false;
        m_.pannello.porta.testo = QStringLiteral("GSM Spento o non Collegato");
        m_.pannello.trovaGsm = true;
        s.GsmAbilitato = false;
        s.TestInCorso = false;
        s.RicercaPorta = false;
        m_.pannello.DisattivaStato();
        return Esito::Ferma;
    }
    if (portaMancante) {
        ++s.PortaCom;
        m_.pannello.porta.testo =
            QStringLiteral("Accendo il GSM Com: ") + QString::number(s.PortaCom);
        s.RicercaPorta = true;
        return Esito::Riprendi;
    }
    m_.pannello.DisattivaStato();
    return Esito::Ferma;
}

void CanaleGsm::Accendi_Gsm() {
    StatoModem& s = m_.stato;
    PortaSeriale& porta = m_.porta;
    const auto passo = [&](auto&& azione) {
        try {
            azione();
            return Esito::Riprendi;
        } catch (const ErroreRuntime& e) {
            return erroreApertura(e);
        }
    };
    // Each port is tried once at most, so the loop always ends.
    for (int tentativo = 0; tentativo <= kUltimaPorta; ++tentativo) {
        if (passo([&] { porta.setCommPort(s.PortaCom); }) == Esito::Ferma)
            return;
        if (porta.PortOpen() && passo([&] {
                                    porta.setPortOpen(false);
                                    porta.setDTREnable(false);
                                }) == Esito::Ferma)
            return;
        if (porta.PortOpen())
            return;
        if (passo([&] { porta.setPortOpen(true); }) == Esito::Ferma)
            return;
        if (passo([&] { porta.setDTREnable(false); }) == Esito::Ferma)
            return;
        if (s.RicercaPorta) {
            s.RicercaPorta = false;
            continue;
        }
        if (passo([&] {
                porta.setInputModeTesto();
                if (m_.impostazioni.accensioneDtr)
                    porta.setDTREnable(true);
                porta.setSettings(QStringLiteral("9600,N,8,1"));
            }) == Esito::Ferma)
            return;
        if (!porta.PortOpen())
            return;
        diagnosticaPorta();
        // The desktop's modem service lets the modem go before the program's first AT command.
        if (const QString avviso = inibizione_.Lascia(porta.Dispositivo()); !avviso.isEmpty())
            m_.avvisi.Avvisa(avviso, Stile::Esclamazione);
        porta.Input();
        // A new power-on pulse starts from its first tick, whatever a search interrupted.
        s.TickAccensione = 0;
        s.AttesaTest = false;
        s.AttesaAccensione = true;
        return;
    }
}

void CanaleGsm::diagnosticaPorta() {
    const QString dispositivo = m_.porta.Dispositivo();
    if (!m_.stato.DiagnosticaAttiva || dispositivo.isEmpty() ||
        PorteCom::ConCollegamenti(m_.globale.cartellaProgramma))
        return;
    const QStringList stabili = PorteCom::NomiStabili(dispositivo);
    m_.utente.Diagnostica(
        false, QStringLiteral("COM%1 è %2").arg(m_.stato.PortaCom).arg(dispositivo) +
                   (stabili.isEmpty() ? QString()
                                      : QStringLiteral(" (") + stabili.join(QStringLiteral(", ")) +
                                            QLatin1Char(')')));
}

void CanaleGsm::diagnosticaPortaOccupata() {
    if (!m_.stato.DiagnosticaAttiva)
        return;
    const QString chi = ProgrammaSullaPorta::Chi(
        PorteCom::Dispositivo(m_.globale.cartellaProgramma, m_.stato.PortaCom));
    if (!chi.isEmpty())
        m_.utente.Diagnostica(
            false, QStringLiteral("COM%1 è usata da %2").arg(m_.stato.PortaCom).arg(chi));
}

bool CanaleGsm::puoScrivere() const {
    // Once the closing is confirmed nothing more goes to the modem.
    return !m_.stato.ChiusuraRichiesta && m_.porta.PortOpen();
}

int CanaleGsm::Invia(Comando comando, Gestore onRisposta, Abbandono onAbbandono) {
    if (!puoScrivere())
        return 0;
    const int id = ++ultimoId_;
    coda_.push_back(
        Voce{id, std::move(comando), std::move(onRisposta), std::move(onAbbandono), {}});
    // A command sent from a reply handler goes out once that handler has returned.
    if (!inGestione_)
        prossimo();
    return id;
}

std::optional<ComandoGsm> CanaleGsm::TipoInVolo() const {
    if (!inVolo_)
        return std::nullopt;
    return inVolo_->comando.tipo;
}

void CanaleGsm::TrattieniFinestre(bool trattieni) {
    trattieniFinestre_ = trattieni;
    if (!trattieni && !inGestione_)
        prossimo();
}

void CanaleGsm::prossimo() {
    while (!inVolo_) {
        const auto voce = std::find_if(coda_.begin(), coda_.end(), [this](const Voce& v) {
            return !(v.comando.daFinestra && trattieniFinestre_);
        });
        if (voce == coda_.end())
            return;
        Voce v = std::move(*voce);
        coda_.erase(voce);
        if (!puoScrivere()) {
            if (v.abbandono)
                v.abbandono(false);
            continue;
        }
        inVolo_ = std::move(v);
        m_.stato.InAttesaRisposta = true;
        if (Inviato)
            Inviato();
        if (!scrivi(*inVolo_)) {
            std::optional<Voce> fallito;
            fallito.swap(inVolo_);
            m_.stato.InAttesaRisposta = false;
            if (fallito && fallito->abbandono)
                fallito->abbandono(false);
        }
    }
}

bool CanaleGsm::scrivi(Voce& voce) {
    StatoModem& s = m_.stato;
    PortaSeriale& porta = m_.porta;
    const Comando& c = voce.comando;
    QString riga;
    QString diagnostica;
    bool fineRiga = true;
    switch (c.forma) {
    case Comando::Forma::Indirizzo:
        riga = QStringLiteral("AT+CMGS=\"") + c.riga + QLatin1Char('"');
        diagnostica = QStringLiteral("AT+CMGS=") + c.riga;
        break;
    case Comando::Forma::Testo:
        riga = c.riga + QChar(26);
        diagnostica = c.riga;
        fineRiga = false;
        break;
    case Comando::Forma::TraVirgolette:
        riga = c.riga + QLatin1Char('"') + c.argomento + QLatin1Char('"');
        diagnostica = riga;
        break;
    case Comando::Forma::Semplice:
    case Comando::Forma::Chiamata:
        riga = c.riga;
        diagnostica = riga;
        break;
    }
    const bool chiamata = c.forma == Comando::Forma::Chiamata;
    try {
        porta.Input();
        // One character at a time, as the modem expects to be written to.
        for (QChar ch : riga)
            porta.Output(QString(ch));
        if (fineRiga) {
            if (chiamata)
                porta.Output(QStringLiteral(";"));
            porta.Output(QString(QChar(13)));
        }
    } catch (const ErroreRuntime& e) {
        if (e.Number() == ErroreRuntime::ScritturaSeriale)
            erroreScrittura();
        return false;
    }
    voce.scritta = fineRiga ? riga + (chiamata ? QStringLiteral(";") : QString()) : QString();
    if (s.DiagnosticaAttiva)
        m_.utente.Diagnostica(true, diagnostica);
    bufferRx_.clear();
    trattenuto_.clear();
    aRiposo_.clear();
    s.TickAttesa = 1;
    return true;
}

bool CanaleGsm::ScriviGrezzo(const QString& byte) {
    try {
        m_.porta.Input();
        m_.porta.Output(byte);
        return true;
    } catch (const ErroreRuntime&) {
        return false;
    }
}

void CanaleGsm::erroreScrittura() {
    StatoModem& s = m_.stato;
    m_.avvisi.Avvisa(QStringLiteral(" ATTENZIONE Errore Seriale. Modulo GSM Rotto o non "
                                    "Collegato. Premere il pulsante TROVA GSM"),
                     Stile::SoloOk);
    m_.pannello.trovaGsm = true;
    s.GsmAbilitato = false;
    s.AperturaInCorso = false;
    try {
        m_.porta.setPortOpen(false);
    } catch (const ErroreRuntime&) {
    }
}

void CanaleGsm::Raccogli() {
    StatoModem& s = m_.stato;
    ++s.TickAttesa;
    const bool arrivati = m_.porta.InBufferCount() > 0;
    if (arrivati)
        bufferRx_ += m_.porta.Input();
    if (!bufferRx_.isEmpty()) {
        // The reply is whole at the first tick that brings nothing more. A long one is taken
        // as soon as its final result is in, but never a message read: its body may hold a line
        // reading "OK", and a message cut there would leave the SIM with its end lost.
        bool lunga = false;
        if (arrivati && bufferRx_.size() >= kRispostaLunga &&
            !(inVolo_ && inVolo_->comando.tipo == ComandoGsm::LetturaSms))
            lunga = RispostaAt(bufferRx_, inVolo_ ? inVolo_->scritta : QString()).HaFinale();
        if (!arrivati || lunga) {
            s.TickAttesa = 0;
            const QString risposta = bufferRx_;
            bufferRx_.clear();
            Ricevi_Dati(risposta);
            return;
        }
    }
    const int timeout = inVolo_ ? inVolo_->comando.timeoutTick : 10;
    if (s.TickAttesa >= timeout) {
        // Given up: whatever trickled in is no reply.
        s.TickAttesa = 0;
        bufferRx_.clear();
        Ricevi_Dati(QString());
    }
}

void CanaleGsm::Ricevi_Dati(const QString& risposta) {
    StatoModem& s = m_.stato;
    s.InAttesaRisposta = false;
    const QString intera = risposta.isEmpty() ? risposta : trattenuto_ + risposta;
    trattenuto_.clear();
    // The reply belongs to the command on the line, and its exchange ends here.
    std::optional<Voce> voce;
    voce.swap(inVolo_);
    if (Interpretato)
        Interpretato();
    if (s.ChiusuraRichiesta)
        return;
    if (s.DiagnosticaAttiva)
        m_.utente.Diagnostica(false, risposta);
    inGestione_ = true;
    // The lines the modem slipped into this piece of the reply go to their handlers first, so
    // that what they learn (a message arrived) is weighed against the state before the reply.
    const QString scritta = voce ? voce->scritta : QString();
    const RispostaAt nuova(risposta, scritta);
    for (qsizetype i = 0; i < nuova.Righe().size(); ++i)
        if (nuova.Righe()[i].tipo == RispostaAt::Tipo::NonRichiesta)
            instrada(nuova.TestoRiga(i), true);
    if (voce && voce->gestore) {
        gestito_ = voce;
        voce->gestore(RispostaAt(intera, scritta));
        gestito_.reset();
    }
    inGestione_ = false;
    prossimo();
}

void CanaleGsm::RegistraNonRichiesta(const QString& prefisso, GestoreNonRichiesta gestore,
                                     bool ancheInUnaRisposta) {
    nonRichieste_.push_back({prefisso, std::move(gestore), ancheInUnaRisposta});
}

void CanaleGsm::instrada(const QString& riga, bool inUnaRisposta) {
    const QString t = riga.trimmed();
    for (const NonRichiesta& n : nonRichieste_)
        if ((!inUnaRisposta || n.ancheInUnaRisposta) &&
            t.startsWith(n.prefisso, Qt::CaseInsensitive)) {
            n.gestore(t);
            return;
        }
}

void CanaleGsm::Ascolta() {
    if (inVolo_ || m_.stato.ChiusuraRichiesta || !m_.porta.PortOpen() ||
        m_.porta.InBufferCount() <= 0)
        return;
    QString arrivati;
    try {
        arrivati = m_.porta.Input();
    } catch (const ErroreRuntime&) {
        return;
    }
    if (m_.stato.DiagnosticaAttiva)
        m_.utente.Diagnostica(false, arrivati);
    aRiposo_ += arrivati;
    // Only whole lines; a line cut by the tick waits for its end. Noise without a line end
    // never grows past a reply's size.
    const qsizetype fine = aRiposo_.lastIndexOf(QLatin1Char('\n'));
    if (fine < 0) {
        if (aRiposo_.size() > 4096)
            aRiposo_.clear();
        return;
    }
    const QStringList righe = aRiposo_.left(fine).split(QLatin1Char('\n'));
    aRiposo_.remove(0, fine + 1);
    inGestione_ = true;
    for (const QString& riga : righe)
        if (!riga.trimmed().isEmpty())
            instrada(riga, false);
    inGestione_ = false;
    prossimo();
}

void CanaleGsm::AttendiAncora(const QString& finora) {
    // The same command stays on the line.
    if (!inVolo_ && gestito_)
        inVolo_ = gestito_;
    trattenuto_ = finora;
    bufferRx_.clear();
    m_.stato.TickAttesa = 2;
    m_.stato.InAttesaRisposta = true;
}

void CanaleGsm::Abbandona(int id) {
    if (inVolo_ && inVolo_->id == id) {
        std::optional<Voce> voce;
        voce.swap(inVolo_);
        trattenuto_.clear();
        bufferRx_.clear();
        m_.stato.TickAttesa = 0;
        m_.stato.InAttesaRisposta = false;
        if (voce->abbandono)
            voce->abbandono(true);
        if (!inGestione_)
            prossimo();
        return;
    }
    const auto voce =
        std::find_if(coda_.begin(), coda_.end(), [id](const Voce& v) { return v.id == id; });
    if (voce == coda_.end())
        return;
    Voce v = std::move(*voce);
    coda_.erase(voce);
    if (v.abbandono)
        v.abbandono(false);
}

void CanaleGsm::AbbandonaTutti() {
    // What an owner sends on being told is dropped as well: the search starts from nothing.
    const bool gestione = inGestione_;
    inGestione_ = true;
    while (inVolo_ || !coda_.empty()) {
        if (inVolo_) {
            Abbandona(inVolo_->id);
            continue;
        }
        Abbandona(coda_.front().id);
    }
    inGestione_ = gestione;
}

void CanaleGsm::ChiudiPorta() {
    if (m_.porta.PortOpen())
        m_.porta.setPortOpen(false);
}
