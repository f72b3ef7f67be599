#pragma once

#include "ModemSimulato.h"

#include <QObject>
#include <QStringList>

class QLocalServer;

// The simulator's control socket: other commands make SMS arrive, script faults, change network
// and SIM, ask for the state, or stop it. Requests and answers as in ProtocolloControllo; every
// answer starts with "OK" or "ERRORE" followed by one text field.
class ServizioControllo : public QObject {
    Q_OBJECT
public:
    explicit ServizioControllo(ModemSimulato& modem, QObject* parent = nullptr);
    ~ServizioControllo() override;

    // Listens on a socket file at `percorso`, replacing a stale one.
    bool ascolta(const QString& percorso, QString* errore);

    // One request, already split into fields; also what the socket calls.
    QStringList esegui(const QStringList& richiesta);
    QString descrizioneStato() const;

signals:
    void fermaRichiesto();

private:
    void nuovaConnessione();

    ModemSimulato& modem_;
    QLocalServer* server_ = nullptr;
    QString percorso_;
};
