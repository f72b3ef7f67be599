#include "CampagnaSms.h"

#include "archive/StatoGlobale.h"
#include "modem/DialogoUtente.h"
#include "modem/MotoreGsm.h"
#include "platform/ErroreRuntime.h"

#include <QHash>

CampagnaSms::CampagnaSms(StatoGlobale& globale, MotoreGsm& motore, QObject* parent)
    : QObject(parent)
    , globale_(globale)
    , motore_(motore)
    , coda_(globale.cartellaProgramma) {
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &CampagnaSms::Timer1_Timer);
    // The engine reads the text when the modem asks for it, and hands the outcome back here.
    motore_.invio.TestoDaInviare = [this] { return testo_; };
    motore_.invio.PrimaDelTesto = [this] { return primaDelTesto(); };
    connect(&motore_, &MotoreGsm::InvioTerminato, this, &CampagnaSms::esito);
}

CampagnaSms::~CampagnaSms() {
    motore_.invio.TestoDaInviare = nullptr;
    motore_.invio.PrimaDelTesto = nullptr;
}

void CampagnaSms::Carica(const QVector<ClienteRegistro>& clienti) {
    righe_.clear();
    righe_.reserve(clienti.size());
    for (const ClienteRegistro& c : clienti)
        righe_.append(RigaCampagna{c, false, StatoRiga::Nessuno, QString()});
    codici_.fill(QChar(TempSms::Altro), righe_.size());
    rigaCorrente_ = 0;
    if (const int r = rigaDi(idInVolo_)) {
        righe_[r - 1].stato = StatoRiga::InCorso;
        righe_[r - 1].spuntata = true;
    }
}

int CampagnaSms::rigaDi(const QString& id) const {
    if (id.isEmpty())
        return 0;
    // Mostly the row the run has reached.
    if (rigaCorrente_ > 0 && rigaCorrente_ <= righe_.size() &&
        righe_[rigaCorrente_ - 1].cliente.id == id)
        return rigaCorrente_;
    for (int i = 0; i < righe_.size(); ++i)
        if (righe_[i].cliente.id == id)
            return i + 1;
    return 0;
}

void CampagnaSms::imposta(int riga, StatoRiga stato, const QString& nota) {
    RigaCampagna& r = righe_[riga - 1];
    r.stato = stato;
    r.nota = nota;
    emit RigaCambiata(riga);
}

void CampagnaSms::Spunta(int riga, bool spuntata) {
    if (attiva_)
        return;
    RigaCampagna& r = righe_[riga - 1];
    r.spuntata = spuntata;
    if (r.stato == StatoRiga::InCorso)
        return;
    if (spuntata)
        imposta(riga, StatoRiga::Selezionato);
    else if (r.stato != StatoRiga::Inviato && r.stato != StatoRiga::Incerto)
        imposta(riga, StatoRiga::Nessuno);
}

QVector<bool> CampagnaSms::Filtra(const FiltroClienti& filtro, bool ripristino) {
    const bool attivo = filtro.Attivo();
    QVector<bool> corrispondenze(righe_.size());
    for (int i = 0; i < righe_.size(); ++i) {
        RigaCampagna& r = righe_[i];
        corrispondenze[i] = attivo && filtro.Corrisponde(r.cliente);
        r.spuntata = false;
        if (r.stato == StatoRiga::InCorso)
            continue;
        if (ripristino) {
            const QChar lettera = codici_[i];
            r.stato = lettera == TempSms::DaInviare ? StatoRiga::Selezionato
                      : lettera == TempSms::Inviato ? StatoRiga::Inviato
                      : lettera == TempSms::Incerto ? StatoRiga::Incerto
                                                    : StatoRiga::Nessuno;
            r.nota.clear();
        } else if (r.stato != StatoRiga::Inviato && r.stato != StatoRiga::Incerto) {
            // What the file says was sent, or may have been, stays in sight.
            r.stato = StatoRiga::Nessuno;
            r.nota.clear();
        }
    }
    return corrispondenze;
}

