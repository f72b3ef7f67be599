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
        {QStringLiteral("AT+CSMP=17,167,0,0"), ok},
        {QStringLiteral("AT+CLCK?"), QStringLiteral("\r\n+CLCK: (\"SC\",0)\r\n") + ok},
        {QStringLiteral("AT+CREG?"), QStringLiteral("\r\n+CREG: 0,1\r\n") + ok},
        {QStringLiteral("AT+CSQ"), QStringLiteral("\r\n+CSQ: 20,99\r\n") + ok},
    };
}

void ModemCopione::collega(PortaSerialeMemoria& porta) {
    porta.risponditore = [this](const QString& riga) { return rispondi(riga); };
}

void ModemCopione::sms(int slot, const QString& mittente, const QString& timestamp,
                       const QString& testo) {
    risposte[QStringLiteral("AT+CMGR=%1").arg(slot)] =
        QStringLiteral("\r\n+CMGR: \"REC UNREAD\",\"%1\",,\"%2\"\r\n%3\r\n\r\nOK\r\n")
            .arg(mittente, timestamp, testo);
}

QString ModemCopione::rispondi(const QString& riga) {
    if (spento || muti.contains(riga))
        return {};
    if (riga.startsWith(QLatin1String("AT+CMGD=")))
        risposte.remove(QStringLiteral("AT+CMGR=") + riga.mid(8));
    if (const auto trovata = risposte.constFind(riga); trovata != risposte.cend())
        return *trovata;
    if (riga.startsWith(QLatin1String("AT+CMGR=")) || riga.startsWith(QLatin1String("AT+CMGD=")))
        return Ok();
    return QStringLiteral("\r\nERROR\r\n");
}
