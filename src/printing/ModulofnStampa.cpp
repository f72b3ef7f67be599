#include "ModulofnStampa.h"

#include "AvvolgimentoRiga.h"
#include "CatalogoRapporti.h"
#include "Documenti80Colonne.h"
#include "FormAnteprima.h"
#include "RaccoltaDatiStampa.h"
#include "RecordsetInMemoria.h"
#include "StampanteCorrente.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "platform/PortaSeriale.h"

#include <QPrinter>

namespace {

const QString kTitoloInformazione = QStringLiteral("Informazione di Stampa");
const QString kTitoloErrore = QStringLiteral("Errore Stampa");

void listaVuota(QWidget* finestra) {
    MsgBox(QStringLiteral("Impossibile Stampare una lista vuota."), Stile::Informazione,
           kTitoloInformazione, finestra);
}

RecordsetInMemoria unaRiga() {
    // Only so that the detail band prints once: the texts travel in labels.
    RecordsetInMemoria r({QStringLiteral("Nr")}, 0);
    r.Aggiungi({});
    return r;
}

} // namespace

ModulofnStampa::ModulofnStampa(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                               PortaSeriale& MSComm2, StampanteCorrente& stampante,
                               QWidget* finestra)
    : stato_(stato)
    , impostazioni_(impostazioni)
    , MSComm2(MSComm2)
    , stampante_(stampante)
    , finestra_(finestra) {}

ModulofnStampa::~ModulofnStampa() = default;

RapportoBande& ModulofnStampa::Rapporto(const QString& nome) {
    auto& r = rapporti_[nome];
    if (!r)
        r = CatalogoRapporti::Crea(nome);
    return *r;
}

// ---- 80-column printer ----

void ModulofnStampa::StampaRiga(const QString& testo) {
    MSComm2.Output(AvvolgimentoRiga::Protocollo(testo));
}

void ModulofnStampa::documento80(const Righe& righe) {
    MSComm2.setCommPort(impostazioni_.portaStampa80);
    MSComm2.setSettings(QStringLiteral("9600,N,8,1"));
    if (!MSComm2.PortOpen())
        MSComm2.setPortOpen(true);
    if (MSComm2.PortOpen()) {
        MSComm2.Output(QStringLiteral("j@"));
        for (const QString& riga : righe())
            StampaRiga(riga);
        MSComm2.Output(QStringLiteral("J"));
    }
    MSComm2.setPortOpen(false);
}

void ModulofnStampa::chiudiPorta() {
    try {
        if (MSComm2.PortOpen())
            MSComm2.setPortOpen(false);
    } catch (const ErroreRuntime&) {
        // Closing cannot fail in a way the user could act on.
    }
}

void ModulofnStampa::erroreStampa(const ErroreRuntime& e) {
    // The next document must not find the port half-open.
    chiudiPorta();
    switch (e.Number()) {
    case ErroreRuntime::PortaNonValida:
    case ErroreRuntime::PortaGiaAperta:
    case ErroreRuntime::PortaChiusa:
    case ErroreRuntime::ScritturaSeriale:
        // No such port, a port held by another program, or a printer gone mid-document.
        MsgBox(QStringLiteral("Stampante 80 Colonne non trovata o spenta. Si prega di controllare "
                              "le configuazioni di stampa."),
               Stile::Informazione, kTitoloInformazione, finestra_);
        break;
    case ErroreRuntime::NessunRecordCorrente:
        listaVuota(finestra_);
        break;
    default:
        MsgBox(e.DescrizioneENumero(), Stile::Informazione, kTitoloInformazione, finestra_);
        break;
    }
}

// ---- page reports ----

