#include "PartiSms.h"

PartiSms::Messaggio* PartiSms::Trova(const QString& numero, const CorpoSms::Concatenazione& c) {
    for (Messaggio& m : messaggi_)
        if (m.numero == numero && m.riferimento == c.riferimento && m.parti == c.parti)
            return &m;
    return nullptr;
}

void PartiSms::Nuovo(const QString& numero, const CorpoSms::Concatenazione& c, const QString& data,
                     const QString& orario, const QString& testo) {
    messaggi_.removeIf([&](const Messaggio& m) {
        return m.numero == numero && m.riferimento == c.riferimento && m.parti == c.parti;
    });
    Messaggio m{numero, c.riferimento, c.parti, data, orario, {}};
    m.testi.insert(c.numero, testo);
    messaggi_.append(m);
    if (messaggi_.size() > kMassimo)
        messaggi_.removeFirst();
}

QString PartiSms::Testo(const QMap<int, QString>& testi) {
    QString t;
    for (const QString& parte : testi)
        t += parte;
    return t;
}
