#include "ModemCopione.h"

#include "PortaSerialeMemoria.h"

ModemCopione::ModemCopione() {
    const QString ok = Ok();
    risposte = {
        {QStringLiteral("AT"), ok},
        {QStringLiteral("ATE0"), ok},
        {QStringLiteral("AT+CGMR"), QStringLiteral("\r\n+CGMR: REV 1.0\r\n") + ok},
        {QStringLiteral("AT+CMGF=1"), ok},
        {QStringLiteral("AT+CMEE=2"), ok},
        {QStringLiteral("AT+CLCK?"), QStringLiteral("\r\n+CLCK: (\"SC\",0)\r\n") + ok},
        {QStringLiteral("AT+CREG?"), QStringLiteral("\r\n+CREG: 0,1\r\n") + ok},
        {QStringLiteral("AT+CSQ"), QStringLiteral("\r\n+CSQ: 20,99\r\n") + ok},
    };
}

void ModemCopione::collega(PortaSerialeMemoria& porta) {
    porta.risponditore = [this](const QString& riga) { return rispondi(riga); };
}

QString ModemCopione::rispondi(const QString& riga) const {
    if (spento || muti.contains(riga))
        return {};
    if (const auto trovata = risposte.constFind(riga); trovata != risposte.cend())
        return *trovata;
    if (riga.startsWith(QLatin1String("AT+CMGR=")) || riga.startsWith(QLatin1String("AT+CMGD=")))
        return Ok();
    return QStringLiteral("\r\nERROR\r\n");
}
