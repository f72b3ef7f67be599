#include "CreditoGsm.h"

#include "DialogoUtente.h"
#include "LetturaCredito.h"
#include "MotoreGsm.h"
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

CreditoGsm::CreditoGsm(MotoreGsm& motore)
    : m_(motore) {
    m_.canale.Registra(ComandoGsm::Credito, [this](const RispostaAt& r) { rispostaCredito(r); });
    m_.canale.Registra(ComandoGsm::ServiziChiamata,
                       [this](const RispostaAt& r) { rispostaServizi(r); });
}

int CreditoGsm::GestioneCredito() {
    StatoGlobale& g = m_.globale;
    StatoModem& s = m_.stato;
    // Refused before anything is touched, so that an exchange under way keeps its state.
    if (!s.Registrato)
        return m_.utente.Messaggio(QStringLiteral("MODEM GSM NON REGISTRATO ALLA RETE"),
                                   Stile::SoloOk);
    if (s.TickAttesa != 0 || s.InAttesaRisposta)
        return m_.utente.Messaggio(QStringLiteral("MODEM OCCUPATO IN ATTESA DI RISPOSTA"),
                                   Stile::SoloOk);
    g.ModoSms = false;
    g.FaseIndirizzo = false;
    s.FaseTesto = false;
    s.ChiamataVocale = false;
    s.ArgomentoTraVirgolette = false;
    const int modalita = g.ModalitaCredito;
    if (modalita < PerSms || modalita > PerChiamata)
        return 0;
    if (!codiceScrivibile(g.NumeroCredito))
        return m_.utente.Messaggio(
            QStringLiteral("Il numero per la gestione del credito \"%1\" non si può inviare al "
                           "modem. Correggerlo in Impostazioni, Imposta Gestore Sim.")
                .arg(g.NumeroCredito),
            Stile::Esclamazione);
    m_.pannello.MostraCredito(g.CreditoResiduo, true);
    switch (modalita) {
    case PerSms:
        // The request goes through the same coding step as any SMS.
        dcsCredito_ = m_.codifica.DcsPer(InvioSmsGsm::TestoScrivibile(g.TestoCredito));
        codificaCredito_ = dcsCredito_ != m_.codifica.DcsInvio();
        if (codificaCredito_) {
            g.StringaGsm = CodificaModem::RigaCsmp(dcsCredito_);
        } else {
            g.ModoSms = true;
            g.FaseIndirizzo = true;
            g.StringaGsm = g.NumeroCredito;
        }
        break;
    case PerUssd:
        s.ArgomentoTraVirgolette = true;
        g.StringaGsm = QStringLiteral("AT+CUSD=1,");
        break;
    default:
        s.ChiamataVocale = true;
        g.StringaGsm = QStringLiteral("ATD") + g.NumeroCredito;
        break;
    }
    m_.stato.TipoComando = ComandoGsm::Credito;
    if (!m_.canale.SetStringa_Gsm() && m_.stato.TipoComando == ComandoGsm::Credito)
        fine();
    return 0;
}

