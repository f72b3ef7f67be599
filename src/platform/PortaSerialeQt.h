#pragma once

#include "PortaSeriale.h"

#include <QSerialPort>

// The serial port of the machine, over QSerialPort. COMn is resolved through PorteCom at the
// moment of opening. Line settings and DTR that the device cannot take (a pseudo-terminal has
// no modem-control lines) are not failures: they simply have no effect on it. A device that goes
// away while open makes the next write fail, as a serial control does.
class PortaSerialeQt : public PortaSeriale {
public:
    explicit PortaSerialeQt(QString cartellaProgramma);
    ~PortaSerialeQt() override;

    void setCommPort(int numero) override;
    int CommPort() const override { return numero_; }
    void setSettings(const QString& impostazioni) override;
    QString Settings() const override { return settings_; }
    void setInputModeTesto() override {}

    bool PortOpen() const override { return porta_.isOpen() || perso_; }
    void setPortOpen(bool aperta) override;
    bool DTREnable() const override { return dtr_; }
    void setDTREnable(bool attivo) override;

    int InBufferCount() override;
    QString Input() override;
    void Output(const QString& testo) override;
    QString Dispositivo() const override { return porta_.isOpen() ? percorso_ : QString(); }

    // The device opened, and the totals of bytes that went each way since this object was made
    // (tests wait on them instead of on the clock).
    QString dispositivo() const { return porta_.portName(); }
    qint64 byteRicevuti();
    qint64 byteScritti() const { return scritti_; }
    // How long a write waits for a device that takes no byte before it fails.
    void impostaAttesaMassima(int ms) { attesaMassimaMs_ = ms; }
    // How many times the last write, failed or not, waited for the device to take its bytes:
    // none for a write that failed at once, at least one for a write that reached the device.
    int giriAttesaUltimaScrittura() const { return giriAttesa_; }

private:
    void applicaImpostazioni();
    void leggiDisponibili();
    void attendiInvio();
    void perdi();
    bool riagganciata();

    const QString cartellaProgramma_;
    QSerialPort porta_;
    QString percorso_; // the device file opened, as PorteCom named it
    int numero_ = 1;
    QString settings_ = QStringLiteral("9600,N,8,1");
    bool dtr_ = false;
    // The device went away while open (a modem unplugged, a simulator that ended): the port
    // stays open for the program, reads nothing, and the next write fails.
    bool perso_ = false;
    qint64 consumati_ = 0;
    qint64 scritti_ = 0;
    int attesaMassimaMs_ = 5000;
    int giriAttesa_ = 0;
};
