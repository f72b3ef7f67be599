#include "PortaSerialeMemoria.h"

#include "ErroreRuntime.h"

void PortaSerialeMemoria::setCommPort(int numero) {
    if (aperta_)
        throw ErroreRuntime(ErroreRuntime::PortaGiaAperta, QStringLiteral("Porta già aperta"));
    porta_ = numero;
}

void PortaSerialeMemoria::setPortOpen(bool aperta) {
    if (aperta == aperta_) {
        if (aperta)
            throw ErroreRuntime(ErroreRuntime::PortaGiaAperta, QStringLiteral("Porta già aperta"));
        return;
    }
    rigaInCorso_.clear();
    if (aperta) {
        if (!porteEsistenti.contains(porta_))
            throw ErroreRuntime(ErroreRuntime::PortaNonValida,
                                QStringLiteral("Numero di porta non valido"));
        if (porteOccupate.contains(porta_))
            throw ErroreRuntime(ErroreRuntime::PortaGiaAperta, QStringLiteral("Porta già aperta"));
        aperture.append(porta_);
    }
    aperta_ = aperta;
}

void PortaSerialeMemoria::setDTREnable(bool attivo) {
    if (dtr_ != attivo)
        cambiDtr.append({porta_, attivo, tick});
    dtr_ = attivo;
}

QString PortaSerialeMemoria::Input() {
    QString letto;
    letto.swap(inArrivo);
    return letto;
}

void PortaSerialeMemoria::Output(const QString& testo) {
    if (!aperta_)
        throw ErroreRuntime(ErroreRuntime::PortaChiusa,
                            QStringLiteral("Operazione valida solo con la porta aperta"));
    if (scritturaFallisce)
        throw ErroreRuntime(ErroreRuntime::ScritturaSeriale,
                            QStringLiteral("Errore di scrittura sulla porta seriale"));
    scritto += testo;
    for (QChar c : testo) {
        if (c == QChar(13) || c == QChar(26)) {
            righeScritte.append(rigaInCorso_);
            if (risponditore)
                inArrivo += risponditore(rigaInCorso_);
            rigaInCorso_.clear();
        } else {
            rigaInCorso_.append(c);
        }
    }
}
