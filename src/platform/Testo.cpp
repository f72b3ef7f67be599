#include "Testo.h"

#include <cmath>
#include <limits>

QString Testo::Mid(const QString& s, int inizio, int lunghezza) {
    if (inizio < 1)
        inizio = 1;
    if (inizio > s.size() || lunghezza == 0)
        return {};
    return lunghezza < 0 ? s.mid(inizio - 1) : s.mid(inizio - 1, lunghezza);
}

QString Testo::Left(const QString& s, int n) {
    return n <= 0 ? QString() : s.left(n);
}

QString Testo::Right(const QString& s, int n) {
    return n <= 0 ? QString() : s.right(n);
}

int Testo::InStr(const QString& s, const QString& cerca, int inizio) {
    if (inizio < 1)
        inizio = 1;
    if (inizio > s.size() + 1)
        return 0;
    if (cerca.isEmpty())
        return inizio <= s.size() ? inizio : 0;
    const qsizetype p = s.indexOf(cerca, inizio - 1, Qt::CaseInsensitive);
    return p < 0 ? 0 : int(p) + 1;
}

double Testo::Val(const QString& s) {
    QString compatto;
    compatto.reserve(s.size());
    for (QChar c : s)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            compatto.append(c);

    qsizetype i = 0;
    const qsizetype n = compatto.size();
    QString numero;
    if (i < n && (compatto[i] == u'+' || compatto[i] == u'-'))
        numero.append(compatto[i++]);
    bool cifre = false;
    while (i < n && compatto[i].isDigit() && compatto[i].unicode() < 128) {
        numero.append(compatto[i++]);
        cifre = true;
    }
    if (i < n && compatto[i] == u'.') {
        numero.append(compatto[i++]);
        while (i < n && compatto[i].isDigit() && compatto[i].unicode() < 128) {
            numero.append(compatto[i++]);
            cifre = true;
        }
    }
    if (!cifre)
        return 0.0;
    if (i < n && (compatto[i] == u'e' || compatto[i] == u'E' || compatto[i] == u'd' ||
                  compatto[i] == u'D')) {
        qsizetype j = i + 1;
        QString esponente = QStringLiteral("e");
        if (j < n && (compatto[j] == u'+' || compatto[j] == u'-'))
            esponente.append(compatto[j++]);
        bool cifreEsp = false;
        while (j < n && compatto[j].isDigit() && compatto[j].unicode() < 128) {
            esponente.append(compatto[j++]);
            cifreEsp = true;
        }
        if (cifreEsp)
            numero.append(esponente);
    }
    bool ok = false;
    const double v = numero.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

bool Testo::IsNumeric(const QString& s) {
    const QString t = s.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    bool cifre = false;
    bool separatore = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            cifre = true;
        } else if ((c == u'.' || c == u',') && !separatore) {
            separatore = true;
        } else {
            break;
        }
    }
    if (!cifre)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        bool cifreEsp = false;
        while (i < n && t[i].unicode() >= u'0' && t[i].unicode() <= u'9') {
            ++i;
            cifreEsp = true;
        }
        if (!cifreEsp)
            return false;
    }
    return i == n;
}

qint64 Testo::Arrotonda(double v) {
    if (!std::isfinite(v))
        return 0;
    const double r = v - std::floor(v);
    double base = std::floor(v);
    if (r > 0.5 || (r == 0.5 && std::fmod(base, 2.0) != 0.0))
        base += 1.0;
    // A number typed as "5e26" is beyond any integer: it counts as the largest one.
    constexpr double limite = 9223372036854775808.0; // 2^63
    if (base >= limite)
        return std::numeric_limits<qint64>::max();
    if (base < -limite)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(base);
}

QString Testo::CaratteriInteri(const QString& s) {
    QString r = s;
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r.at(i).isHighSurrogate() && i + 1 < r.size() && r.at(i + 1).isLowSurrogate())
            ++i;
        else if (r.at(i).isSurrogate())
            r[i] = QChar::ReplacementCharacter;
    }
    return r;
}
