#include "CaratteriSim.h"

#include "modem/AlfabetoGsm.h"
#include "modem/CorpoSms.h"
#include "platform/CodicePagina1252.h"

#include <QStringList>

namespace {

bool codificato(const SmsSim& s) {
    return CorpoSms::ConIntestazione(s.fo) ||
           CorpoSms::AlfabetoDaDcs(s.dcs) != CorpoSms::Alfabeto::Gsm7;
}

QByteArray ucs2(const QString& testo) {
    return QByteArray::fromHex(CorpoSms::Ucs2Esadecimale(testo).toLatin1());
}

} // namespace

QByteArray CaratteriSim::ElencoInsiemi() {
    return R"(("IRA","8859-1","UCS2"))";
}

bool CaratteriSim::InsiemeNoto(const QByteArray& insieme) {
    return insieme == "IRA" || insieme == "8859-1" || insieme == "UCS2";
}

QByteArray CaratteriSim::CorpoMostrato(const SmsSim& s, const QByteArray& insieme) {
    if (codificato(s))
        return s.testo;
    if (insieme == "UCS2")
        return CorpoSms::Ucs2Esadecimale(CodicePagina1252::Decodifica(s.testo)).toLatin1();
    // The stored bytes are the line's own in 8859-1; plain ASCII has no character above 0x7F.
    QByteArray r = s.testo;
    if (insieme == "IRA")
        for (char& c : r)
            if (static_cast<unsigned char>(c) >= 0x80)
                c = '?';
    return r;
}

int CaratteriSim::Lunghezza(const SmsSim& s) {
    return int(codificato(s) ? s.testo.size() / 2 : s.testo.size());
}

std::optional<QString> CaratteriSim::TestoInviato(const QByteArray& testo,
                                                  const QByteArray& insieme, int dcs) {
    const QString scritto = CodicePagina1252::Decodifica(testo);
    const CorpoSms::Alfabeto alfabeto = CorpoSms::AlfabetoDaDcs(dcs);
    if (alfabeto != CorpoSms::Alfabeto::Gsm7) {
        const auto d = CorpoSms::Decodifica(scritto, 0, dcs);
        if (!d)
            return std::nullopt;
        return d->testo;
    }
    QString chiaro = QString::fromLatin1(testo);
    if (insieme == "UCS2") {
        const auto d = CorpoSms::Decodifica(scritto, 0, 8);
        if (!d)
            return std::nullopt;
        chiaro = d->testo;
    }
    // What the set cannot carry, and what the GSM alphabet has no septet for, arrives as "?".
    QString arrivato;
    for (const QChar c : chiaro) {
        const bool nelInsieme = insieme == "IRA"      ? c.unicode() < 0x80
                                : insieme == "8859-1" ? c.unicode() < 0x80 || c.unicode() >= 0xA0
                                                      : true;
        const bool inAlfabeto =
            AlfabetoGsm::Contiene(c.unicode()) || c == QChar(13) || c == QChar(10);
        arrivato += nelInsieme && inAlfabeto ? c : QLatin1Char('?');
    }
    return arrivato;
}

bool CaratteriSim::Componi(SmsSim& s, const QString& testo, const QString& codifica,
                           const QString& parte, QString* errore) {
    QByteArray intestazione;
    if (!parte.isEmpty()) {
        const QStringList p = parte.split(QLatin1Char('/'));
        bool ok[3] = {false, false, false};
        const int rif = p.value(0).toInt(&ok[0]);
        const int tot = p.value(1).toInt(&ok[1]);
        const int num = p.value(2).toInt(&ok[2]);
        if (p.size() != 3 || !ok[0] || !ok[1] || !ok[2] || rif < 0 || rif > 255 || tot < 1 ||
            tot > 255 || num < 1 || num > tot) {
            *errore = QStringLiteral("La parte va indicata come RIF/TOT/NUM (per esempio 7/3/1)");
            return false;
        }
        intestazione = QByteArray("\x05\x00\x03", 3) + char(rif) + char(tot) + char(num);
        s.fo = 0x44;
    }
    QByteArray ottetti;
    if (codifica.isEmpty() || codifica == QLatin1String("7bit")) {
        s.dcs = 0;
        if (intestazione.isEmpty()) {
            s.testo = CodicePagina1252::Codifica(testo);
            return true;
        }
        ottetti = AlfabetoGsm::Impacchetta(testo, intestazione);
    } else if (codifica == QLatin1String("8bit")) {
        s.dcs = 4;
        ottetti = intestazione + testo.toLatin1();
    } else if (codifica == QLatin1String("ucs2")) {
        s.dcs = 8;
        ottetti = intestazione + ucs2(testo);
    } else {
        *errore = QStringLiteral("Codifica sconosciuta: %1 (7bit, 8bit o ucs2)").arg(codifica);
        return false;
    }
    s.testo = ottetti.toHex().toUpper();
    return true;
}
