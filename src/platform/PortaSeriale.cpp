#include "PortaSeriale.h"

#include "ErroreRuntime.h"

void PortaSeriale::Fallisci(int numero) {
    switch (numero) {
    case ErroreRuntime::PortaNonValida:
        throw ErroreRuntime(numero, QStringLiteral("Numero di porta non valido"));
    case ErroreRuntime::PortaGiaAperta:
        throw ErroreRuntime(numero, QStringLiteral("Porta già aperta"));
    case ErroreRuntime::PortaChiusa:
        throw ErroreRuntime(numero, QStringLiteral("Operazione valida solo con la porta aperta"));
    default:
        throw ErroreRuntime(numero, QStringLiteral("Errore di scrittura sulla porta seriale"));
    }
}
