#pragma once

#include <QString>
#include <QVariant>

// A find-first condition on one field of the current table. The value always travels as a bound
// parameter: a number holding a quote, '%', '_' or '*' is compared as the plain text it is.
class Criterio {
public:
    enum class Tipo { IniziaCon, Uguale };

    // "T3Numero LIKE '<prefisso>*'": the field's text begins with the prefix.
    static Criterio IniziaCon(const QString& campo, const QString& prefisso);
    // "[T1Numero] = '<valore>'": the field's text equals the value exactly.
    static Criterio Uguale(const QString& campo, const QString& valore);
    // "T1IdCliente=<id>", "IDGestore=<id>": the numeric field equals the number.
    static Criterio Uguale(const QString& campo, qint64 valore);

    Tipo tipo() const { return tipo_; }
    const QString& campo() const { return campo_; }
    const QVariant& valore() const { return valore_; }

private:
    Criterio(Tipo tipo, QString campo, QVariant valore);
    Tipo tipo_;
    QString campo_;
    QVariant valore_;
};
