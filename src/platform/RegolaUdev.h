#pragma once

#include <QString>

// The udev line that makes ModemManager leave a modem alone for good. A USB modem is named by
// the vendor and product of its USB device, read from sysfs for the tty the program opens, so
// the line holds whichever port number the modem gets next time; a device with no USB parent
// (a serial port on the board) by its kernel name, which does not change.
class RegolaUdev {
public:
    // Where the line goes: read before ModemManager's own rules (77 and 80).
    static QString File() { return QStringLiteral("/etc/udev/rules.d/70-veltrika-modem.rules"); }
    // The line for the device at `dispositivo` (a link is followed to the real device), or the
    // empty text when the device is not there.
    static QString IgnoraModem(const QString& dispositivo,
                               const QString& radiceSys = QStringLiteral("/sys"));
};
