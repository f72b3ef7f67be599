#pragma once

#include "platform/PortaSeriale.h"

#include <QSet>
#include <QStringList>
#include <QVector>
#include <functional>

// An in-memory port for tests: which COM numbers exist, what was written, every DTR change with
// the tick it fell on, and input that a test feeds as if the device had sent it, either by hand
// or through a scripted modem that answers each line written.
class PortaSerialeMemoria : public PortaSeriale {
public:
    struct CambioDtr {
        int porta;
        bool attivo;
        int tick;
    };

    QSet<int> porteEsistenti; // COM numbers that exist
    QSet<int> porteOccupate;  // COM numbers held by another process
    bool scritturaFallisce = false;
    QString scritto; // everything written, in order
    QVector<CambioDtr> cambiDtr;
    QString inArrivo;      // input waiting to be read
    QVector<int> aperture; // ports opened, in order
    int tick = 0;          // advanced by the test, stamped on each DTR change
    // Called with each line written (up to its carriage return, Ctrl-Z or ESC, excluded); what it
    // returns arrives as input. Only while the port is open.
    std::function<QString(const QString& riga)> risponditore;
    QStringList righeScritte; // every line written, in order

    void setCommPort(int numero) override;
    int CommPort() const override { return porta_; }
    void setSettings(const QString& impostazioni) override { settings_ = impostazioni; }
    QString Settings() const override { return settings_; }
    void setInputModeTesto() override {}

    bool PortOpen() const override { return aperta_; }
    void setPortOpen(bool aperta) override;
    bool DTREnable() const override { return dtr_; }
    void setDTREnable(bool attivo) override;

    int InBufferCount() override { return int(inArrivo.size()); }
    QString Input() override;
    void Output(const QString& testo) override;

private:
    int porta_ = 1;
    QString settings_;
    bool aperta_ = false;
    bool dtr_ = false;
    QString rigaInCorso_;
};
