// A modem's reply as the serial line delivers it: bytes of the code page. A NUL splits off the
// command line the reply answers.
#include "modem/RispostaAt.h"
#include "platform/CodicePagina1252.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const QByteArray byte(reinterpret_cast<const char*>(dati), qsizetype(n));
    const qsizetype nul = byte.indexOf('\0');
    const QString comando = nul < 0 ? QString() : CodicePagina1252::Decodifica(byte.left(nul));
    const RispostaAt r(CodicePagina1252::Decodifica(nul < 0 ? byte : byte.mid(nul + 1)), comando);
    for (qsizetype i = 0; i < r.Righe().size(); ++i) {
        const auto& riga = r.Righe()[i];
        if (riga.inizio > riga.fine || riga.fine > riga.dopo || riga.dopo > r.Testo().size())
            __builtin_trap();
        RispostaAt::Classifica(r.TestoRiga(i), comando);
    }
    (void)r.Informazione(QStringLiteral("+CMGR:"));
    (void)r.Informazione(QString());
    return 0;
}