std::optional<TempSms::Contenuto> CampagnaSms::Ripristina() {
    TempSms::Contenuto c;
    try {
        c = coda_.Leggi();
    } catch (const ErroreRuntime& e) {
        if (e.Number() == ErroreRuntime::FileNonTrovato) {
            try {
                coda_.CreaVuoto();
            } catch (const ErroreRuntime&) {
            }
        }
        return std::nullopt;
    }
    // Each code names its customer, so a register changed since the file was written still
    // gets every code on the right customer; a damaged code names nobody.
    QHash<QString, QChar> salvati;
    for (const QString& codice : c.codici)
        salvati.insert(TempSms::Chiave(codice), TempSms::Lettera(codice));
    for (int i = 0; i < righe_.size(); ++i)
        codici_[i] = salvati.value(righe_[i].cliente.id, QChar(TempSms::Altro));
    return c;
}

void CampagnaSms::SpuntaSalvati() {
    for (int i = 0; i < righe_.size(); ++i)
        if (codici_[i] == TempSms::DaInviare || codici_[i] == TempSms::Inviato)
            righe_[i].spuntata = true;
}

void CampagnaSms::ImpostaTesti(const QString& nome, const QString& indirizzo,
                               const QString& testo) {
    if (attiva_)
        return;
    nome_ = nome;
    indirizzo_ = indirizzo;
    testo_ = testo;
}

bool CampagnaSms::Avvia() {
    rigaCorrente_ = 0;
    for (int i = 0; i < righe_.size(); ++i) {
        const RigaCampagna& r = righe_[i];
        QChar lettera = QChar(TempSms::Altro);
        if (r.stato == StatoRiga::Inviato) {
            lettera = QChar(TempSms::Inviato);
        } else if (r.stato == StatoRiga::Incerto) {
            lettera = QChar(TempSms::Incerto);
        } else if (r.stato == StatoRiga::InCorso) {
            lettera = codici_[i];
        } else if (r.spuntata &&
                   (r.stato == StatoRiga::Selezionato || r.stato == StatoRiga::Errore)) {
            // A ticked row whose send failed is still due.
            lettera = QChar(TempSms::DaInviare);
            if (r.stato == StatoRiga::Errore)
                imposta(i + 1, StatoRiga::Selezionato);
        }
        codici_[i] = lettera;
    }
    if (!scriviCoda())
        return false;
    invioEseguito_ = false;
    attiva_ = true;
    emit StatoCambiato();
    Timer1.start();
    return true;
}

void CampagnaSms::Ferma() {
    Timer1.stop();
    invioEseguito_ = false;
    attiva_ = false;
    emit StatoCambiato();
}

void CampagnaSms::FinestraAperta(bool aperta) {
    finestraAperta_ = aperta;
    if (!aperta) {
        Messaggio = nullptr;
        if (attiva_)
            Ferma();
    }
}

void CampagnaSms::Timer1_Timer() {
    if (inAttesaEsito_)
        return;
    if (!attiva_) {
        Timer1.stop();
        return;
    }
    // Rows that are not to be sent are passed over within the same tick.
    for (int r = rigaCorrente_ + 1; r <= NumeroRighe(); ++r) {
        if (!righe_[r - 1].spuntata || righe_[r - 1].stato != StatoRiga::Selezionato)
            continue;
        if (!motore_.stato.GsmAbilitato) {
            // The modem went away: the rows still to send keep their "S" for the next run.
            Ferma();
            messaggio(QStringLiteral("Modulo Gsm non Operativo."), Stile::Critico,
                      QStringLiteral("Errore GSM non operativo"));
            return;
        }
        // A poll or a scan of the main window is on the line, the engine's notice is open, or
        // the modem is being searched again: this row waits for a later tick.
        if (motore_.canale.Occupato() || motore_.AvvisoAperto() || motore_.invio.InVolo() ||
            motore_.pannello.statoPin != StatoPin::Abilitato)
            return;
        rigaCorrente_ = r;
        avviaInvio(r);
        return;
    }
    rigaCorrente_ = NumeroRighe();
    fineGiro();
}

