#pragma once

#include "RapportoBande.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>

class ErroreRuntime;
class PortaSeriale;
class QWidget;
class RecordsetInMemoria;
class StampanteCorrente;
struct ImpostazioniAttivita;
struct StatoGlobale;

// Every printout of the program. Each routine gathers its data and then, as the settings in use
// (`impostazioni`, kept up to date by their owner) say at that moment with stampa80Colonne, either
// sends the document as text lines to the 80-column printer on the port portaStampa80 (MSComm2,
// "9600,N,8,1", opened and closed for each document) or prints its page report on the current
// system printer: the single message at once, the others through a preview window from which the
// user prints.
//
// The main window creates one for the whole run, after its printer port and the current system
// printer, and hands it to the windows that print:
//     ModulofnStampa stampa(stato, impostazioni, *MSComm2, stampanteCorrente, this);
// MSComm2 (a PortaSerialeQt on the program folder), the StampanteCorrente and the window must
// outlive it; the window owns the preview windows and the message boxes of the printouts, and
// may be null (the boxes then belong to the active window).
class ModulofnStampa {
public:
    ModulofnStampa(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                   PortaSeriale& MSComm2, StampanteCorrente& stampante,
                   QWidget* finestra = nullptr);
    ~ModulofnStampa();
    ModulofnStampa(const ModulofnStampa&) = delete;
    ModulofnStampa& operator=(const ModulofnStampa&) = delete;

    void setFinestra(QWidget* finestra) { finestra_ = finestra; }

    void StampaSms(const QString& numero, const QString& nome, const QString& data,
                   const QString& ora, const QString& testo);
    // `nome` empty and `numero` "Tutti" for every customer; dataDa and dataA are date keys, both
    // 0 for every date.
    void StampaListaSms(const QString& nome, const QString& numero, int dataDa, int dataA);
    // `tipoLista` (the register's view) has no effect: every enabled customer is printed.
    void StampaListaClienti(int tipoLista);
    // 2: the disabled customers; any other value: the enabled ones.
    void StampaListaClientiRidotta(int tipoLista);
    void StampaSingoloCliente(const QString& id, const QString& numero, const QString& nome,
                              const QString& nascita, const QString& indirizzo,
                              const QString& informazioni);
    void StampaVolantino(const QString& nomeAttivita, const QString& contatto,
                         const QString& telefonoGsm, const QString& telefonoAttivita,
                         const QString& indirizzo, const QString& informazioni);
    // One text to the open printer port, word-wrapped to 36 columns.
    void StampaRiga(const QString& testo);

    // The report of that name, created on its first use and kept for the rest of the run.
    RapportoBande& Rapporto(const QString& nome);

    // Page-width limits, in twips.
    static constexpr int LarghezzaMinima = 4518;
    static constexpr int LarghezzaLarga = 11000;

private:
    using Righe = std::function<QStringList()>;
    using TestiRapporto = std::function<void(RapportoBande&, bool largo)>;

    // One 80-column document: "j@", the lines, "J", on a port opened for it and closed after.
    // The lines are asked for only once "j@" has gone, as an empty list fails only then.
    void documento80(const Righe& righe);
    // After a failed 80-column document: the port is closed, then the user is told.
    void erroreStampa(const ErroreRuntime& e);
    void chiudiPorta();

    // The page output: the layout the printer's page width calls for, or the too-small box.
    void rapportoPagina(const QString& largo, const QString& stretto, const QString& documento,
                        RecordsetInMemoria* dati, bool anteprima, const TestiRapporto& testi);
    void produci(const QString& nome, bool largo, const QString& documento,
                 RecordsetInMemoria* dati, bool anteprima, const TestiRapporto& testi);

    StatoGlobale& stato_;
    const ImpostazioniAttivita& impostazioni_;
    PortaSeriale& MSComm2;
    StampanteCorrente& stampante_;
    QWidget* finestra_;
    std::map<QString, std::unique_ptr<RapportoBande>> rapporti_;
};
