#include "CodificaModem.h"

#include "CanaleGsm.h"
#include "ContestoModem.h"
#include "CorpoSms.h"
#include "DialogoUtente.h"
#include "GestionePin.h"
#include "InsiemeCaratteri.h"
#include "archive/StatoGlobale.h"
#include "platform/CaratteriVicini.h"

CodificaModem::CodificaModem(ContestoModem& contesto, GestionePin& pin)
    : m_(contesto)
    , pin_(pin) {}

namespace {

using Sequenza = SequenzaAt<CodificaModem>;

QString csmpIniziale() {
    return CodificaModem::RigaCsmp(0);
}

// At start-up, after verbose errors: the extended header, the sets offered, ours, the one kept
// when ours is refused, then the plain coding of sent messages, so the modem holds what is
// believed.
const Sequenza::Passo kAvvio[] = {
    {ComandoGsm::CodificaSms, "AT+CSDH=1", nullptr, true, &CodificaModem::EsitoCsdh},
    {ComandoGsm::CodificaSms, "AT+CSCS=?", nullptr, true, &CodificaModem::EsitoElencoInsiemi},
    {ComandoGsm::CodificaSms, "AT+CSCS=\"8859-1\"", nullptr, true, &CodificaModem::EsitoInsieme},
    {ComandoGsm::CodificaSms, "AT+CSCS?", nullptr, true, &CodificaModem::EsitoInsiemeInUso},
    {ComandoGsm::CodificaSms, nullptr, &csmpIniziale, true, &CodificaModem::EsitoCsmpIniziale},
};

// After a reset: text mode, the extended header and our set again; the sets the modem offers
// do not change with a reset.
const Sequenza::Passo kRipristino[] = {
    {ComandoGsm::ModoTesto, nullptr, nullptr, true, nullptr},
    {ComandoGsm::CodificaSms, "AT+CSDH=1", nullptr, true, &CodificaModem::EsitoCsdh},
    {ComandoGsm::CodificaSms, "AT+CSCS=\"8859-1\"", nullptr, true, &CodificaModem::EsitoInsieme},
    {ComandoGsm::CodificaSms, "AT+CSCS?", nullptr, true, &CodificaModem::EsitoInsiemeInUso},
};

} // namespace

void CodificaModem::NuovoModem() {
    inCorso_ = false;
    insieme_.clear();
    insiemeLettura_.clear();
    csdh_ = false;
    ucs2_ = false;
    dcsInvio_ = -1;
}

void CodificaModem::Avvia() {
    NuovoModem();
    inCorso_ = true;
    Sequenza::Esegui(m_.canale, *this, kAvvio, [this](bool) {
        inCorso_ = false;
        pin_.ControllaSim();
    });
}

void CodificaModem::Ripristina(std::function<void()> poi) {
    // A reset forgets the coding of sent messages too: the next submission sets it again.
    dcsInvio_ = -1;
    inCorso_ = true;
    Sequenza::Esegui(m_.canale, *this, kRipristino, [this, poi = std::move(poi)](bool) {
        inCorso_ = false;
        poi();
    });
}

SequenzaAt<CodificaModem>::Poi CodificaModem::EsitoCsdh(const RispostaAt& r) {
    csdh_ = r.Ok();
    if (!r.Ok())
        nota(QStringLiteral("Il modem rifiuta AT+CSDH=1: la codifica degli SMS ricevuti non "
                            "è nota e i testi restano come il modem li mostra."));
    return Sequenza::Poi::Avanti;
}

SequenzaAt<CodificaModem>::Poi CodificaModem::EsitoElencoInsiemi(const RispostaAt& r) {
    if (r.Ok()) {
        const QString elenco = r.Informazione(QStringLiteral("+CSCS:")).value_or(QString());
        ucs2_ = elenco.contains(QLatin1String("\"UCS2\""), Qt::CaseInsensitive);
    }
    return Sequenza::Poi::Avanti;
}

SequenzaAt<CodificaModem>::Poi CodificaModem::EsitoInsieme(const RispostaAt& r) {
    if (r.Ok()) {
        insieme_ = QString::fromLatin1(InsiemeCaratteri::Latino1);
        insiemeLettura_ = insieme_;
        // The set in use is known: it is not asked.
        return Sequenza::Poi::SaltaUno;
    }
    insieme_.clear();
    nota(QStringLiteral("Il modem rifiuta AT+CSCS=\"8859-1\": resta il suo set di "
                        "caratteri e le lettere accentate possono arrivare come \"?\"."));
    return Sequenza::Poi::Avanti;
}

SequenzaAt<CodificaModem>::Poi CodificaModem::EsitoInsiemeInUso(const RispostaAt& r) {
    // The line reads +CSCS: "GSM".
    QString nome =
        r.Ok() ? r.Informazione(QStringLiteral("+CSCS:")).value_or(QString()) : QString();
    nome = nome.mid(nome.indexOf(QLatin1Char(':')) + 1).remove(QLatin1Char('"'));
    insiemeLettura_ = nome.trimmed().toUpper();
    return Sequenza::Poi::Avanti;
}

SequenzaAt<CodificaModem>::Poi CodificaModem::EsitoCsmpIniziale(const RispostaAt& r) {
    EsitoCsmp(r, 0);
    return Sequenza::Poi::Avanti;
}

void CodificaModem::nota(const QString& testo) {
    if (note_.contains(testo))
        return;
    note_ << testo;
    // With the lists hidden it is told when they are shown.
    if (m_.stato.DiagnosticaAttiva)
        m_.utente.Diagnostica(false, testo);
}

QString CodificaModem::RigaCsmp(int dcs) {
    // SMS-SUBMIT with a relative validity period of one day, no protocol identifier.
    return QStringLiteral("AT+CSMP=17,167,0,%1").arg(dcs);
}

void CodificaModem::EsitoCsmp(const RispostaAt& r, int dcs) {
    if (r.Ok())
        CsmpAccettato(dcs);
    else
        CsmpRifiutato();
}

QString CodificaModem::CorpoInvio(const QString& testo) const {
    return dcsInvio_ == 8 ? CorpoSms::Ucs2Esadecimale(testo) : TestoSemplice(testo);
}

void CodificaModem::CsmpRifiutato() {
    // What the modem keeps cannot be changed: it is asked no more, and texts go plain.
    dcsInvio_ = 0;
    ucs2_ = false;
    nota(QStringLiteral("Il modem rifiuta AT+CSMP: gli SMS partono con la codifica del modem."));
}

bool CodificaModem::InUcs2(const QString& testo) const {
    return ucs2_ && testo.size() <= InsiemeCaratteri::MassimoUcs2 &&
           !InsiemeCaratteri::NonTrasmessi(testo, insieme_).isEmpty();
}

QString CodificaModem::TestoSemplice(const QString& testo) const {
    if (insieme_.isEmpty())
        return testo;
    return CaratteriVicini::Adatta(
        testo, [this](char32_t c) { return InsiemeCaratteri::Trasmette(c, insieme_); });
}