void ModulofnStampa::rapportoPagina(const QString& largo, const QString& stretto,
                                    const QString& documento, RecordsetInMemoria* dati,
                                    bool anteprima, const TestiRapporto& testi) {
    if (stampante_.LarghezzaPaginaTwips() < LarghezzaMinima)
        MsgBox(QStringLiteral("La Stampante selezionata è troppo piccola per effettuare la stampa"),
               Stile::Informazione, kTitoloErrore, finestra_);
    const int larghezza = stampante_.LarghezzaPaginaTwips();
    if (larghezza >= LarghezzaMinima && larghezza < LarghezzaLarga)
        produci(stretto, false, documento, dati, anteprima, testi);
    if (stampante_.LarghezzaPaginaTwips() >= LarghezzaLarga)
        produci(largo, true, documento, dati, anteprima, testi);
}

void ModulofnStampa::produci(const QString& nome, bool largo, const QString& documento,
                             RecordsetInMemoria* dati, bool anteprima, const TestiRapporto& testi) {
    if (dati->RecordCount() == 0) {
        // An empty list says so, as on the 80-column printer, instead of an empty preview.
        listaVuota(finestra_);
        return;
    }
    RapportoBande& rapporto = Rapporto(nome);
    if (testi)
        testi(rapporto, largo);
    rapporto.Collega(dati);
    if (anteprima) {
        FormAnteprima anteprimaForm(rapporto, stampante_, documento, finestra_);
        Modale::Mostra(anteprimaForm, finestra_);
    } else {
        const auto stampante = stampante_.Prepara(documento);
        if (rapporto.Stampa(*stampante) == 0)
            MsgBox(QStringLiteral("La Stampante selezionata non è disponibile."),
                   Stile::Esclamazione, kTitoloErrore, finestra_);
    }
    rapporto.Collega(nullptr);
}

// ---- the six documents ----

