#include "Documenti80Colonne.h"

#include "RaccoltaDatiStampa.h"
#include "RecordsetInMemoria.h"
#include "archive/Schema.h"

#include <functional>

namespace {

const QString kVuota = QStringLiteral(" ");

// One block per row, the separator between two blocks and not after the last.
void perRiga(QStringList& righe, RecordsetInMemoria& lista,
             const std::function<void(QStringList&)>& blocco) {
    lista.MoveFirst();
    while (!lista.isEOF()) {
        blocco(righe);
        lista.MoveNext();
        if (!lista.isEOF())
            righe << Documenti80Colonne::Separatore();
    }
}

void chiusuraListaSms(QStringList& righe) {
    righe << kVuota << QStringLiteral("   +-----------------------+")
          << QStringLiteral("---| FINE STAMPA LISTA SMS |--------")
          << QStringLiteral("   +-----------------------+");
}

} // namespace

QStringList Documenti80Colonne::ListaClienti(RecordsetInMemoria& lista) {
    lista.MoveFirst();
    QStringList righe{QStringLiteral("   +----------------------+"),
                      QStringLiteral("---| STAMPA LISTA CLIENTI |--------"),
                      QStringLiteral("   +----------------------+"), kVuota};
    perRiga(righe, lista, [&](QStringList& r) {
        r << QStringLiteral("ID CLIENTE: ") + lista.Testo(Campo::T1IdCliente)
          << QStringLiteral("Numero: ") + lista.Testo(Campo::T1Numero)
          << QStringLiteral("Nome: ") + lista.Testo(Campo::T1Nome)
          << QStringLiteral("Nato il: ") + lista.Testo(Campo::T1Nascita)
          << QStringLiteral("Indirizzo: ") + lista.Testo(Campo::T1Indirizzo)
          << QStringLiteral("Informazioni Cliente: ") << lista.Testo(Campo::T1Informazioni);
    });
    righe << kVuota << QStringLiteral("   +---------------------------+")
          << QStringLiteral("---| FINE STAMPA LISTA CLIENTI |----")
          << QStringLiteral("   +---------------------------+");
    return righe;
}

QStringList Documenti80Colonne::ListaClientiRidotta(RecordsetInMemoria& lista) {
    lista.MoveFirst();
    QStringList righe{QStringLiteral("   +-------------------------+"),
                      QStringLiteral("---| STAMPA LISTA CLIENTI R. |-----"),
                      QStringLiteral("   +-------------------------+"), kVuota};
    perRiga(righe, lista, [&](QStringList& r) {
        r << QStringLiteral("ID CLIENTE: ") + lista.Testo(Campo::T1IdCliente)
          << QStringLiteral("Numero: ") + lista.Testo(Campo::T1Numero)
          << QStringLiteral("Nome: ") + lista.Testo(Campo::T1Nome);
    });
    righe << kVuota << QStringLiteral("   +------------------------------+")
          << QStringLiteral("---| FINE STAMPA LISTA CLIENTI R. |-")
          << QStringLiteral("   +------------------------------+");
    return righe;
}

