#include "CreditoGsm.h"

#include "CanaleGsm.h"
#include "CodificaModem.h"
#include "ContestoModem.h"
#include "DialogoUtente.h"
#include "InvioSmsGsm.h"
#include "LetturaCredito.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "archive/Transazione.h"
#include "platform/ErroreRuntime.h"

namespace {

enum Modalita { NonGestito = 0, PerSms = 1, PerUssd = 2, PerChiamata = 3 };

// The code goes between quotes, or is dialled: a quote, a ';' or a control character in it would
// end the line early and hand the rest to the modem as commands.
bool codiceScrivibile(const QString& codice) {
    return InvioSmsGsm::NumeroScrivibile(codice) && !codice.contains(QLatin1Char(';'));
}

} // namespace

CreditoGsm::CreditoGsm(ContestoModem& contesto, CodificaModem& codifica)
    : m_(contesto)
    , codifica_(codifica) {}

bool CreditoGsm::invia(Fase fase, Comando comando) {
    fase_ = fase;
    if (m_.canale.Invia(
            std::move(comando), [this](const RispostaAt& r) { rispostaCredito(r); },
            [this](bool) { fine(); }))
        return true;
    fine();
    return false;
}

void CreditoGsm::indirizzo() {
    invia(Fase::Indirizzo,
          Comando::Composto(ComandoGsm::Credito, m_.globale.gestore.numeroCredito,
                            TabellaComandi::kTimeoutIndirizzo, Comando::Forma::Indirizzo));
}

CreditoGsm::Esito CreditoGsm::GestioneCredito() {
    StatoGlobale& g = m_.globale;
    StatoModem& s = m_.stato;
    // Refused before anything is touched, so that an exchange under way keeps its state.
    if (!s.Registrato) {
        m_.utente.Messaggio(QStringLiteral("MODEM GSM NON REGISTRATO ALLA RETE"), Stile::SoloOk);
        return Esito::Rifiutata;
    }
    if (m_.canale.Occupato() || fase_ != Fase::Nessuna) {
        m_.utente.Messaggio(QStringLiteral("MODEM OCCUPATO IN ATTESA DI RISPOSTA"), Stile::SoloOk);
        return Esito::Rifiutata;
    }
    const int modalita = g.gestore.modalita;
    if (modalita < PerSms || modalita > PerChiamata)
        return Esito::NonGestito;
    if (!codiceScrivibile(g.gestore.numeroCredito)) {
        m_.utente.Messaggio(
            QStringLiteral("Il numero per la gestione del credito \"%1\" non si può inviare al "
                           "modem. Correggerlo in Impostazioni, Imposta Gestore Sim.")
                .arg(g.gestore.numeroCredito),
            Stile::Esclamazione);
        return Esito::Rifiutata;
    }
    m_.pannello.MostraCredito(g.gestore.credito, true);
    const int timeout = TabellaComandi::Riga(ComandoGsm::Credito).timeoutTick;
    switch (modalita) {
    case PerSms:
        // The request goes through the same coding step as any SMS.
        dcsCredito_ = codifica_.DcsPer(InvioSmsGsm::TestoScrivibile(g.gestore.testoCredito));
        if (dcsCredito_ != codifica_.DcsInvio())
            invia(Fase::Codifica, Comando::Composto(ComandoGsm::Credito,
                                                    CodificaModem::RigaCsmp(dcsCredito_), timeout));
        else
            indirizzo();
        break;
    case PerUssd: {
        Comando c = Comando::Composto(ComandoGsm::Credito, QStringLiteral("AT+CUSD=1,"), timeout,
                                      Comando::Forma::TraVirgolette);
        c.argomento = g.gestore.numeroCredito;
        invia(Fase::Ussd, std::move(c));
        break;
    }
    default:
        invia(Fase::Chiamata, Comando::Composto(ComandoGsm::Credito,
                                                QStringLiteral("ATD") + g.gestore.numeroCredito,
                                                timeout, Comando::Forma::Chiamata));
        break;
    }
    return Esito::Richiesta;
}

