#include "ScansioneSim.h"

#include "CanaleGsm.h"
#include "CodificaModem.h"
#include "ContestoModem.h"
#include "DialogoUtente.h"
#include "InterpreteSms.h"
#include "LetturaCredito.h"
#include "RicezioneSms.h"
#include "RisposteModem.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"

#include <algorithm>

ScansioneSim::ScansioneSim(ContestoModem& contesto, CodificaModem& codifica)
    : m_(contesto)
    , codifica_(codifica) {}

void ScansioneSim::NuovoModem() {
    inCorso_ = false;
    memoriaRifiutata_ = false;
    ripristinoInutile_ = false;
    Occupati.reset();
}

void ScansioneSim::Avvia() {
    inCorso_ = true;
    if (memoriaRifiutata_) {
        leggiDaPosizione(ProssimoInizio);
        return;
    }
    m_.canale.Invia(Comando::DallaTabella(ComandoGsm::MemoriaSms),
                    [this](const RispostaAt& r) { rispostaMemoria(r); });
}

void ScansioneSim::Prosegui() {
    inCorso_ = true;
    leggi(posizione_ + 1);
}

void ScansioneSim::leggi(int posizione) {
    posizione_ = posizione;
    m_.canale.Invia(Comando::DallaTabella(ComandoGsm::LetturaSms, posizione),
                    [this, posizione](const RispostaAt& r) { rispostaLettura(r, posizione); });
}

void ScansioneSim::rispostaMemoria(const RispostaAt& r) {
    const std::optional<RisposteModem::MemoriaSim> memoria = RisposteModem::Memoria(r.Testo());
    if (!memoria) {
        // A modem that does not know the question is not asked again; a reply lost on the line
        // only means this scan goes the old way.
        if (r.Errore())
            memoriaRifiutata_ = true;
        Occupati.reset();
        leggiDaPosizione(ProssimoInizio);
        return;
    }
    Occupati = memoria->usati;
    // A modem's own memory can hold more slots than a SIM's: every slot it reports is read.
    Capienza = memoria->totale > 0 ? memoria->totale : kUltimaPosizione;
    Trovati = 0;
    if (*Occupati == 0) {
        fine(1);
        return;
    }
    leggiDaPosizione(1);
}

void ScansioneSim::leggiDaPosizione(int primo) {
    PosizioniVuote = 0;
    Trovati = 0;
    leggi(primo);
}

bool ScansioneSim::tuttiTrovati() const {
    return Occupati && (Trovati >= *Occupati || posizione_ >= Capienza);
}

void ScansioneSim::rispostaLettura(const RispostaAt& r, int indice) {
    posizione_ = indice;
    // An empty slot ("OK" alone), an error or a cut reply holds no message.
    const std::optional<SmsLetto> sms = InterpreteSms::Leggi(r.Testo(), codifica_.InsiemeLettura());
    // The modem has reset itself and lost its settings: a message without the coding it was
    // told to show (its text could be hexadecimal or in another set), or one it shows in PDU
    // mode, or refuses to show outside it. The settings are restored and the slot read again;
    // a modem that still answers so is taken as it is.
    const bool impostazioniPerse =
        sms ? codifica_.IntestazioneEstesa() && !sms->fo
            : r.Testo().contains(QLatin1String("+CMGR:"), Qt::CaseInsensitive) ||
                  r.Testo().contains(QLatin1String("+CMS ERROR: 302"), Qt::CaseInsensitive);
    if (impostazioniPerse && ripristinoPer_ != indice && !ripristinoInutile_) {
        ripristinoPer_ = indice;
        codifica_.Ripristina([this, indice] { leggi(indice); });
        return;
    }
    // Settings that do not come back are not set again at every slot, until a message reads
    // as it should.
    if (impostazioniPerse && ripristinoPer_ == indice)
        ripristinoInutile_ = true;
    else if (sms && !impostazioniPerse)
        ripristinoInutile_ = false;
    ripristinoPer_ = 0;
    if (!sms) {
        posizioneVuota();
        return;
    }
    ++Trovati;
    StatoGlobale& g = m_.globale;
    g.NumeroCorrente = sms->numero;
    if (messaggioDelGestore(*sms))
        return;
    const QString letto = chiave(*sms);
    if (nonCancellati_.contains(letto)) {
        // Stored already, its delete failed: deleting it is all that is left to do.
        cancellaDallaSim(letto);
        return;
    }
    RicezioneSms::Risultato esito;
    try {
        esito = RicezioneSms::Registra(g.archivio, g.rubrica, *sms, m_.orologio());
    } catch (const ErroreRuntime& e) {
        archivioNonScrivibile(e);
        return;
    }
    archivioGuasto_ = false;
    const QString record =
        sms->numero + QLatin1Char(' ') + esito.data + QLatin1Char(' ') + esito.orarioPrimo;
    if (esito.esito == RicezioneSms::Esito::Nuovo)
        nuoviDellaScansione_ << record;
    esito.daAnnunciare = esito.esito == RicezioneSms::Esito::Unito && sms->concatenazione &&
                         !nuoviDellaScansione_.contains(record);
    // Until the modem confirms the delete, the message is known as stored.
    nonCancellati_.insert(letto);
    if (Registrato)
        Registrato(sms->numero, esito);
    cancellaDallaSim(letto);
}

