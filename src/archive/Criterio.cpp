#include "Criterio.h"

Criterio::Criterio(Tipo tipo, QString campo, QVariant valore)
    : tipo_(tipo)
    , campo_(std::move(campo))
    , valore_(std::move(valore)) {}

Criterio Criterio::IniziaCon(const QString& campo, const QString& prefisso) {
    return Criterio(Tipo::IniziaCon, campo, QVariant(prefisso));
}

Criterio Criterio::Uguale(const QString& campo, const QString& valore) {
    return Criterio(Tipo::Uguale, campo, QVariant(valore));
}

Criterio Criterio::Uguale(const QString& campo, qint64 valore) {
    return Criterio(Tipo::Uguale, campo, QVariant(valore));
}