void CreditoGsm::rispostaCredito(const RispostaAt& r) {
    StatoGlobale& g = m_.globale;
    // The empty text: the timeout, whatever was held of the answer.
    const QString& testo = r.Testo();
    if (testo.isEmpty()) {
        fine();
        return;
    }
    if (codificaCredito_) {
        // The coding is set: now the address line of the request.
        codificaCredito_ = false;
        m_.codifica.EsitoCsmp(r, dcsCredito_);
        g.ModoSms = true;
        g.FaseIndirizzo = true;
        g.StringaGsm = g.NumeroCredito;
        m_.stato.TipoComando = ComandoGsm::Credito;
        if (!m_.canale.SetStringa_Gsm() && m_.stato.TipoComando == ComandoGsm::Credito)
            fine();
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
    if (g.ModalitaCredito == PerUssd && r.Ok()) {
        // The bare acknowledgement: the network's answer follows.
        m_.canale.AttendiAncora(testo);
        return;
    }
    if (r.Prompt() && g.ModoSms) {
        // The SMS request's prompt: the text goes out, then the credit comes back as a message.
        g.StringaGsm = m_.codifica.CorpoInvio(InvioSmsGsm::TestoScrivibile(g.TestoCredito));
        m_.stato.FaseTesto = true;
        if (!m_.canale.SetStringa_Gsm() && m_.stato.TipoComando == ComandoGsm::Credito)
            fine();
        return;
    }
    fine();
}

void CreditoGsm::creditoUssd(const QString& testo) {
    StatoGlobale& g = m_.globale;
    const std::optional<QString> credito = LetturaCredito::Credito(testo);
    if (!credito) {
        // The stored credit stays, still shown as waiting for confirmation.
        m_.utente.Messaggio(QStringLiteral("La risposta del gestore non riporta un credito "
                                           "leggibile:\n\"%1\"\nIl credito memorizzato resta "
                                           "invariato.")
                                .arg(testo),
                            Stile::Esclamazione);
        return;
    }
    g.CreditoResiduo = *credito;
    m_.pannello.MostraCredito(*credito);
    const QString oggi = m_.orologio().date().toString(QStringLiteral("dd/MM/yyyy"));
    try {
        Transazione t(g.archivio);
        Recordset& rs = g.archivio.ApriTabella(Tabella::DatiGestoreSim);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
            if (rs.Testo(Campo::GestoreSim) != g.GestoreAttivo)
                continue;
            // A credit grown since the last reading means a top-up today.
            const bool ricarica = LetturaCredito::Valore(*credito) >
                                  LetturaCredito::Valore(rs.Testo(Campo::CreditoSim));
            rs.Edit();
            if (ricarica)
                rs.Imposta(Campo::DataScadenza, oggi);
            rs.Imposta(Campo::CreditoSim, *credito);
            rs.Update();
        }
        t.Conferma();
    } catch (const ErroreRuntime& e) {
        m_.utente.Messaggio(
            QStringLiteral("Impossibile salvare nell'archivio il credito letto.\n") +
                e.DescrizioneENumero(),
            Stile::Esclamazione);
    }
}

void CreditoGsm::PassoServizi() {
    const StatoModem& s = m_.stato;
    if (m_.globale.ServizioRichiesto > 0 && s.Registrato && s.TickAttesa == 0 &&
        !s.InAttesaRisposta)
        Disattiva_Servizi();
}

void CreditoGsm::Disattiva_Servizi() {
    StatoGlobale& g = m_.globale;
    StatoModem& s = m_.stato;
    s.ChiamataVocale = false;
    if (!s.Registrato || s.TickAttesa != 0 || s.InAttesaRisposta)
        return;
    if (g.ServizioRichiesto != 1 && g.ServizioRichiesto != 2) {
        g.ServizioRichiesto = 0;
        return;
    }
    g.StringaGsm = QStringLiteral("ATD") +
                   (g.ServizioRichiesto == 1 ? QStringLiteral("##002#") : QStringLiteral("#43#"));
    s.ChiamataVocale = true;
    m_.stato.TipoComando = ComandoGsm::ServiziChiamata;
    if (!m_.canale.SetStringa_Gsm() && m_.stato.TipoComando == ComandoGsm::ServiziChiamata) {
        g.ServizioRichiesto = 0;
        fine();
    }
}

void CreditoGsm::rispostaServizi(const RispostaAt& r) {
    StatoGlobale& g = m_.globale;
    const int servizio = g.ServizioRichiesto;
    // Each request is sent once: a refused dial is dropped without a word.
    g.ServizioRichiesto = 0;
    fine();
    if (!r.Ok())
        return;
    m_.utente.Messaggio(servizio == 1 ? QStringLiteral("Disabilitata la Segreteria Telefonica")
                                      : QStringLiteral("Disabilitato il Trasferimento di Chiamata"),
                        Stile::SoloOk);
}

void CreditoGsm::fine() {
    StatoGlobale& g = m_.globale;
    StatoModem& s = m_.stato;
    codificaCredito_ = false;
    g.ModoSms = false;
    g.FaseIndirizzo = false;
    s.FaseTesto = false;
    // Left set, the ';' of the dial would follow every later command.
    s.ChiamataVocale = false;
    s.ArgomentoTraVirgolette = false;
    if (s.TickAttesa == 0)
        s.InAttesaRisposta = false;
    m_.stato.TipoComando = ComandoGsm::Registrazione;
}
