// The reply to "AT+CMGR=" in any of the character sets a modem shows texts in; the first byte
// picks the set.
#include "modem/InterpreteSms.h"
#include "platform/CodicePagina1252.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    if (n == 0)
        return 0;
    static const QString insiemi[] = {QString(), QStringLiteral("GSM"), QStringLiteral("UCS2"),
                                      QStringLiteral("8859-1")};
    const QString& insieme = insiemi[dati[0] % 4];
    const QString risposta =
        CodicePagina1252::Decodifica(QByteArray(reinterpret_cast<const char*>(dati + 1),
                                                qsizetype(n - 1)));
    if (const auto sms = InterpreteSms::Leggi(risposta, insieme)) {
        if (sms->concatenazione && (sms->concatenazione->numero < 1 ||
                                    sms->concatenazione->numero > sms->concatenazione->parti))
            __builtin_trap();
        (void)InterpreteSms::Orario_In_Secondi(sms->orario);
        (void)InterpreteSms::NumeroNazionale(sms->mittente);
    }
    (void)InterpreteSms::Estrai_Numero(risposta);
    (void)InterpreteSms::Estrai_Data(risposta);
    (void)InterpreteSms::Estrai_Orario(risposta);
    (void)InterpreteSms::Estrai_Testo(risposta);
    (void)InterpreteSms::CampiIntestazione(risposta);
    return 0;
}
