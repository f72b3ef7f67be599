#pragma once

#include <QSet>
#include <QString>

// ModemManager, which a desktop runs, probes a USB modem's ports and keeps sending its own AT
// commands on them; a second program on the same line reads half of the other's replies. When
// the program opens its modem's port it asks ModemManager over D-Bus to let that modem go
// (InhibitDevice) for as long as the program's bus connection lives, that is while it runs:
// ModemManager takes the modem back by itself when the program ends or dies.
// With no ModemManager, or none of its modems on that port, nothing is asked and nothing said.
class InibizioneModemManager {
public:
    // `indirizzoBus`: the D-Bus address ModemManager is looked for on; empty for the system bus.
    // `radiceSys`: where sysfs is read for the udev line of a refusal.
    explicit InibizioneModemManager(QString indirizzoBus,
                                    QString radiceSys = QStringLiteral("/sys"));
    // The system bus, or the bus and sysfs named by VELTRIKA_BUS_MODEMMANAGER and VELTRIKA_SYS.
    static InibizioneModemManager DaAmbiente();

    // Asks ModemManager to let go of the modem that has `dispositivo` (a link is followed to the
    // real device) among its ports. Returns what to tell the user when it refused or failed,
    // once for each modem; otherwise the empty text. Waits a few seconds at most.
    QString Lascia(const QString& dispositivo);

    // The modems (ModemManager's uid) let go so far.
    const QSet<QString>& Inibiti() const { return inibiti_; }

private:
    QString indirizzoBus_;
    QString radiceSys_;
    QSet<QString> inibiti_;
    QSet<QString> rifiutati_;
};
