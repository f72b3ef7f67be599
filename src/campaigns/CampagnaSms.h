#pragma once

#include "campaigns/ClientiCampagna.h"
#include "campaigns/TempSms.h"

#include <QObject>
#include <QTimer>
#include <QVector>
#include <functional>
#include <optional>

struct StatoGlobale;
class MotoreGsm;

struct RigaCampagna {
    ClienteRegistro cliente;
    bool spuntata = false;
    StatoRiga stato = StatoRiga::Nessuno;
    QString nota; // why a send failed, or what is uncertain about it
};

// One SMS campaign: the rows with their ticks and statuses, the cursor, the paced sending through
// the modem engine and the queue file TempSms.txt. It lives as long as the program, so the outcome
// of an SMS still out when the campaign window closes is recorded all the same; the window only
// shows it and forwards the user's clicks.
class CampagnaSms : public QObject {
    Q_OBJECT
public:
    CampagnaSms(StatoGlobale& globale, MotoreGsm& motore, QObject* parent = nullptr);
    ~CampagnaSms() override;

    // The rows, one per customer in list order; the SMS still out keeps its customer's row.
    void Carica(const QVector<ClienteRegistro>& clienti);
    int NumeroRighe() const { return int(righe_.size()); }
    // Row `riga`, 1-based.
    const RigaCampagna& Riga(int riga) const { return righe_[riga - 1]; }
    // The letter of row `riga` in the queue file.
    QChar Codice(int riga) const { return codici_.value(riga - 1); }

    // The user ticked or unticked a row: ticked, it is due; unticked, a row already sent or
    // uncertain keeps saying so. While a run is active the recipients stay as they are.
    void Spunta(int riga, bool spuntata);
    // Unticks every row. While restoring, the statuses come from the file's codes; otherwise
    // what was sent, is out or is uncertain keeps its status. Which rows match the filter.
    QVector<bool> Filtra(const FiltroClienti& filtro, bool ripristino);
    // Reads the queue file back: the rows' codes, statuses and ticks, and the boxes' texts to
    // show. A missing file is created with one empty line; nothing then comes back.
    std::optional<TempSms::Contenuto> Ripristina();
    // After the restoring filter: the rows the file holds as due or sent are ticked again.
    void SpuntaSalvati();

    // The texts written with the file: the name and address filters and the message text. While
    // a run is active they stay as taken at its start: every customer gets the same text.
    void ImpostaTesti(const QString& nome, const QString& indirizzo, const QString& testo);
    const QString& Testo() const { return testo_; }

    // "Invia": every ticked row still due is sent, in order. False when the file could not be
    // written (the user is told and nothing starts).
    bool Avvia();
    // "Annulla": no further row is sent; an SMS already out still gets its outcome.
    void Ferma();
    // The window is shown, or gone: with it gone the run stops, and an SMS whose text has not
    // gone out yet is dropped.
    void FinestraAperta(bool aperta);

    bool Attiva() const { return attiva_; }
    bool InAttesaEsito() const { return inAttesaEsito_; }
    int RigaCorrente() const { return rigaCorrente_; }

    // One step of the run, every 100 ms while the run goes on and no SMS is out.
    void Timer1_Timer();
    QTimer Timer1;

    TempSms& Coda() { return coda_; }
    // Campaign messages go through this while a window shows them; otherwise to the engine's
    // user dialogue.
    std::function<int(const QString& testo, int stile, const QString& titolo)> Messaggio;

signals:
    void RigaCambiata(int riga);
    // Started, stopped, an outcome awaited or recorded.
    void StatoCambiato();

private:
    int rigaDi(const QString& id) const;
    void avviaInvio(int riga);
    void esito();
    bool primaDelTesto();
    void fineGiro();
    bool scriviCoda();
    int messaggio(const QString& testo, int stile, const QString& titolo);
    void imposta(int riga, StatoRiga stato, const QString& nota = QString());

    StatoGlobale& globale_;
    MotoreGsm& motore_;
    TempSms coda_;
    QVector<RigaCampagna> righe_;
    QVector<QChar> codici_;
    QString nome_;
    QString indirizzo_;
    QString testo_;
    int rigaCorrente_ = 0;
    bool invioEseguito_ = false;
    bool attiva_ = false;
    bool inAttesaEsito_ = false;
    bool finestraAperta_ = false;
    // The customer whose SMS is out, until its outcome is recorded.
    QString idInVolo_;
};
