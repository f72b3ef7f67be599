#include "PortaSerialeMemoria.h"

#include "platform/ErroreRuntime.h"

void PortaSerialeMemoria::setCommPort(int numero) {
    if (aperta_)
        Fallisci(ErroreRuntime::PortaGiaAperta);
    porta_ = numero;
}

void PortaSerialeMemoria::setPortOpen(bool aperta) {
    if (aperta == aperta_) {
        if (aperta)
            Fallisci(ErroreRuntime::PortaGiaAperta);
        return;
    }
    rigaInCorso_.clear();
    if (aperta) {
        if (!porteEsistenti.contains(porta_))
            Fallisci(ErroreRuntime::PortaNonValida);
        if (porteOccupate.contains(porta_))
            Fallisci(ErroreRuntime::PortaGiaAperta);
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
        Fallisci(ErroreRuntime::PortaChiusa);
    if (scritturaFallisce)
        Fallisci(ErroreRuntime::ScritturaSeriale);
    scritto += testo;
    for (QChar c : testo) {
        if (c == QChar(13) || c == QChar(26) || c == QChar(27)) {
            righeScritte.append(rigaInCorso_);
            if (risponditore)
                inArrivo += risponditore(rigaInCorso_);
            rigaInCorso_.clear();
        } else {
            rigaInCorso_.append(c);
        }
    }
}
