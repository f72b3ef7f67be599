#include "CaratteriSim.h"

#include "CodificaSim.h"
#include "platform/CodicePagina1252.h"

#include <QStringList>

namespace {

bool codificato(const SmsSim& s) {
    return CodificaSim::ConIntestazione(s.fo) ||
           CodificaSim::DatiDaDcs(s.dcs) != CodificaSim::Dati::Sette;
}

// A text in the "UCS2" set (hexadecimal) or the "GSM" one (the septet codes, ESC and one for
// the extension table, "?" for what the alphabet lacks).
QByteArray nellInsieme(const QString& testo, const QByteArray& insieme) {
    if (insieme == "UCS2")
        return CodificaSim::Esadecimale(CodificaSim::Ucs2(testo));
    QByteArray r;
    const QList<int> codici = CodificaSim::Codici(testo).value_or(QList<int>());
    for (const int c : codici)
        r += char(c);
    return r;
}

} // namespace

QByteArray CaratteriSim::ElencoInsiemi(bool con8859) {
    return con8859 ? R"(("IRA","GSM","8859-1","UCS2"))" : R"(("IRA","GSM","UCS2"))";
}

bool CaratteriSim::InsiemeNoto(const QByteArray& insieme, bool con8859) {
    return insieme == "IRA" || insieme == "GSM" || insieme == "UCS2" ||
           (con8859 && insieme == "8859-1");
}

QByteArray CaratteriSim::CorpoMostrato(const SmsSim& s, const QByteArray& insieme) {
    if (codificato(s))
        return s.testo;
    // The stored bytes are the line's own (code page 1252); IRA has nothing above 0x7F.
    const QString testo = CodicePagina1252::Decodifica(s.testo);
    if (insieme == "IRA" || (insieme == "8859-1" && !s.dalTelefono)) {
        QByteArray r = s.testo;
        if (insieme == "IRA")
            for (char& c : r)
                if (uchar(c) >= 0x80)
                    c = '?';
        return r;
    }
    // A phone's text in 8859-1: what the set lacks ("€" among them) shows as "?".
    if (insieme == "8859-1") {
        QByteArray r;
        for (const QChar c : testo)
            r += c.unicode() <= 0xFF ? char(c.unicode()) : '?';
        return r;
    }
    return nellInsieme(testo, insieme);
}

QByteArray CaratteriSim::CampoMostrato(const QByteArray& campo, const QByteArray& insieme) {
    if (insieme != "UCS2" && insieme != "GSM")
        return campo;
    return nellInsieme(CodicePagina1252::Decodifica(campo), insieme);
}

int CaratteriSim::Lunghezza(const SmsSim& s) {
    if (s.septetti)
        return *s.septetti;
    return int(codificato(s) ? s.testo.size() / 2 : s.testo.size());
}

std::optional<QString> CaratteriSim::TestoInviato(QByteArray testo, const QByteArray& insieme,
                                                  int dcs) {
    const CodificaSim::Dati dati = CodificaSim::DatiDaDcs(dcs);
    if (dati != CodificaSim::Dati::Sette || insieme == "UCS2") {
        const auto ottetti = CodificaSim::DaEsadecimale(testo);
        if (!ottetti)
            return std::nullopt;
        if (dati == CodificaSim::Dati::Otto)
            return QString::fromLatin1(*ottetti);
        if (dati == CodificaSim::Dati::Ucs2)
            return CodificaSim::DaUcs2(*ottetti);
        testo = *ottetti;
    }
    QString chiaro = QString::fromLatin1(testo);
    if (insieme == "UCS2")
        chiaro = CodificaSim::DaUcs2(testo);
    // What the set cannot carry, and what the GSM alphabet has no septet for, arrives as "?".
    QString arrivato;
    for (const QChar c : chiaro) {
        const bool nelInsieme = insieme == "IRA"      ? c.unicode() < 0x80
                                : insieme == "8859-1" ? c.unicode() < 0x80 || c.unicode() >= 0xA0
                                                      : true;
        const bool inAlfabeto = CodificaSim::NellAlfabeto(c);
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
        if (p.size() != 3 || !ok[0] || !ok[1] || !ok[2] || rif < 0 || rif > 65535 || tot < 1 ||
            tot > 255 || num < 1 || num > tot) {
            *errore = QStringLiteral("La parte va indicata come RIF/TOT/NUM (per esempio 7/3/1; "
                                     "un riferimento da 256 a 65535 va a 16 bit)");
            return false;
        }
        intestazione = CodificaSim::IntestazioneConcatenazione(rif, tot, num);
        intestazione.prepend(char(intestazione.size()));
        s.fo = 0x44;
    }
    QByteArray ottetti;
    s.septetti.reset();
    if (codifica.isEmpty() || codifica == QLatin1String("7bit")) {
        s.dcs = 0;
        if (intestazione.isEmpty()) {
            s.testo = CodicePagina1252::Codifica(testo);
            s.dalTelefono = true;
            return true;
        }
        // As the network delivers it: header, fill bits, then the septets.
        const QList<int> septetti = CodificaSim::Codici(testo).value_or(QList<int>());
        ottetti = CodificaSim::Impacchetta(septetti, intestazione);
        s.septetti =
            CodificaSim::SeptettiIntestazione(int(intestazione.size())) + int(septetti.size());
    } else if (codifica == QLatin1String("8bit")) {
        s.dcs = 4;
        ottetti = intestazione + testo.toLatin1();
    } else if (codifica == QLatin1String("ucs2")) {
        s.dcs = 8;
        ottetti = intestazione + CodificaSim::Ucs2(testo);
    } else {
        *errore = QStringLiteral("Codifica sconosciuta: %1 (7bit, 8bit o ucs2)").arg(codifica);
        return false;
    }
    s.testo = CodificaSim::Esadecimale(ottetti);
    return true;
}