void ModulofnStampa::StampaSms(const QString& numero, const QString& nome, const QString& data,
                               const QString& ora, const QString& testo) {
    try {
        if (impostazioni_.stampa80Colonne) {
            documento80([&] { return Documenti80Colonne::Sms(numero, nome, data, ora, testo); });
            return;
        }
        RecordsetInMemoria dati = unaRiga();
        rapportoPagina(QStringLiteral("DR_SMS_singolo"), QStringLiteral("DR_SMS_singolo_n"),
                       QStringLiteral("SMS"), &dati, false, [&](RapportoBande& r, bool) {
                           r.ImpostaEtichetta(QStringLiteral("LblNumero"), numero);
                           r.ImpostaEtichetta(QStringLiteral("LblNome"), nome);
                           r.ImpostaEtichetta(QStringLiteral("LblDataArrivo"), data);
                           r.ImpostaEtichetta(QStringLiteral("LblOrarioArrivo"), ora);
                           r.ImpostaEtichetta(QStringLiteral("LblTesto"), testo);
                       });
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}

void ModulofnStampa::StampaListaSms(const QString& nome, const QString& numero, int dataDa,
                                    int dataA) {
    try {
        RecordsetInMemoria lista = RaccoltaDatiStampa::ListaSms(stato_.archivio, stato_.rubrica,
                                                                nome, numero, dataDa, dataA);
        if (impostazioni_.stampa80Colonne) {
            documento80([&] { return Documenti80Colonne::ListaSms(lista, nome, numero); });
            return;
        }
        if (nome.isEmpty()) {
            rapportoPagina(QStringLiteral("DR_ListaSMS"), QStringLiteral("DR_ListaSMS_n"),
                           QStringLiteral("Lista SMS"), &lista, true, [](RapportoBande& r, bool) {
                               r.ImpostaEtichetta(QStringLiteral("Titolo"),
                                                  QStringLiteral("Lista SMS"));
                           });
        } else {
            const QString titolo =
                QStringLiteral("Lista SMS di ") + nome + QStringLiteral(" - ") + numero;
            rapportoPagina(QStringLiteral("DR_ListaSMS_cliente"),
                           QStringLiteral("DR_ListaSMS_cliente_n"), titolo, &lista, true,
                           [&](RapportoBande& r, bool) {
                               r.ImpostaEtichetta(QStringLiteral("Titolo"), titolo);
                           });
        }
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}

void ModulofnStampa::StampaListaClienti(int /*tipoLista*/) {
    try {
        RecordsetInMemoria lista = RaccoltaDatiStampa::ListaClienti(stato_.archivio);
        if (impostazioni_.stampa80Colonne) {
            documento80([&] { return Documenti80Colonne::ListaClienti(lista); });
            return;
        }
        rapportoPagina(QStringLiteral("DR_ListaClienti"), QStringLiteral("DR_ListaClienti_n"),
                       QStringLiteral("Lista Clienti"), &lista, true, {});
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}

void ModulofnStampa::StampaListaClientiRidotta(int tipoLista) {
    try {
        RecordsetInMemoria lista =
            RaccoltaDatiStampa::ListaClientiRidotta(stato_.archivio, tipoLista);
        if (impostazioni_.stampa80Colonne) {
            documento80([&] { return Documenti80Colonne::ListaClientiRidotta(lista); });
            return;
        }
        rapportoPagina(QStringLiteral("DR_ListaClienti_sub"),
                       QStringLiteral("DR_ListaClienti_sub_n"),
                       QStringLiteral("Lista Clienti Ridotta"), &lista, true, {});
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}

void ModulofnStampa::StampaSingoloCliente(const QString& id, const QString& numero,
                                          const QString& nome, const QString& nascita,
                                          const QString& indirizzo, const QString& informazioni) {
    try {
        if (impostazioni_.stampa80Colonne) {
            documento80([&] {
                return Documenti80Colonne::SingoloCliente(id, numero, nome, nascita, indirizzo,
                                                          informazioni);
            });
            return;
        }
        // Not cut to 30 characters: the report's fields take the lines a long address needs.
        RecordsetInMemoria dati({QStringLiteral("IDCliente"), QStringLiteral("Numero"),
                                 QStringLiteral("Nome"), QStringLiteral("DataNascita"),
                                 QStringLiteral("Indirizzo"), QStringLiteral("Informazioni")},
                                RaccoltaDatiStampa::LarghezzaSms);
        dati.Aggiungi({id, numero, nome, nascita, indirizzo, informazioni});
        rapportoPagina(QStringLiteral("DR_ListaClienti_sin"),
                       QStringLiteral("DR_ListaClienti_sin_n"), QStringLiteral("Cliente Singolo"),
                       &dati, true, [&](RapportoBande& r, bool largo) {
                           if (largo)
                               r.ImpostaEtichetta(QStringLiteral("Titolo"),
                                                  QStringLiteral("Cliente Singolo - ID n°: ") + id);
                       });
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}

void ModulofnStampa::StampaVolantino(const QString& nomeAttivita, const QString& contatto,
                                     const QString& telefonoGsm, const QString& telefonoAttivita,
                                     const QString& indirizzo, const QString& informazioni) {
    try {
        if (impostazioni_.stampa80Colonne) {
            documento80([&] {
                return Documenti80Colonne::Volantino(nomeAttivita, contatto, telefonoGsm,
                                                     telefonoAttivita, indirizzo, informazioni);
            });
            return;
        }
        RecordsetInMemoria dati = unaRiga();
        rapportoPagina(QStringLiteral("Dr_Volantino"), QStringLiteral("Dr_Volantino_n"),
                       QStringLiteral("Biglietti da visita"), &dati, true,
                       [&](RapportoBande& r, bool largo) {
                           for (int k = 0; k < (largo ? 8 : 1); ++k) {
                               const auto label = [k](int n) {
                                   return QStringLiteral("Label%1").arg(10 * k + n);
                               };
                               r.ImpostaEtichetta(label(1), nomeAttivita);
                               r.ImpostaEtichetta(label(2), informazioni);
                               r.ImpostaEtichetta(label(4), telefonoGsm);
                               r.ImpostaEtichetta(label(6), indirizzo);
                               r.ImpostaEtichetta(label(8), contatto);
                               r.ImpostaEtichetta(label(10), telefonoAttivita);
                           }
                       });
    } catch (const ErroreRuntime& e) {
        erroreStampa(e);
    }
}
