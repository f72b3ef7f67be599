#include "PannelloGsm.h"

void PannelloGsm::DisattivaStato() {
    rete.attiva = false;
    operatore.attiva = false;
    credito.attiva = false;
    gestioneCredito = false;
}

void PannelloGsm::Spegni() {
    DisattivaStato();
    segnale = 0;
    segnaleAttivo = false;
    gestionePin = false;
}

void PannelloGsm::MostraCredito(const QString& valore, bool daConfermare) {
    credito.testo =
        QStringLiteral("Credito : ") + valore + (daConfermare ? QStringLiteral(" ?") : QString());
}

QString PannelloGsm::TestoStatoPin() const {
    switch (statoPin) {
    case StatoPin::PrimoInserimento:
        return QStringLiteral("1° Inserimento PIN");
    case StatoPin::SecondoInserimento:
        return QStringLiteral("2° Inserimento PIN");
    case StatoPin::TerzoInserimento:
        return QStringLiteral("3° Inserimento PIN");
    case StatoPin::PukRichiesto:
        return QStringLiteral("Inserire PUK seguito da virgola e PIN ");
    case StatoPin::InserirePuk:
        return QStringLiteral("Inserire PUK ");
    case StatoPin::Abilitato:
        return QStringLiteral("GSM ABILITATO");
    }
    return {};
}

QString PannelloGsm::TestoPulsantePin() const {
    switch (richiestaPin) {
    case RichiestaPin::NonNota:
        return QStringLiteral("Gestione Pin");
    case RichiestaPin::Disattiva:
        return QStringLiteral("Abilita Pin");
    case RichiestaPin::Attiva:
        return QStringLiteral("Disabilita Pin");
    }
    return {};
}
