#include "CanaleGsm.h"

#include "DialogoUtente.h"
#include "MotoreGsm.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSeriale.h"

namespace {
// A reply this long is taken as soon as its final result is in, without waiting for the quiet
// tick.
constexpr int kRispostaLunga = 220;
constexpr int kUltimaPorta = 16;
} // namespace

CanaleGsm::CanaleGsm(MotoreGsm& motore)
    : m_(motore) {}

void CanaleGsm::Registra(ComandoGsm comando, Gestore gestore, Abbandono abbandono) {
    gestori_[comando] = {std::move(gestore), std::move(abbandono)};
}

CanaleGsm::Esito CanaleGsm::erroreApertura(const ErroreRuntime& e) {
    StatoModem& s = m_.stato;
    const bool portaMancante =
        e.Number() == ErroreRuntime::PortaNonValida || e.Number() == ErroreRuntime::PortaGiaAperta;
    if (portaMancante && s.PortaCom >= kUltimaPorta) {
        // The search has reached the last port: the program runs without a modem. A last port
        // held by another program ends the search the same way, so that the program can close.
        s.AperturaInCorso = false;
        m_.pannello.porta.testo = QStringLiteral("GSM Spento o non Collegato");
        m_.pannello.trovaGsm = true;
        m_.globale.GsmAbilitato = false;
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
                if (m_.globale.AccensioneDtr)
                    porta.setDTREnable(true);
                porta.setSettings(QStringLiteral("9600,N,8,1"));
            }) == Esito::Ferma)
            return;
        if (!porta.PortOpen())
            return;
        porta.Input();
        // A new power-on pulse starts from its first tick, whatever a search interrupted.
        s.TickAccensione = 0;
        s.AttesaTest = false;
        s.AttesaAccensione = true;
        return;
    }
}

bool CanaleGsm::SetStringa_Gsm() {
    StatoModem& s = m_.stato;
    StatoGlobale& g = m_.globale;
    const ComandoGsm indice = s.TipoComando;
    if (indice == ComandoGsm::LetturaSms)
        ++s.IndiceSim;
    if (const auto riga = TabellaComandi::Comando(indice, s.IndiceSim, s.FaseTesto)) {
        if (!riga->preparatoDalChiamante)
            g.StringaGsm = riga->riga;
        s.TimeoutTick = riga->timeoutTick;
    }
    ComandoInVolo comando;
    comando.indice = indice;
    comando.timeoutTick = s.TimeoutTick;
    comando.chiamataVocale = s.ChiamataVocale;
    comando.faseTesto = s.FaseTesto;
    if (const auto gestore = gestori_.find(indice); gestore != gestori_.end()) {
        comando.gestore = gestore->second.first;
        comando.abbandono = gestore->second.second;
    }
    // The ";" of a dial and the text phase belong to this command alone and end with it.
    s.ChiamataVocale = false;
    s.FaseTesto = false;
    inVolo_ = std::move(comando);
    s.InAttesaRisposta = true;
    emit m_.ComandoInviato();
    return Invia_Dati();
}

bool CanaleGsm::Invia_Dati() {
    StatoModem& s = m_.stato;
    StatoGlobale& g = m_.globale;
    PortaSeriale& porta = m_.porta;
    // Once the closing is confirmed nothing more goes to the modem.
    if (s.ChiusuraRichiesta || !porta.PortOpen())
        return false;
    const bool faseTesto = inVolo_ ? inVolo_->faseTesto : s.FaseTesto;
    const bool chiamataVocale = inVolo_ ? inVolo_->chiamataVocale : s.ChiamataVocale;
    const ComandoGsm indice = inVolo_ ? inVolo_->indice : s.TipoComando;
    QString riga;
    QString diagnostica;
    bool fineRiga = true;
    if (g.ModoSms && g.FaseIndirizzo) {
        riga = QStringLiteral("AT+CMGS=\"") + g.StringaGsm + QLatin1Char('"');
        diagnostica = QStringLiteral("AT+CMGS=") + g.StringaGsm;
        s.TimeoutTick = 100;
    } else if (g.ModoSms && faseTesto) {
        riga = g.StringaGsm + QChar(26);
        diagnostica = g.StringaGsm;
        s.FaseTesto = false;
        g.ModoSms = false;
        fineRiga = false;
    } else if (s.ArgomentoTraVirgolette) {
        riga = g.StringaGsm;
        if (indice == ComandoGsm::Credito)
            riga += QLatin1Char('"') + g.NumeroCredito;
        riga += QLatin1Char('"');
        diagnostica = riga;
    } else {
        riga = g.StringaGsm;
        diagnostica = riga;
    }
    try {
        porta.Input();
        // One character at a time, as the modem expects to be written to.
        for (QChar c : riga)
            porta.Output(QString(c));
        if (fineRiga) {
            if (chiamataVocale)
                porta.Output(QStringLiteral(";"));
            porta.Output(QString(QChar(13)));
        }
    } catch (const ErroreRuntime& e) {
        if (e.Number() == ErroreRuntime::ScritturaSeriale)
            erroreScrittura();
        return false;
    }
    ultimaRiga_ = fineRiga ? riga + (chiamataVocale ? QStringLiteral(";") : QString()) : QString();
    if (inVolo_) {
        inVolo_->riga = ultimaRiga_;
        inVolo_->timeoutTick = s.TimeoutTick;
    }
    if (s.DiagnosticaAttiva)
        m_.utente.Diagnostica(true, diagnostica);
    g.FaseIndirizzo = false;
    g.BufferRx.clear();
    trattenuto_.clear();
    s.TickAttesa = 1;
    s.InAttesaRisposta = true;
    s.ArgomentoTraVirgolette = false;
    return true;
}

