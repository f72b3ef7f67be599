#include "RispostaAt.h"

#include <QStringList>

namespace {

// "+CREG" of "AT+CREG?", "+CMGR" of "AT+CMGR=3": the prefix of the command's information lines.
QString nomeComando(const QString& comando) {
    const QString c = comando.trimmed();
    if (!c.startsWith(QLatin1String("AT+"), Qt::CaseInsensitive))
        return {};
    qsizetype fine = 3;
    while (fine < c.size() && c.at(fine).isLetterOrNumber())
        ++fine;
    return c.mid(2, fine - 2);
}

bool iniziaCon(const QString& riga, const char* prefisso) {
    return riga.startsWith(QLatin1String(prefisso), Qt::CaseInsensitive);
}

} // namespace

RispostaAt::RispostaAt(QString testo, const QString& comando)
    : testo_(std::move(testo)) {
    // Lines end with CR LF, LF or a lone CR (the echo of a command ends with CR alone).
    qsizetype inizio = 0;
    qsizetype i = 0;
    const auto aggiungi = [&](qsizetype fine, qsizetype dopo) {
        Riga r{inizio, fine, dopo, Tipo::Informazione};
        r.tipo = Classifica(testo_.mid(inizio, fine - inizio), comando);
        righe_.append(r);
    };
    while (i < testo_.size()) {
        const QChar c = testo_.at(i);
        if (c == QChar(13) || c == QChar(10)) {
            qsizetype dopo = i + 1;
            if (c == QChar(13) && dopo < testo_.size() && testo_.at(dopo) == QChar(10))
                ++dopo;
            aggiungi(i, dopo);
            inizio = i = dopo;
            continue;
        }
        ++i;
    }
    if (inizio < testo_.size())
        aggiungi(testo_.size(), testo_.size());

    for (const Riga& r : righe_)
        if (r.tipo == Tipo::Ok || r.tipo == Tipo::Errore)
            finale_ = r.tipo;
    // An unsolicited line may follow the prompt: the modem waits for the text all the same.
    for (const Riga& r : righe_)
        prompt_ = prompt_ || r.tipo == Tipo::Prompt;
}

QString RispostaAt::TestoRiga(qsizetype i) const {
    const Riga& r = righe_.at(i);
    return testo_.mid(r.inizio, r.fine - r.inizio);
}

std::optional<QString> RispostaAt::Informazione(const QString& prefisso) const {
    for (qsizetype i = 0; i < righe_.size(); ++i) {
        if (righe_[i].tipo != Tipo::Informazione)
            continue;
        const QString riga = TestoRiga(i);
        const qsizetype p = riga.indexOf(prefisso, 0, Qt::CaseInsensitive);
        // Line noise may stand before the prefix on its line.
        if (p >= 0)
            return riga.mid(p);
    }
    return std::nullopt;
}

RispostaAt::Tipo RispostaAt::Classifica(const QString& riga, const QString& comando) {
    const QString t = riga.trimmed();
    if (t.isEmpty())
        return Tipo::Vuota;
    if (!comando.isEmpty() && t.compare(comando.trimmed(), Qt::CaseInsensitive) == 0)
        return Tipo::Eco;
    if (t.compare(QLatin1String("OK"), Qt::CaseInsensitive) == 0)
        return Tipo::Ok;
    if (t.compare(QLatin1String("ERROR"), Qt::CaseInsensitive) == 0 || iniziaCon(t, "+CME ERROR") ||
        iniziaCon(t, "+CMS ERROR") ||
        t.compare(QLatin1String("NO CARRIER"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("BUSY"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("NO ANSWER"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("NO DIALTONE"), Qt::CaseInsensitive) == 0)
        return Tipo::Errore;
    if (t == QLatin1String(">"))
        return Tipo::Prompt;
    if (t.compare(QLatin1String("RING"), Qt::CaseInsensitive) == 0)
        return Tipo::NonRichiesta;
    // Indications a modem sends on its own; the command's own information line is not one.
    static const QStringList spontanee{
        QStringLiteral("+CMTI:"),  QStringLiteral("+CDSI:"), QStringLiteral("+CREG:"),
        QStringLiteral("+CRING:"), QStringLiteral("+CLIP:"), QStringLiteral("+CBM:"),
        QStringLiteral("+CDS:"),   QStringLiteral("+CMT:"),  QStringLiteral("+CUSD:")};
    const QString proprio = nomeComando(comando);
    for (const QString& p : spontanee)
        if (t.startsWith(p, Qt::CaseInsensitive))
            return !proprio.isEmpty() &&
                           p.compare(proprio + QLatin1Char(':'), Qt::CaseInsensitive) == 0
                       ? Tipo::Informazione
                       : Tipo::NonRichiesta;
    return Tipo::Informazione;
}
