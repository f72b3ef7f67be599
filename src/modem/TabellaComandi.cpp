#include "TabellaComandi.h"

RigaComando TabellaComandi::Riga(ComandoGsm comando, int posizione) {
    const auto fissa = [](const char* riga, int timeout) {
        return RigaComando{QString::fromLatin1(riga), timeout};
    };
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
        return RigaComando{QStringLiteral("AT+CMGR=") + QString::number(posizione), 100};
    case ComandoGsm::CancellazioneSms:
        return RigaComando{QStringLiteral("AT+CMGD=") + QString::number(posizione), 10};
    case ComandoGsm::StatoSim:
        return fissa("AT+CLCK?", 100);
    case ComandoGsm::Rubrica:
        return fissa("AT+CPBR=1", 100);
    case ComandoGsm::MemoriaSms:
        return fissa("AT+CPMS?", 10);
    case ComandoGsm::Modello:
        return fissa("AT+CGMM", 10);
    case ComandoGsm::Credito:
    case ComandoGsm::InvioSms:
        return RigaComando{QString(), kTimeoutIndirizzo};
    case ComandoGsm::ServiziChiamata:
    case ComandoGsm::InserimentoPin:
    case ComandoGsm::BloccoPin:
        return RigaComando{QString(), 100};
    case ComandoGsm::CodificaSms:
        return RigaComando{QString(), 10};
    }
    return RigaComando{};
}
