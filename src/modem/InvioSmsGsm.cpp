#include "InvioSmsGsm.h"

#include "CanaleGsm.h"
#include "CodificaModem.h"
#include "ContestoModem.h"

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

InvioSmsGsm::InvioSmsGsm(ContestoModem& contesto, CodificaModem& codifica)
    : m_(contesto)
    , codifica_(codifica) {}

void InvioSmsGsm::invia(Fase fase, Comando comando) {
    fase_ = fase;
    // Sent from the campaign's timer: it waits while a notice of the engine is open.
    comando.daFinestra = true;
    if (!m_.canale.Invia(
            std::move(comando), [this](const RispostaAt& r) { risposta(r); },
            [this](bool partito) { abbandonato(partito); }))
        esito(true);
}

void InvioSmsGsm::Invia(const QString& numero) {
    senzaRisposta_ = false;
    numero_ = numero;
    fallito_ = false;
    if (!NumeroScrivibile(numero)) {
        fase_ = Fase::Indirizzo;
        esito(true);
        return;
    }
    dcs_ = TestoDaInviare ? codifica_.DcsPer(TestoScrivibile(TestoDaInviare())) : 0;
    if (dcs_ == codifica_.DcsInvio()) {
        indirizzo();
        return;
    }
    invia(Fase::Codifica, Comando::Composto(ComandoGsm::InvioSms, CodificaModem::RigaCsmp(dcs_),
                                            TabellaComandi::kTimeoutIndirizzo));
}

void InvioSmsGsm::indirizzo() {
    invia(Fase::Indirizzo,
          Comando::Composto(ComandoGsm::InvioSms, numero_, TabellaComandi::kTimeoutIndirizzo,
                            Comando::Forma::Indirizzo));
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
        codifica_.EsitoCsmp(r, dcs_);
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
    const QString testo = TestoDaInviare ? TestoScrivibile(TestoDaInviare()) : QString();
    if (testo.isEmpty() || (PrimaDelTesto && !PrimaDelTesto())) {
        // Nobody would record this SMS as sent, or the text was emptied meanwhile: ESC makes the
        // modem drop it rather than send an empty message.
        fase_ = Fase::Annullo;
        if (!m_.canale.ScriviGrezzo(QString(QChar(27)))) {
            esito(true);
            return;
        }
        // The answer to the ESC still belongs to this submission's command.
        m_.canale.AttendiAncora(QString());
        return;
    }
    invia(Fase::Testo, Comando::Composto(ComandoGsm::InvioSms, codifica_.CorpoInvio(testo),
                                         TabellaComandi::kTimeoutTesto, Comando::Forma::Testo));
}

void InvioSmsGsm::abbandonato(bool partito) {
    // A new search dropped the command on the line: after the text the SMS may have left.
    if (fase_ == Fase::Nessuna)
        return;
    senzaRisposta_ = partito && fase_ == Fase::Testo;
    esito(true);
}

void InvioSmsGsm::esito(bool fallito) {
    fase_ = Fase::Nessuna;
    fallito_ = fallito;
    concluso_ = true;
    if (Terminato)
        Terminato();
}
