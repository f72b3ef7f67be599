#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for the 80-column printer: its slave is linked as porte/COM<n>
// of a program folder, and the test reads from the master what the printer would have received.
class PtyStampante {
public:
    PtyStampante();
    ~PtyStampante();
    PtyStampante(const PtyStampante&) = delete;
    PtyStampante& operator=(const PtyStampante&) = delete;

    bool valido() const { return fd_ >= 0 && !dispositivo_.isEmpty(); }
    const QString& dispositivo() const { return dispositivo_; }

    // Links <cartellaProgramma>/porte/COM<numero> to this pseudo-terminal.
    bool collega(const QString& cartellaProgramma, int numero) const;

    // Everything received so far, waiting up to about a second for the bytes to settle: reading
    // stops once new bytes end with `fine`, or once nothing more comes for 100 ms.
    QByteArray leggi(const QByteArray& fine = QByteArray());

private:
    int fd_ = -1;
    int tenuto_ = -1;
    QString dispositivo_;
    QByteArray ricevuti_;
};
