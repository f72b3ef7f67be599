#pragma once

#include <QMap>
#include <QSet>
#include <QString>

class PortaSerialeMemoria;

// A modem that answers from a table, through the in-memory port: each command line written gets
// its reply at once. Reads and deletes of SIM slots answer "OK" (empty slots) unless the table
// says otherwise, and a delete empties the slot; any other line not in the table gets "ERROR";
// lines in `muti` get nothing, and a switched-off modem answers nothing at all.
class ModemCopione {
public:
    ModemCopione();

    QMap<QString, QString> risposte;
    QSet<QString> muti;
    bool spento = false;

    void collega(PortaSerialeMemoria& porta);
    QString rispondi(const QString& riga);
    // A message in SIM slot `slot`, as "AT+CMGR=" reads it.
    void sms(int slot, const QString& mittente, const QString& timestamp, const QString& testo);

    static QString Ok() { return QStringLiteral("\r\nOK\r\n"); }
    static QString Errore(const QString& testo) {
        return QStringLiteral("\r\n+CME ERROR: ") + testo + QStringLiteral("\r\n");
    }
};