void CampagnaSms::avviaInvio(int riga) {
    invioEseguito_ = true;
    idInVolo_ = righe_[riga - 1].cliente.id;
    imposta(riga, StatoRiga::InCorso);
    motore_.invio.Preso();
    inAttesaEsito_ = true;
    Timer1.stop();
    emit StatoCambiato();
    motore_.invio.Invia(righe_[riga - 1].cliente.numero);
}

bool CampagnaSms::primaDelTesto() {
    // With the window gone nobody chose to go on: the text is not sent.
    if (!inAttesaEsito_ || !finestraAperta_)
        return false;
    // Once the text is out the SMS may leave whatever happens next: the file says so first, so
    // a program ended meanwhile never sends it again unasked.
    if (const int r = rigaDi(idInVolo_))
        codici_[r - 1] = QChar(TempSms::Incerto);
    return scriviCoda();
}

void CampagnaSms::esito() {
    if (!inAttesaEsito_)
        return;
    inAttesaEsito_ = false;
    motore_.invio.Preso();
    const bool fallito = motore_.invio.Fallito();
    const int r = rigaDi(idInVolo_);
    idInVolo_.clear();
    if (r > 0) {
        if (!fallito) {
            codici_[r - 1] = QChar(TempSms::Inviato);
            imposta(r, StatoRiga::Inviato);
        } else if (motore_.invio.SenzaRisposta()) {
            // Sending twice is worse than asking: only the user's tick sends it again.
            codici_[r - 1] = QChar(TempSms::Incerto);
            righe_[r - 1].spuntata = false;
            imposta(r, StatoRiga::Incerto,
                    QStringLiteral("Nessuna risposta dal modem: l'SMS potrebbe essere partito. "
                                   "Spuntare la riga per inviarlo di nuovo."));
        } else {
            // Its code stays "S": a later run, or the restored file, offers it again.
            codici_[r - 1] = QChar(TempSms::DaInviare);
            imposta(r, StatoRiga::Errore, QStringLiteral("L'SMS non è partito."));
        }
    }
    if (scriviCoda() && attiva_)
        Timer1.start();
    emit StatoCambiato();
}

void CampagnaSms::fineGiro() {
    Timer1.stop();
    const bool nessuno = !invioEseguito_;
    Ferma();
    if (nessuno)
        messaggio(QStringLiteral("Nessun Cliente è stato selezionato o già gli SMS sono stati "
                                 "inviati."),
                  Stile::SoloOk, QStringLiteral("Errore Invio SMS"));
}

bool CampagnaSms::scriviCoda() {
    QStringList codici;
    codici.reserve(righe_.size());
    for (int i = 0; i < righe_.size(); ++i)
        codici.append(TempSms::Codice(righe_[i].cliente.id, codici_[i]));
    try {
        coda_.Scrivi(codici, nome_, indirizzo_, testo_);
        return true;
    } catch (const ErroreRuntime& e) {
        // Without its file the campaign cannot be resumed safely: it stops, and the user knows
        // the file no longer matches the list.
        if (attiva_)
            Ferma();
        messaggio(QStringLiteral("Impossibile aggiornare il file della campagna %1.\n%2\n"
                                 "La campagna è stata fermata: il file non riporta l'esito degli "
                                 "ultimi SMS, controllare la colonna Stato prima di inviare di "
                                 "nuovo.")
                      .arg(TempSms::NomeFile(), e.DescrizioneENumero()),
                  Stile::Critico, QStringLiteral("Errore File Campagna"));
        return false;
    }
}

int CampagnaSms::messaggio(const QString& testo, int stile, const QString& titolo) {
    if (Messaggio)
        return Messaggio(testo, stile, titolo);
    return motore_.utente.Messaggio(testo, stile, titolo);
}
