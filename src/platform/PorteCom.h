#pragma once

#include <QString>
#include <QStringList>

// Which device stands behind COMn on this machine. When the program folder has a "porte"
// folder, it alone maps the ports: COMn is the device its link "porte/COMn" points to, and a
// COMn without a link does not exist. Otherwise COMn is the n-th serial device of the machine
// in the order ttyUSB*, ttyACM*, ttyS* (each in numeric order).
class PorteCom {
public:
    // The device path, or the empty text when COMn does not exist.
    static QString Dispositivo(const QString& cartellaProgramma, int numero,
                               const QString& cartellaDispositivi = QStringLiteral("/dev"));
    // Whether the program folder maps its ports with links ("porte").
    static bool ConCollegamenti(const QString& cartellaProgramma);
    // The stable names of a device: the links under serial/by-id that lead to it.
    static QStringList NomiStabili(const QString& dispositivo,
                                   const QString& cartellaDispositivi = QStringLiteral("/dev"));
};
