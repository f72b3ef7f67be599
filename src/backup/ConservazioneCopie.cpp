#include "ConservazioneCopie.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QRegularExpression& FormaNome() {
    static const QRegularExpression forma(
        QStringLiteral("^archivio-(\\d{4})-(\\d{2})-(\\d{2})_(\\d{2})(\\d{2})\\.mdb$"));
    return forma;
}
} // namespace

QString ConservazioneCopie::NomeParziale(const QString& nome) {
    return QStringLiteral("%1.%2-%3%4")
        .arg(nome)
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
        .arg(SuffissoParziale());
}

bool ConservazioneCopie::EUnaParziale(const QString& nome) {
    // Older programs named it after the copy alone.
    static const QRegularExpression forma(
        QStringLiteral("^(.*\\.mdb)(\\.[0-9a-f-]+)?\\.parziale$"));
    const QRegularExpressionMatch m = forma.match(nome);
    return m.hasMatch() && EUnaCopia(m.captured(1));
}

QString ConservazioneCopie::Nome(const QDateTime& quando) {
    return QStringLiteral("archivio-%1.mdb")
        .arg(quando.toString(QStringLiteral("yyyy-MM-dd_HHmm")));
}

bool ConservazioneCopie::EUnaCopia(const QString& nome, QDateTime* quando) {
    const QRegularExpressionMatch m = FormaNome().match(nome);
    if (!m.hasMatch())
        return false;
    const QDate data(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime ora(m.captured(4).toInt(), m.captured(5).toInt());
    if (!data.isValid() || !ora.isValid())
        return false;
    if (quando)
        *quando = QDateTime(data, ora);
    return true;
}

QStringList ConservazioneCopie::DaRimuovere(const QStringList& nomi, const QDateTime& adesso) {
    struct Voce {
        QString nome;
        QDateTime quando;
    };
    QList<Voce> copie;
    for (const QString& nome : nomi) {
        QDateTime quando;
        // The name holds minutes: a copy of this very minute is not in the future.
        if (EUnaCopia(nome, &quando) && quando <= adesso)
            copie.append({nome, quando});
    }
    // Newest first; equal times keep the order given, so the result does not depend on chance.
    std::stable_sort(copie.begin(), copie.end(),
                     [](const Voce& a, const Voce& b) { return a.quando > b.quando; });

    QSet<QDate> giorni;
    QSet<int> settimane;
    QStringList via;
    // The day of the newest copy keeps all of its copies: the one at the start-up is still
    // there after the closing, until the next day's first copy.
    const QDate ultimoGiorno = copie.isEmpty() ? QDate() : copie.first().quando.date();
    for (const Voce& c : copie) {
        const QDate giorno = c.quando.date();
        bool tenuta = giorno == ultimoGiorno;
        if (!giorni.contains(giorno) && giorni.size() < GiorniConservati) {
            giorni.insert(giorno);
            tenuta = true;
        }
        int annoSettimana = 0;
        const int settimana = giorno.weekNumber(&annoSettimana) + annoSettimana * 100;
        if (!settimane.contains(settimana) && settimane.size() < SettimaneConservate) {
            settimane.insert(settimana);
            tenuta = true;
        }
        if (!tenuta)
            via << c.nome;
    }
    return via;
}

QStringList ConservazioneCopie::Applica(const QString& cartella, const QDateTime& adesso,
                                        const QString& daTenere) {
    QDir dir(cartella);
    const QStringList nomi = dir.entryList(QDir::Files);
    QStringList daTogliere = DaRimuovere(nomi, adesso);
    daTogliere.removeAll(daTenere);
    // A copy cut short is left an hour, so that one another process is writing is never taken.
    const QDateTime limite = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString& nome : nomi)
        if (EUnaParziale(nome) && QFileInfo(dir.filePath(nome)).lastModified() < limite)
            daTogliere << nome;
    QStringList rimaste;
    for (const QString& nome : daTogliere)
        if (!dir.remove(nome))
            rimaste << nome;
    return rimaste;
}

QList<ConservazioneCopie::Copia> ConservazioneCopie::Elenco(const QString& cartella) {
    QList<Copia> copie;
    const QDir dir(cartella);
    for (const QFileInfo& f : dir.entryInfoList(QDir::Files)) {
        QDateTime quando;
        if (EUnaCopia(f.fileName(), &quando))
            copie.append({f.absoluteFilePath(), quando, f.size()});
    }
    std::stable_sort(copie.begin(), copie.end(),
                     [](const Copia& a, const Copia& b) { return a.quando > b.quando; });
    return copie;
}

bool ConservazioneCopie::Sincronizza(const QString& percorso) {
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString ConservazioneCopie::Dimensione(qint64 byte) {
    if (byte < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((byte + 1023) / 1024);
    return QLocale(QLocale::Italian).toString(double(byte) / (1024.0 * 1024.0), 'f', 1) +
           QStringLiteral(" MB");
}
