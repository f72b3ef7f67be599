#include "ErroreRuntime.h"

ErroreRuntime::ErroreRuntime(int numero, QString descrizione)
    : numero_(numero)
    , descrizione_(std::move(descrizione))
    , testoUtf8_(QStringLiteral("%1 (%2)").arg(descrizione_).arg(numero_).toUtf8()) {}
