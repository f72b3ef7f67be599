#include "TempSms.h"

#include "platform/CodicePagina1252.h"
#include "platform/ErroreRuntime.h"
#include "platform/Testo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

[[noreturn]] void fallisci(QFileDevice::FileError errore) {
    if (errore == QFileDevice::ResourceError)
        throw ErroreRuntime(ErroreRuntime::DiscoPieno, QStringLiteral("Disco pieno"));
    throw ErroreRuntime(ErroreRuntime::AccessoPercorsoFile,
                        QStringLiteral("Errore di accesso al percorso/file"));
}

// Lines end with CR LF; a lone LF or CR (a file edited by hand) ends one as well. The end of the
// last line is no line of its own.
QStringList righe(const QString& testo) {
    static const QRegularExpression fineRiga(QStringLiteral("\r\n|\r|\n"));
    QStringList r = testo.split(fineRiga);
    if (!r.isEmpty() && r.last().isEmpty())
        r.removeLast();
    return r;
}

} // namespace

TempSms::TempSms(const QString& cartellaProgramma)
    : percorso_(QDir(cartellaProgramma).filePath(NomeFile())) {}

QChar TempSms::Lettera(const QString& codice) {
    return codice.isEmpty() ? QChar() : codice.back();
}

QString TempSms::Chiave(const QString& codice) {
    return codice.left(codice.size() - 1);
}

void TempSms::Scrivi(const QStringList& codici, const QString& nome, const QString& indirizzo,
                     const QString& testo) {
    QStringList r = codici;
    // A text of several lines is written as it is, over several lines of the file.
    QString corpo = testo;
    corpo.replace(kCrLf, QStringLiteral("\n"));
    corpo.replace(QChar(13), QChar(10));
    corpo.replace(QChar(10), kCrLf);
    r << QStringLiteral("|0") + nome << QStringLiteral("|1") << QStringLiteral("|4") + indirizzo
      << QStringLiteral("|5") + corpo;
    scriviRighe(r);
    ++scritture_;
}

void TempSms::CreaVuoto() {
    scriviRighe({QString()});
}

void TempSms::scriviRighe(const QStringList& righe) {
    QByteArray dati;
    for (const QString& riga : righe) {
        dati += CodicePagina1252::Codifica(riga);
        dati += "\r\n";
    }
    QSaveFile file(percorso_);
    // Unbuffered, so that a short write (a full disk) shows here: a buffered one is only flushed
    // at commit, which would then rename the cut file over the good one all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fallisci(file.error());
    if (file.write(dati) != dati.size()) {
        const QFileDevice::FileError errore = file.error();
        file.cancelWriting();
        fallisci(errore);
    }
    if (!file.commit())
        fallisci(file.error());
}

TempSms::Contenuto TempSms::Leggi() const {
    QFile file(percorso_);
    if (!file.exists())
        throw ErroreRuntime(ErroreRuntime::FileNonTrovato,
                            QStringLiteral("Impossibile trovare il file"));
    if (!file.open(QIODevice::ReadOnly))
        fallisci(file.error());
    const QStringList linee = righe(CodicePagina1252::Decodifica(file.readAll()));

    Contenuto c;
    qsizetype i = 0;
    for (; i < linee.size() && !linee[i].startsWith(QLatin1Char('|')); ++i)
        c.codici.append(linee[i]);
    const auto coda = [](const QString& riga) { return riga.size() > 2 ? riga.mid(2) : QString(); };
    for (; i < linee.size(); ++i) {
        const QString& riga = linee[i];
        if (riga.startsWith(QLatin1String("|0"))) {
            c.conNome = true;
            c.nome = coda(riga);
        } else if (riga.startsWith(QLatin1String("|1"))) {
            c.conMese = true;
            c.mese = riga.size() > 2 ? Testo::Mid(riga, 6, 2) : QString();
        } else if (riga.startsWith(QLatin1String("|4"))) {
            c.conIndirizzo = true;
            c.indirizzo = coda(riga);
        } else if (riga.startsWith(QLatin1String("|5"))) {
            // The text is the last tag line: whatever follows is the rest of a text of several
            // lines, never a tag of its own.
            c.conTesto = true;
            QStringList testo{coda(riga)};
            testo += linee.mid(i + 1);
            c.testo = testo.join(QLatin1Char('\n'));
            break;
        }
    }
    return c;
}
