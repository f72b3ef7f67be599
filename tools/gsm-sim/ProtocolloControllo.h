#pragma once

#include <QByteArray>
#include <QStringList>

// The control socket's wire form: one line per request and per answer, fields separated by TAB,
// UTF-8; backslash, TAB, CR and LF inside a field travel as \\ \t \r \n.
class ProtocolloControllo {
public:
    static QByteArray riga(const QStringList& campi);
    static QStringList campi(const QByteArray& riga);
};