void CanaleGsm::erroreScrittura() {
    StatoModem& s = m_.stato;
    m_.utente.Messaggio(QStringLiteral(" ATTENZIONE Errore Seriale. Modulo GSM Rotto o non "
                                       "Collegato. Premere il pulsante TROVA GSM"),
                        Stile::SoloOk);
    m_.pannello.trovaGsm = true;
    m_.stato.TipoComando = ComandoGsm::Test;
    // Nothing went out: no reply comes for this command; its feature sees the failed write.
    inVolo_.reset();
    m_.globale.GsmAbilitato = false;
    s.AperturaInCorso = false;
    try {
        m_.porta.setPortOpen(false);
    } catch (const ErroreRuntime&) {
    }
}

void CanaleGsm::Raccogli() {
    StatoModem& s = m_.stato;
    StatoGlobale& g = m_.globale;
    ++s.TickAttesa;
    const bool arrivati = m_.porta.InBufferCount() > 0;
    if (arrivati)
        g.BufferRx += m_.porta.Input();
    if (!g.BufferRx.isEmpty()) {
        // The reply is whole at the first tick that brings nothing more. A long one is taken
        // as soon as its final result is in, but never a message read: its body may hold a line
        // reading "OK", and a message cut there would leave the SIM with its end lost.
        bool lunga = false;
        if (arrivati && g.BufferRx.size() >= kRispostaLunga &&
            !(inVolo_ && inVolo_->indice == ComandoGsm::LetturaSms))
            lunga = RispostaAt(g.BufferRx, ultimaRiga_).HaFinale();
        if (!arrivati || lunga) {
            s.TickAttesa = 0;
            Ricevi_Dati(g.BufferRx);
            return;
        }
    }
    if (s.TickAttesa >= s.TimeoutTick) {
        // Given up: whatever trickled in is no reply.
        s.TickAttesa = 0;
        g.BufferRx.clear();
        Ricevi_Dati(QString());
    }
}

void CanaleGsm::Ricevi_Dati(const QString& risposta) {
    StatoModem& s = m_.stato;
    s.InAttesaRisposta = false;
    const QString intera = risposta.isEmpty() ? risposta : trattenuto_ + risposta;
    trattenuto_.clear();
    // The reply belongs to the command that was sent, whatever the index says now.
    std::optional<ComandoInVolo> comando;
    comando.swap(inVolo_);
    emit m_.RispostaInterpretata();
    if (s.ChiusuraRichiesta)
        return;
    if (s.DiagnosticaAttiva)
        m_.utente.Diagnostica(false, risposta);
    if (!comando || !comando->gestore)
        return;
    gestito_ = *comando;
    comando->gestore(RispostaAt(intera, comando->riga));
}

void CanaleGsm::AttendiAncora(const QString& finora) {
    // The same command stays on the line.
    if (!inVolo_)
        inVolo_ = gestito_;
    trattenuto_ = finora;
    m_.globale.BufferRx.clear();
    m_.stato.TickAttesa = 2;
    m_.stato.InAttesaRisposta = true;
}

void CanaleGsm::Abbandona() {
    StatoModem& s = m_.stato;
    std::optional<ComandoInVolo> comando;
    comando.swap(inVolo_);
    trattenuto_.clear();
    m_.globale.BufferRx.clear();
    s.TickAttesa = 0;
    s.InAttesaRisposta = false;
    if (comando && comando->abbandono)
        comando->abbandono();
}

void CanaleGsm::ChiudiPorta() {
    if (m_.porta.PortOpen())
        m_.porta.setPortOpen(false);
}
