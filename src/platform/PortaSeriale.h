#pragma once

#include <QString>

// The serial port as the modem and printer code use it: chosen by number (COM1..COM16), opened
// and closed, DTR on and off, the count of characters waiting, read all waiting input, write.
// Text is 8-bit: one byte is one character of the Windows-1252 code page.
// Failures throw ErroreRuntime: 8002 no such port, 8005 port already open or held elsewhere,
// 8021 a write that failed.
class PortaSeriale {
public:
    virtual ~PortaSeriale() = default;

    virtual void setCommPort(int numero) = 0;
    virtual int CommPort() const = 0;
    virtual void setSettings(const QString& impostazioni) = 0; // e.g. "9600,N,8,1"
    virtual QString Settings() const = 0;
    virtual void setInputModeTesto() = 0;

    virtual bool PortOpen() const = 0;
    virtual void setPortOpen(bool aperta) = 0;
    virtual bool DTREnable() const = 0;
    virtual void setDTREnable(bool attivo) = 0;

    virtual int InBufferCount() = 0;
    virtual QString Input() = 0;
    virtual void Output(const QString& testo) = 0;
    // The device file behind the open port, for what the desktop knows of it; empty when none.
    virtual QString Dispositivo() const { return {}; }

protected:
    // Throws the port failure with its number and its usual description.
    [[noreturn]] static void Fallisci(int numero);
};
