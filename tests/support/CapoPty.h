#pragma once

#include "PseudoTerminale.h"

#include <QByteArray>
#include <QString>

// The far end of a pseudo-terminal standing in for a serial device (the modem, the 80-column
// printer): its slave is linked as porte/COM<n> of a program folder, and the test reads from the
// master what the device would have received, or writes what it would send.
class CapoPty {
public:
    CapoPty();

    bool valido() const { return pty_.master() >= 0; }
    QString dispositivo() const { return pty_.dispositivo(); }
    int fd() const { return pty_.master(); }

    // Links <cartellaProgramma>/porte/COM<numero> to this pseudo-terminal.
    bool collega(const QString& cartellaProgramma, int numero) const;

    void scrivi(const QByteArray& byte) const;
    // Everything received so far, waiting up to about a second for the bytes to settle: reading
    // stops once new bytes end with `fine`, or once nothing more comes for 100 ms.
    QByteArray leggi(const QByteArray& fine = QByteArray());

private:
    PseudoTerminale pty_;
    QByteArray ricevuti_;
};