void CreditoGsm::rispostaCredito(const RispostaAt& r) {
    StatoGlobale& g = m_.globale;
    // The empty text: the timeout, whatever was held of the answer.
    const QString& testo = r.Testo();
    if (testo.isEmpty()) {
        fine();
        return;
    }
    if (fase_ == Fase::Codifica) {
        // The coding is set: now the address line of the request.
        codifica_.EsitoCsmp(r, dcsCredito_);
        indirizzo();
        return;
    }

    // The network's answer: it may come with the acknowledgement or after it.
    if (const auto ussd = LetturaCredito::TestoUssd(testo)) {
        creditoUssd(*ussd);
        fine();
        return;
    }
    const qsizetype cusd = testo.indexOf(QLatin1String("+CUSD:"), 0, Qt::CaseInsensitive);
    if (cusd >= 0) {
        // An answer without a text between quotes ("+CUSD: 4", the service refused): once its
        // line has ended nothing more is coming.
        const QString resto = testo.mid(cusd);
        if (!resto.contains(QChar(13)) && !resto.contains(QChar(10))) {
            m_.canale.AttendiAncora(testo);
            return;
        }
        creditoUssd(QString());
        fine();
        return;
    }
    if (fase_ == Fase::Ussd && r.Ok()) {
        // The bare acknowledgement: the network's answer follows.
        m_.canale.AttendiAncora(testo);
        return;
    }
    if (r.Prompt() && fase_ == Fase::Indirizzo) {
        // The SMS request's prompt: the text goes out, then the credit comes back as a message.
        invia(Fase::Testo, Comando::Composto(ComandoGsm::Credito,
                                             codifica_.CorpoInvio(InvioSmsGsm::TestoScrivibile(
                                                 g.gestore.testoCredito)),
                                             TabellaComandi::kTimeoutTesto, Comando::Forma::Testo));
        return;
    }
    fine();
}

void CreditoGsm::UssdTardivo(const QString& riga) {
    // Only an answer with a text: a bare "+CUSD: 2" after the session ended says nothing.
    if (const auto ussd = LetturaCredito::TestoUssd(riga + QStringLiteral("\r\n")))
        creditoUssd(*ussd);
}

void CreditoGsm::creditoUssd(const QString& testo) {
    StatoGlobale& g = m_.globale;
    const std::optional<QString> credito = LetturaCredito::Credito(testo);
    if (!credito) {
        // The stored credit stays, still shown as waiting for confirmation.
        m_.avvisi.Avvisa(
            QStringLiteral("La risposta del gestore non riporta un credito leggibile:\n"
                           "\"%1\"\nIl credito memorizzato resta invariato.")
                .arg(testo),
            Stile::Esclamazione);
        return;
    }
    m_.pannello.MostraCredito(*credito);
    try {
        g.gestore.RegistraCredito(g.archivio, *credito, m_.orologio().date());
    } catch (const ErroreRuntime& e) {
        m_.avvisi.Avvisa(QStringLiteral("Impossibile salvare nell'archivio il credito letto.\n") +
                             e.DescrizioneENumero(),
                         Stile::Esclamazione);
    }
}

void CreditoGsm::PassoServizi() {
    if (m_.pannello.servizioRichiesto > 0 && m_.stato.Registrato && !m_.canale.Occupato() &&
        fase_ == Fase::Nessuna)
        Disattiva_Servizi();
}

void CreditoGsm::Disattiva_Servizi() {
    PannelloGsm& p = m_.pannello;
    if (!m_.stato.Registrato || m_.canale.Occupato() || fase_ != Fase::Nessuna)
        return;
    const int servizio = p.servizioRichiesto;
    if (servizio != 1 && servizio != 2) {
        p.servizioRichiesto = 0;
        return;
    }
    fase_ = Fase::Servizio;
    const QString riga =
        QStringLiteral("ATD") + (servizio == 1 ? QStringLiteral("##002#") : QStringLiteral("#43#"));
    const auto rifiutato = [this](bool) {
        m_.pannello.servizioRichiesto = 0;
        fine();
    };
    if (!m_.canale.Invia(
            Comando::Composto(ComandoGsm::ServiziChiamata, riga,
                              TabellaComandi::Riga(ComandoGsm::ServiziChiamata).timeoutTick,
                              Comando::Forma::Chiamata),
            [this, servizio](const RispostaAt& r) { rispostaServizi(r, servizio); }, rifiutato))
        rifiutato(false);
}

void CreditoGsm::rispostaServizi(const RispostaAt& r, int servizio) {
    // Each request is sent once: a refused dial is dropped without a word.
    m_.pannello.servizioRichiesto = 0;
    fine();
    if (!r.Ok())
        return;
    m_.avvisi.Avvisa(servizio == 1 ? QStringLiteral("Disabilitata la Segreteria Telefonica")
                                   : QStringLiteral("Disabilitato il Trasferimento di Chiamata"),
                     Stile::SoloOk);
}

void CreditoGsm::fine() {
    fase_ = Fase::Nessuna;
}
