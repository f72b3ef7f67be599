#pragma once

#include "archive/ImpostazioniAttivita.h"
#include "modem/DialogoUtente.h"
#include "modem/MotoreGsm.h"
#include "platform/PortaSeriale.h"

#include <memory>

struct StatoGlobale;
class BackupAutomatico;
class CampagnaSms;
class ModulofnStampa;
class StampanteCorrente;

// The program's working parts, made once for the run and handed to the main window: the modem
// engine on its port, the SMS campaign, the printing on the 80-column printer's port and the
// system printer, the archive's copies, and the settings they all act on. The engine's boxes and
// exchange lines go to the window shown meanwhile (`Mostra`), to a plain box before there is one.
class Applicazione : private DialogoUtente {
public:
    // `porta` is the modem's port, `portaStampante` the 80-column printer's.
    Applicazione(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
                 std::unique_ptr<PortaSeriale> portaStampante);
    ~Applicazione() override;
    Applicazione(const Applicazione&) = delete;
    Applicazione& operator=(const Applicazione&) = delete;

    // The load step: opens the archive of the program's folder, reads what the program acts on
    // (LeggiArchivio) and readies the engine for the search of the modem. Throws ErroreRuntime,
    // having changed nothing, when the archive cannot be opened.
    void Avvia();
    // The settings and the operator in use, from the archive open now (at the start, after a
    // restore); the modem panel shows the operator and its credit.
    void LeggiArchivio();

    // The settings the engine, the printing and the announcement act on; the settings window
    // changes them through CambiaImpostazioni, a test may set them.
    const ImpostazioniAttivita& Impostazioni() const { return impostazioni_; }
    void CambiaImpostazioni(const ImpostazioniAttivita& nuove) { impostazioni_ = nuove; }

    // The window that shows the engine's boxes and exchange lines, and owns the printing's
    // boxes; null when it goes.
    void Mostra(DialogoUtente* dialogo, QWidget* finestra);

    StatoGlobale& Stato() { return stato_; }
    PortaSeriale& PortaModem() { return *porta_; }
    PortaSeriale& PortaStampante() { return *portaStampante_; }
    MotoreGsm& Motore() { return motore_; }
    // The SMS campaign outlives its window: an outcome that comes after it closed is recorded.
    CampagnaSms& Campagna() { return *campagna_; }
    StampanteCorrente& Stampante() { return *stampante_; }
    ModulofnStampa& Stampa() { return *stampa_; }
    BackupAutomatico& Backup() { return *backup_; }

private:
    int Messaggio(const QString& testo, int stile, const QString& titolo) override;
    void Diagnostica(bool inviata, const QString& riga) override;

    StatoGlobale& stato_;
    ImpostazioniAttivita impostazioni_;
    std::unique_ptr<PortaSeriale> porta_;
    std::unique_ptr<PortaSeriale> portaStampante_;
    DialogoUtente* dialogo_ = nullptr;
    MotoreGsm motore_;
    std::unique_ptr<CampagnaSms> campagna_;
    std::unique_ptr<StampanteCorrente> stampante_;
    std::unique_ptr<ModulofnStampa> stampa_;
    std::unique_ptr<BackupAutomatico> backup_;
};
