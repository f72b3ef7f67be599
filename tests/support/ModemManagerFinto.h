#pragma once

#include <QMutex>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>

class OggettoModemManager;

// A stand-in ModemManager on a private bus: a dbus-daemon of its own, and the service's object
// manager with its modems, answering on a thread of its own so that the program's blocking calls
// get their replies. It records every InhibitDevice call, and refuses them on request as a
// desktop without the right to do it does.
class ModemManagerFinto {
public:
    ModemManagerFinto();
    ~ModemManagerFinto();

    // The bus address, empty when the bus could not be started.
    QString indirizzo() const { return indirizzo_; }

    // A modem with its uid (ModemManager's `Device`) and its ports as ModemManager names them
    // ("ttyUSB2", "pts/4").
    void aggiungiModem(const QString& uid, const QStringList& porte);
    // Takes the service's name on the bus; until then the bus has no ModemManager.
    bool offri();
    void rifiuta(bool rifiuta);
    // The uids of the InhibitDevice calls received, in order.
    QStringList inibizioni() const;

private:
    QProcess bus_;
    QString indirizzo_;
    QThread filo_;
    std::unique_ptr<OggettoModemManager> oggetto_;
};
