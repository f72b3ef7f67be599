#include "TabellaComandi.h"

std::optional<RigaComando> TabellaComandi::Comando(ComandoGsm comando, int indiceSim,
                                                   bool faseTesto) {
    const auto fissa = [](const char* riga, int timeout) {
        return RigaComando{QString::fromLatin1(riga), timeout, false};
    };
    const auto dalChiamante = [](int timeout) { return RigaComando{QString(), timeout, true}; };
    switch (comando) {
    case ComandoGsm::Test:
        return fissa("AT", 10);
    case ComandoGsm::EcoSpenta:
        return fissa("ATE0", 10);
    case ComandoGsm::Revisione:
        return fissa("AT+CGMR", 10);
    case ComandoGsm::ModoTesto:
        return fissa("AT+CMGF=1", 10);
    case ComandoGsm::ErroriEstesi:
        return fissa("AT+CMEE=2", 10);
    case ComandoGsm::Registrazione:
        return fissa("AT+CREG?", 10);
    case ComandoGsm::Segnale:
        return fissa("AT+CSQ", 10);
    case ComandoGsm::LetturaSms:
        return RigaComando{QStringLiteral("AT+CMGR=") + QString::number(indiceSim), 100, false};
    case ComandoGsm::CancellazioneSms:
        return RigaComando{QStringLiteral("AT+CMGD=") + QString::number(indiceSim), 10, false};
    case ComandoGsm::Credito:
    case ComandoGsm::InvioSms:
        // Once the text is out the network can take a long while: three minutes.
        return dalChiamante(faseTesto ? 1800 : 100);
    case ComandoGsm::ServiziChiamata:
    case ComandoGsm::InserimentoPin:
    case ComandoGsm::BloccoPin:
        return dalChiamante(100);
    case ComandoGsm::StatoSim:
        return fissa("AT+CLCK?", 100);
    case ComandoGsm::Rubrica:
        return fissa("AT+CPBR=1", 100);
    case ComandoGsm::MemoriaSms:
        return fissa("AT+CPMS?", 10);
    case ComandoGsm::CodificaSms:
        return dalChiamante(10);
    }
    return std::nullopt;
}
