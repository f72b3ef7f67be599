#include "ProtocolloControllo.h"

QByteArray ProtocolloControllo::riga(const QStringList& campi) {
    QByteArray r;
    for (qsizetype i = 0; i < campi.size(); ++i) {
        if (i > 0)
            r += '\t';
        for (const char c : campi[i].toUtf8()) {
            switch (c) {
            case '\\':
                r += "\\\\";
                break;
            case '\t':
                r += "\\t";
                break;
            case '\r':
                r += "\\r";
                break;
            case '\n':
                r += "\\n";
                break;
            default:
                r += c;
            }
        }
    }
    return r + '\n';
}

QStringList ProtocolloControllo::campi(const QByteArray& riga) {
    QByteArray r = riga;
    if (r.endsWith('\n'))
        r.chop(1);
    QStringList campi;
    QByteArray campo;
    for (qsizetype i = 0; i < r.size(); ++i) {
        const char c = r[i];
        if (c == '\t') {
            campi.append(QString::fromUtf8(campo));
            campo.clear();
        } else if (c == '\\' && i + 1 < r.size()) {
            const char s = r[++i];
            campo += s == 't' ? '\t' : s == 'r' ? '\r' : s == 'n' ? '\n' : s;
        } else {
            campo += c;
        }
    }
    campi.append(QString::fromUtf8(campo));
    return campi;
}