QStringList Documenti80Colonne::ListaSms(RecordsetInMemoria& lista, const QString& nome,
                                         const QString& numero) {
    lista.MoveFirst();
    QStringList righe;
    if (!nome.isEmpty()) {
        righe << QStringLiteral("   +--------------------------+")
              << QStringLiteral("---| STAMPA LISTA SMS CLIENTE |-----")
              << QStringLiteral("   +--------------------------+") << kVuota
              << QStringLiteral("Telefono: ") + numero << QStringLiteral("Nome: ") + nome << kVuota
              << QStringLiteral("---| LISTA SMS |--------------------") << kVuota;
        perRiga(righe, lista, [&](QStringList& r) {
            r << QStringLiteral("Data: ") + lista.Testo(Campo::T4DataArrivo) +
                     QStringLiteral("  -  ") + QStringLiteral("Orario: ") +
                     lista.Testo(Campo::T4OrarioArrivo)
              << QStringLiteral("SMS: ") + lista.Testo(Campo::T4TestoSmsRicevuto);
        });
    } else {
        righe << QStringLiteral("   +--------------------------+")
              << QStringLiteral("---| STAMPA LISTA SMS CLIENTI |-----")
              << QStringLiteral("   +--------------------------+") << kVuota;
        perRiga(righe, lista, [&](QStringList& r) {
            r << QStringLiteral("ID: ") + lista.Testo(Campo::T4IdSMS)
              << QStringLiteral("Telefono: ") + lista.Testo(Campo::T4Numero)
              << QStringLiteral("Nome: ") + lista.Testo(RaccoltaDatiStampa::T4Nome)
              << QStringLiteral("Data: ") + lista.Testo(Campo::T4DataArrivo) +
                     QStringLiteral("  -  ") + QStringLiteral("Orario: ") +
                     lista.Testo(Campo::T4OrarioArrivo)
              << QStringLiteral("SMS: ") + lista.Testo(Campo::T4TestoSmsRicevuto);
        });
    }
    chiusuraListaSms(righe);
    return righe;
}

QStringList Documenti80Colonne::Sms(const QString& numero, const QString& nome, const QString& data,
                                    const QString& ora, const QString& testo) {
    return {QStringLiteral("   +------------+"),
            QStringLiteral("---| STAMPA SMS |-------------------"),
            QStringLiteral("   +------------+"),
            kVuota,
            QStringLiteral("Testo SMS:"),
            testo,
            kVuota,
            QStringLiteral("Nome:"),
            QStringLiteral(" -") + nome,
            QStringLiteral("Numero:"),
            QStringLiteral(" -") + numero,
            QStringLiteral("Data: ") + data + QStringLiteral("  -  ") + QStringLiteral("Ora: ") +
                ora,
            kVuota,
            kVuota,
            QStringLiteral("   +-----------------+"),
            QStringLiteral("---| FINE STAMPA SMS |--------------"),
            QStringLiteral("   +-----------------+")};
}

QStringList Documenti80Colonne::SingoloCliente(const QString& id, const QString& numero,
                                               const QString& nome, const QString& nascita,
                                               const QString& indirizzo,
                                               const QString& informazioni) {
    // Framed like the other documents: the box as wide as the title, the title line 36 wide.
    return {QStringLiteral("   +------------------------+"),
            QStringLiteral("---| STAMPA SINGOLO CLIENTE |-------"),
            QStringLiteral("   +------------------------+"),
            kVuota,
            QStringLiteral("ID CLIENTE: ") + id,
            QStringLiteral("Numero: ") + numero,
            QStringLiteral("Nome: ") + nome,
            QStringLiteral("Nato il: ") + nascita,
            QStringLiteral("Indirizzo: ") + indirizzo,
            QStringLiteral("Informazioni Cliente: "),
            informazioni,
            kVuota,
            QStringLiteral("   +-----------------------------+"),
            QStringLiteral("---| FINE STAMPA SINGOLO CLIENTE |--"),
            QStringLiteral("   +-----------------------------+")};
}

QStringList Documenti80Colonne::Volantino(const QString& nomeAttivita, const QString& contatto,
                                          const QString& telefonoGsm,
                                          const QString& telefonoAttivita, const QString& indirizzo,
                                          const QString& informazioni) {
    return {Trattini(),
            nomeAttivita,
            Trattini(),
            QStringLiteral("Contatto:"),
            QStringLiteral(" -") + contatto,
            QStringLiteral("Per Ordinare:"),
            QStringLiteral(" -") + telefonoGsm,
            QStringLiteral("Per Info:"),
            QStringLiteral(" -") + telefonoAttivita,
            QStringLiteral("Indirizzo:"),
            QStringLiteral(" -") + indirizzo,
            QStringLiteral("OFFERTA:"),
            informazioni,
            Trattini()};
}
