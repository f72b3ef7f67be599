// veltrika-stampante-sim: an 80-column receipt printer on a pseudo-terminal, for using and
// showing VELTRIKA's receipts without a printer. It prints each document it receives on its
// standard output, framed as the paper roll would show it.

#include "FineConSegnale.h"
#include "PseudoTerminale.h"
#include "RicevitoreStampante.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <unistd.h>

namespace {

const char* const kAiuto =
    R"(veltrika-stampante-sim: una stampante a 80 colonne simulata su uno pseudo-terminale,
per vedere gli scontrini di VELTRIKA senza una stampante vera.

Uso:
  veltrika-stampante-sim [--porta <collegamento>]
      Resta in servizio fino a Ctrl-C e scrive ogni documento ricevuto, riga per riga.

--porta è il collegamento simbolico che il programma apre come porta della stampante.
Predefinito: porte/COM2 nella cartella di questo eseguibile; un nome senza "/" (per esempio
COM3) indica un collegamento in quella stessa cartella porte. La porta va indicata anche nelle
impostazioni del programma (porta della stampante a 80 colonne).
)";

constexpr int kLarghezza = 36;

QTextStream& uscita() {
    static QTextStream s(stdout);
    return s;
}

QString bordo() {
    return QLatin1Char('+') + QString(kLarghezza + 2, QLatin1Char('-')) + QLatin1Char('+');
}

void mostra(const RicevitoreStampante::Evento& e) {
    using Tipo = RicevitoreStampante::Evento::Tipo;
    switch (e.tipo) {
    case Tipo::Inizio:
        uscita() << bordo() << '\n';
        break;
    case Tipo::Riga:
        uscita() << "| " << e.testo.leftJustified(kLarghezza) << " |\n";
        break;
    case Tipo::Fine:
        uscita() << bordo() << "\n\n";
        break;
    }
    uscita().flush();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList argomenti = app.arguments().mid(1);
    QString porta = QStringLiteral("COM2");
    while (!argomenti.isEmpty()) {
        const QString a = argomenti.takeFirst();
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            uscita() << kAiuto;
            return 0;
        }
        if (a == QLatin1String("--porta") && !argomenti.isEmpty()) {
            porta = argomenti.takeFirst();
            continue;
        }
        QTextStream(stderr) << "Argomento non previsto: " << a << "\n" << kAiuto;
        return 2;
    }
    if (!porta.contains(QLatin1Char('/')))
        porta = QCoreApplication::applicationDirPath() + QStringLiteral("/porte/") + porta;

    PseudoTerminale pty;
    QString errore;
    if (!pty.apri(porta, &errore)) {
        QTextStream(stderr) << errore << Qt::endl;
        return 1;
    }
    if (!FineConSegnale::Installa(app)) {
        QTextStream(stderr) << "Impossibile preparare la gestione dei segnali" << Qt::endl;
        return 1;
    }
    RicevitoreStampante ricevitore;
    QSocketNotifier lettura(pty.master(), QSocketNotifier::Read);
    QObject::connect(&lettura, &QSocketNotifier::activated, [&] {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(pty.master(), buf, sizeof buf);
            if (n > 0) {
                for (const auto& e : ricevitore.ricevi(QByteArray(buf, n)))
                    mostra(e);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
    });
    uscita() << "Stampante a 80 colonne simulata su " << pty.dispositivo() << ", collegata a "
             << pty.collegamento() << Qt::endl;
    return app.exec();
}