QString ScansioneSim::chiave(const SmsLetto& sms) {
    return sms.mittente + QChar(0) + sms.data + QChar(0) + sms.orario + QChar(0) + sms.corpo;
}

// Operator and credit messages, known by who sent them: deleted unread, or read for the credit.
bool ScansioneSim::messaggioDelGestore(const SmsLetto& sms) {
    StatoGlobale& g = m_.globale;
    const bool dalGestore = RicezioneSms::DalMittente(sms, g.gestore.nome);
    if (dalGestore && g.gestore.risposta == 0) {
        cancellaDallaSim();
        return true;
    }
    if (g.gestore.risposta != 1 ||
        !(dalGestore || RicezioneSms::DalMittente(sms, g.gestore.numeroCredito)))
        return false;
    if (const auto credito = LetturaCredito::Credito(sms.testo)) {
        try {
            g.gestore.RegistraCredito(g.archivio, *credito, m_.orologio().date());
        } catch (const ErroreRuntime& e) {
            archivioNonScrivibile(e);
            return true;
        }
        m_.pannello.MostraCredito(*credito);
    }
    cancellaDallaSim();
    return true;
}

void ScansioneSim::cancellaDallaSim(const QString& chiave, bool ripetuta) {
    const int posizione = posizione_;
    m_.canale.Invia(Comando::DallaTabella(ComandoGsm::CancellazioneSms, posizione),
                    [this, posizione, chiave, ripetuta](const RispostaAt& r) {
                        rispostaCancellazione(r, posizione, chiave, ripetuta);
                    });
}

void ScansioneSim::rispostaCancellazione(const RispostaAt& r, int posizione, const QString& chiave,
                                         bool ripetuta) {
    posizione_ = posizione;
    if (r.Ok()) {
        nonCancellati_.remove(chiave);
    } else if (!ripetuta) {
        // Refused or unanswered: tried once more before the scan reads on.
        cancellaDallaSim(chiave, true);
        return;
    }
    // Still on the SIM: the next reading knows it as stored.
    avanti();
}

void ScansioneSim::avanti() {
    if (tuttiTrovati()) {
        fine(1);
        return;
    }
    leggi(posizione_ + 1);
}

void ScansioneSim::posizioneVuota() {
    ++PosizioniVuote;
    const int indice = posizione_;
    if (Occupati) {
        // The modem said how many it holds: gaps do not end the scan, the last slot does.
        avanti();
        return;
    }
    if (PosizioniVuote < 2) {
        leggi(indice + 1);
        return;
    }
    // The scan stops at its second empty slot, so a message beyond it waits; after a scan that
    // found messages the next one goes on from there, and one that found none starts again from
    // slot 1.
    fine(Trovati > 0 && indice < kUltimaPosizione ? indice + 1 : 1);
}

void ScansioneSim::fine(int prossimoInizio) {
    nuoviDellaScansione_.clear();
    inCorso_ = false;
    ProssimoInizio = prossimoInizio;
    if (Conclusa)
        Conclusa();
}

void ScansioneSim::archivioNonScrivibile(const ErroreRuntime& e) {
    // The message stays on the SIM; the scan stops here and the next one comes back to it, so
    // nothing is lost and nothing is stored twice.
    fine(std::max(posizione_, 1));
    if (archivioGuasto_)
        return;
    archivioGuasto_ = true;
    m_.avvisi.Avvisa(QStringLiteral("Impossibile salvare nell'archivio l'SMS ricevuto da ") +
                         m_.globale.NumeroCorrente + QStringLiteral(".\n") +
                         e.DescrizioneENumero() +
                         QStringLiteral("\nIl messaggio resta sulla SIM e sarà salvato alla "
                                        "prossima lettura."),
                     Stile::Esclamazione, StatoGlobale::TitoloProgramma());
}
