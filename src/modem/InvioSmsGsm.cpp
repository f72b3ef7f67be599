#include "InvioSmsGsm.h"

#include "MotoreGsm.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSeriale.h"

namespace {

// "OK" and nothing of the reply's own: the modem took the text but the result is still to come.
bool soloOk(const RispostaAt& r) {
    for (const RispostaAt::Riga& riga : r.Righe())
        if (riga.tipo == RispostaAt::Tipo::Informazione || riga.tipo == RispostaAt::Tipo::Errore)
            return false;
    return true;
}

// Something came but not its end: a slow modem's reply in pieces.
bool incompleta(const RispostaAt& r) {
    return !r.Testo().isEmpty() && !r.HaFinale() && !r.Prompt();
}

} // namespace

bool InvioSmsGsm::NumeroScrivibile(const QString& numero) {
    // The quotes of the address line and the line's end must stay the modem's own.
    if (numero.isEmpty())
        return false;
    for (const QChar c : numero)
        if (c == QLatin1Char('"') || c.unicode() < 32 || c.unicode() == 127)
            return false;
    return true;
}

QString InvioSmsGsm::TestoScrivibile(QString testo) {
    // What followed Ctrl-Z or ESC would reach the modem as commands.
    testo.removeIf([](QChar c) {
        return (c.unicode() < 32 && c != QChar(10) && c != QChar(13)) || c.unicode() == 127;
    });
    return testo;
}

InvioSmsGsm::InvioSmsGsm(MotoreGsm& motore)
    : m_(motore) {
    m_.canale.Registra(
        ComandoGsm::InvioSms, [this](const RispostaAt& r) { risposta(r); },
        [this] { abbandonato(); });
}

void InvioSmsGsm::Invia(const QString& numero) {
    StatoGlobale& g = m_.globale;
    senzaRisposta_ = false;
    numero_ = numero;
    g.InvioFallito = false;
    m_.stato.TipoComando = ComandoGsm::InvioSms;
    m_.stato.FaseTesto = false;
    if (!NumeroScrivibile(numero)) {
        fase_ = Fase::Indirizzo;
        esito(true);
        return;
    }
    dcs_ = TestoDaInviare ? m_.codifica.DcsPer(TestoScrivibile(TestoDaInviare())) : 0;
    if (dcs_ == m_.codifica.DcsInvio()) {
        indirizzo();
        return;
    }
    fase_ = Fase::Codifica;
    g.ModoSms = false;
    g.FaseIndirizzo = false;
    g.StringaGsm = CodificaModem::RigaCsmp(dcs_);
    if (!m_.canale.SetStringa_Gsm())
        esito(true);
}

void InvioSmsGsm::indirizzo() {
    StatoGlobale& g = m_.globale;
    fase_ = Fase::Indirizzo;
    g.ModoSms = true;
    g.FaseIndirizzo = true;
    g.StringaGsm = numero_;
    m_.stato.TipoComando = ComandoGsm::InvioSms;
    if (!m_.canale.SetStringa_Gsm())
        esito(true);
}

void InvioSmsGsm::Rilascia() {
    if (!InVolo() && m_.stato.TipoComando == ComandoGsm::InvioSms)
        m_.stato.TipoComando = ComandoGsm::Registrazione;
}

void InvioSmsGsm::risposta(const RispostaAt& r) {
    // The empty text: the timeout, whatever was held of the reply.
    const bool scaduta = r.Testo().isEmpty();
    switch (fase_) {
    case Fase::Nessuna:
        return;
    case Fase::Codifica:
        if (!scaduta && incompleta(r)) {
            m_.canale.AttendiAncora(r.Testo());
            return;
        }
        // A refusal leaves the coding as it was: the SMS goes out all the same.
        m_.codifica.EsitoCsmp(r, dcs_);
        indirizzo();
        return;
    case Fase::Indirizzo:
        if (scaduta)
            esito(true);
        else if (r.Prompt())
            prompt();
        else if (incompleta(r))
            m_.canale.AttendiAncora(r.Testo());
        else
            esito(true); // refused
        return;
    case Fase::Testo:
        if (scaduta) {
            // The text went out and nothing came back in time: the outcome is unknown.
            senzaRisposta_ = true;
            esito(true);
        } else if (r.Ok() && soloOk(r)) {
            m_.canale.AttendiAncora(r.Testo());
        } else if (r.Ok()) {
            esito(false);
        } else if (incompleta(r)) {
            m_.canale.AttendiAncora(r.Testo());
        } else {
            esito(true); // refused
        }
        return;
    case Fase::Annullo:
        esito(true);
        return;
    }
}

void InvioSmsGsm::prompt() {
    StatoModem& s = m_.stato;
    const QString testo = TestoDaInviare ? TestoScrivibile(TestoDaInviare()) : QString();
    if (testo.isEmpty() || (PrimaDelTesto && !PrimaDelTesto())) {
        // Nobody would record this SMS as sent, or the text was emptied meanwhile: ESC makes the
        // modem drop it rather than send an empty message.
        fase_ = Fase::Annullo;
        try {
            m_.porta.Input();
            m_.porta.Output(QString(QChar(27)));
        } catch (const ErroreRuntime&) {
            esito(true);
            return;
        }
        // The answer to the ESC still belongs to this submission's command.
        m_.canale.AttendiAncora(QString());
        return;
    }
    m_.globale.StringaGsm = m_.codifica.CorpoInvio(testo);
    s.FaseTesto = true;
    fase_ = Fase::Testo;
    if (!m_.canale.SetStringa_Gsm())
        esito(true);
}

void InvioSmsGsm::abbandonato() {
    // A new search dropped the command on the line: after the text the SMS may have left.
    if (fase_ == Fase::Nessuna)
        return;
    senzaRisposta_ = fase_ == Fase::Testo;
    esito(true);
}

void InvioSmsGsm::esito(bool fallito) {
    StatoGlobale& g = m_.globale;
    StatoModem& s = m_.stato;
    fase_ = Fase::Nessuna;
    g.ModoSms = false;
    g.FaseIndirizzo = false;
    s.FaseTesto = false;
    // Nothing written: no reply is awaited.
    if (s.TickAttesa == 0)
        s.InAttesaRisposta = false;
    g.InvioFallito = fallito;
    g.InvioConcluso = true;
    // Left on the SMS index, a poll would send whatever the last argument was as a command.
    Rilascia();
    emit m_.InvioTerminato();
}
