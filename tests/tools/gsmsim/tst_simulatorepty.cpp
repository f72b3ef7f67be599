#include "ProtocolloControllo.h"
#include "SimulatorePty.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The program's side of the line, opened the way a serial port is.
class Cliente {
public:
    explicit Cliente(const QString& percorso) {
        fd_ = ::open(QFile::encodeName(percorso).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios t{};
            ::tcgetattr(fd_, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~Cliente() { chiudi(); }
    void chiudi() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    bool aperto() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    bool scrivi(const QByteArray& byte) const {
        return ::write(fd_, byte.constData(), size_t(byte.size())) == byte.size();
    }
    // Whatever is there now, waiting at most `ms` for something to arrive.
    QByteArray leggi(int ms = 0) const {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return {};
        QByteArray r;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd_, buf, sizeof buf)) > 0)
            r.append(buf, n);
        return r;
    }
    QByteArray leggiAlmeno(qsizetype quanti, int ms = 5000) const {
        const QDeadlineTimer scadenza(ms);
        QByteArray r;
        while (r.size() < quanti && !scadenza.hasExpired())
            r += leggi(int(scadenza.remainingTime()));
        return r;
    }
    QByteArray leggiFino(const QByteArray& fine, int ms = 5000) const {
        const QDeadlineTimer scadenza(ms);
        QByteArray r;
        while (!r.endsWith(fine) && !scadenza.hasExpired())
            r += leggi(int(scadenza.remainingTime()));
        return r;
    }

private:
    int fd_ = -1;
};

struct Esito {
    int codice = -1;
    QString uscita;
    QString errori;
};

Esito esegui(const QStringList& argomenti) {
    QProcess p;
    p.start(QStringLiteral(VELTRIKA_GSM_SIM), argomenti);
    Esito e;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return e;
    }
    e.codice = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    e.uscita = QString::fromUtf8(p.readAllStandardOutput());
    e.errori = QString::fromUtf8(p.readAllStandardError());
    return e;
}

// Starts "veltrika-gsm-sim avvia" and returns its first line, which tells where it serves.
QString avviaServizio(QProcess& servizio, const QStringList& argomenti) {
    servizio.start(QStringLiteral(VELTRIKA_GSM_SIM),
                   QStringList{QStringLiteral("avvia")} + argomenti);
    const QDeadlineTimer scadenza(10000);
    while (!servizio.canReadLine() && !scadenza.hasExpired())
        servizio.waitForReadyRead(int(scadenza.remainingTime()));
    return QString::fromUtf8(servizio.readLine());
}

} // namespace

class TstSimulatorePty : public QObject {
    Q_OBJECT
private slots:
    void rispondeAttraversoIlCollegamento() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        SimulatorePty sim;
        QString errore;
        QVERIFY2(sim.apri(link, &errore), qPrintable(errore));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.dispositivo());
        QCOMPARE(sim.collegamento(), link);

        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("AT\r"));
        QVERIFY(sim.attendiByte(3, 5000));
        QCOMPARE(c.leggiAlmeno(9), QByteArray("AT\r\r\nOK\r\n"));
        QCOMPARE(sim.byteRicevuti(), 3);
        QCOMPARE(sim.byteInviati(), 9);

        // The program closes the port and opens it again: same line, same modem.
        c.chiudi();
        Cliente c2(link);
        QVERIFY(c2.aperto());
        QVERIFY(c2.scrivi("ATE0\r"));
        QVERIFY(sim.attendiByte(8, 5000));
        QCOMPARE(c2.leggiAlmeno(11), QByteArray("ATE0\r\r\nOK\r\n"));
        QVERIFY(c2.scrivi("AT+CSQ\r"));
        QVERIFY(sim.attendiByte(15, 5000));
        QCOMPARE(c2.leggiAlmeno(21), QByteArray("\r\n+CSQ: 20,99\r\n\r\nOK\r\n"));
        QCOMPARE(sim.modem().comandiRicevuti(), QList<QByteArray>({"AT", "ATE0", "AT+CSQ"}));
    }

    void rispostaSpezzataInDueServizi() {
        SimulatorePty sim;
        QString errore;
        QVERIFY2(sim.apri(QString(), &errore), qPrintable(errore));
        Cliente c(sim.dispositivo());
        sim.modem().impostaGuasto(ModemSimulato::Guasto::Spezzato, 1);
        QVERIFY(c.scrivi("AT\r"));
        QVERIFY(sim.attendiByte(3, 5000));
        QCOMPARE(c.leggiAlmeno(6), QByteArray("AT\r\r\nO"));
        QCOMPARE(c.leggi(), QByteArray());
        sim.servi();
        QCOMPARE(c.leggiAlmeno(3), QByteArray("K\r\n"));
    }

    void nessunByteSiPerdeQuandoNessunoLegge() {
        SimulatorePty sim;
        QString errore;
        QVERIFY2(sim.apri(QString(), &errore), qPrintable(errore));
        sim.modem().impostaRevisione("R");
        Cliente c(sim.dispositivo());
        // Far more answer than the terminal holds (a few KiB) while the program is not reading.
        const int comandi = 8000;
        const QByteArray unaRisposta = "AT+CGMR\r\r\n+CGMR: R\r\n\r\nOK\r\n";
        qint64 scritti = 0;
        const QDeadlineTimer scadenza(10000);
        while (scritti < comandi && !scadenza.hasExpired()) {
            if (c.scrivi("AT+CGMR\r"))
                ++scritti;
            else
                sim.servi();
        }
        QVERIFY(sim.attendiByte(scritti * 8, 5000));
        QVERIFY(sim.byteInviati() < comandi * unaRisposta.size());

        QByteArray letti;
        while (letti.size() < comandi * unaRisposta.size() && !scadenza.hasExpired()) {
            sim.servi();
            letti += c.leggi(50);
        }
        QCOMPARE(letti.size(), comandi * unaRisposta.size());
        QCOMPARE(letti, unaRisposta.repeated(comandi));
    }

    void collegamento() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("COM2"));
        // A link left by a simulator that died is replaced.
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/nessuno"), link));
        {
            SimulatorePty sim;
            QString errore;
            QVERIFY2(sim.apri(link, &errore), qPrintable(errore));
            QCOMPARE(QFileInfo(link).symLinkTarget(), sim.dispositivo());
        }
        QVERIFY(!QFileInfo(link).isSymLink());

        // A real file is never replaced.
        const QString file = dir.filePath(QStringLiteral("COM3"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("dati");
        }
        SimulatorePty sim;
        QString errore;
        QVERIFY(!sim.apri(file, &errore));
        QVERIFY(errore.contains(file));
        QVERIFY(QFileInfo(file).isFile());
        QVERIFY(!QFileInfo(file).isSymLink());

        // A link that someone else has taken over since is left alone.
        {
            SimulatorePty altro;
            QVERIFY(altro.apri(link, &errore));
            QFile::remove(link);
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), link));
        }
        QCOMPARE(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
    }

    void protocolloDiControllo() {
        const QStringList campi = {QStringLiteral("sms"), QStringLiteral("a\tb\\n\r\nc"), QString(),
                                   QStringLiteral("€è")};
        const QByteArray riga = ProtocolloControllo::riga(campi);
        QCOMPARE(riga.count('\n'), 1);
        QVERIFY(riga.endsWith('\n'));
        QCOMPARE(ProtocolloControllo::campi(riga), campi);
    }

    void programmaDaRigaDiComando() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        const QStringList porta = {QStringLiteral("--porta"), link};

        QProcess servizio;
        const QString primaRiga = avviaServizio(servizio, porta);
        QVERIFY2(primaRiga.startsWith(QStringLiteral("Modem simulato su /dev/pts/")),
                 qPrintable(primaRiga + servizio.readAllStandardError()));
        QVERIFY(primaRiga.contains(QStringLiteral("collegato a ") + link));

        Esito e =
            esegui(QStringList{QStringLiteral("sms")} + porta +
                   QStringList{QStringLiteral("+39333"), QStringLiteral("Ciao è €"),
                               QStringLiteral("--data"), QStringLiteral("24/05/01,10:00:00+08")});
        QCOMPARE(e.codice, 0);
        QCOMPARE(e.uscita.trimmed(), QStringLiteral("SMS arrivato nella posizione 1 della SIM"));

        // The program reads it through the port, in 8859-1, which has no "€": a "?" in its place.
        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("AT+CSCS=\"8859-1\"\r"));
        QVERIFY(c.leggiFino("OK\r\n").endsWith("OK\r\n"));
        QVERIFY(c.scrivi("AT+CMGR=1\r"));
        QCOMPARE(c.leggiFino("OK\r\n"),
                 QByteArray("AT+CMGR=1\r\r\n+CMGR: \"REC UNREAD\",\"+39333\",\"\","
                            "\"24/05/01,10:00:00+08\"\r\nCiao \xE8 ?\r\n\r\nOK\r\n"));
        QVERIFY(c.scrivi("AT+CMGS=\"+39444\"\r"));
        QVERIFY(c.leggiFino("> ").endsWith("> "));
        QVERIFY(c.scrivi("Grazie\r\nA domani\x1A"));
        QVERIFY(c.leggiFino("OK\r\n").endsWith("+CMGS: 1\r\n\r\nOK\r\n"));
        QFile inviati(link + QStringLiteral(".inviati.txt"));
        QVERIFY(inviati.open(QIODevice::ReadOnly));
        QVERIFY(inviati.readAll().endsWith("\t+39444\tGrazie\\r\\nA domani\n"));

        // A refused number, then a modem that goes silent once it has the text: neither SMS
        // leaves.
        const auto ordina = [&](const QString& comando, const QString& argomento) {
            return esegui(QStringList{comando} + porta + QStringList{argomento}).codice;
        };
        QCOMPARE(ordina(QStringLiteral("rifiuta"), QStringLiteral("+39555")), 0);
        QVERIFY(c.scrivi("AT+CMGS=\"+39555\"\rNo\x1A"));
        QVERIFY(c.leggiFino("ERROR: 21\r\n").endsWith("> No\r\n+CMS ERROR: 21\r\n"));
        QCOMPARE(ordina(QStringLiteral("invio-muto"), QStringLiteral("1")), 0);
        QVERIFY(c.scrivi(QByteArray("AT+CMGS=\"+39444\"\rZitto\x1A") + "AT\r"));
        QVERIFY(c.leggiFino("OK\r\n").endsWith("> ZittoAT\r\r\nOK\r\n"));

        e = esegui(QStringList{QStringLiteral("stato")} + porta);
        QVERIFY2(e.uscita.contains(QStringLiteral("SMS rifiutati a: +39555")),
                 qPrintable(e.uscita));
        QVERIFY(e.uscita.contains(QStringLiteral("Richieste di invio: 1\n")));
        QCOMPARE(e.codice, 0);
        QVERIFY2(e.uscita.contains(QStringLiteral("1. letto, da +39333")), qPrintable(e.uscita));
        QVERIFY(e.uscita.contains(QStringLiteral("Ciao è €")));
        QVERIFY(e.uscita.contains(QStringLiteral("SMS a +39444 (rif. 1): Grazie\\r\\nA domani")));

        QCOMPARE(esegui(QStringList{QStringLiteral("guasto")} + porta +
                        QStringList{QStringLiteral("inventato")})
                     .codice,
                 1);
        e = esegui(QStringList{QStringLiteral("ferma")} + porta);
        QCOMPARE(e.codice, 0);
        QVERIFY(servizio.waitForFinished(10000));
        QCOMPARE(servizio.exitStatus(), QProcess::NormalExit);
        QCOMPARE(servizio.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!QFileInfo::exists(link + QStringLiteral(".ctl")));

        e = esegui(QStringList{QStringLiteral("stato")} + porta);
        QCOMPARE(e.codice, 1);
        QVERIFY(e.errori.contains(QStringLiteral("Nessun simulatore in funzione")));
    }

    // The operator's answers chosen from the command line: the balance by USSD a moment after
    // the "OK", and the credit request by SMS answered by a message from the operator's sender.
    void rispostaDelGestoreDaRigaDiComando() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        const QStringList porta = {QStringLiteral("--porta"), link};
        QProcess servizio;
        QVERIFY(avviaServizio(servizio, porta).startsWith(QStringLiteral("Modem simulato su ")));
        const auto ordina = [&](const QStringList& argomenti) {
            return esegui(QStringList{argomenti[0]} + porta + argomenti.mid(1));
        };
        QCOMPARE(ordina({"ussd", "breve"}).codice, 0);
        QCOMPARE(ordina({"credito-sms", "40916", "--mittente", "TIM INFO"}).codice, 0);
        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("ATE0\rAT+CUSD=1,\"*123#\"\r"));
        QCOMPARE(c.leggiFino(",15\r\n"),
                 QByteArray("ATE0\r\r\nOK\r\n\r\nOK\r\n\r\n+CUSD: 0,\"Il credito e': 6.70 "
                            "Euro.\",15\r\n"));
        QVERIFY(c.scrivi("AT+CMGS=\"40916\"\rCREDITO\x1A"));
        QVERIFY(c.leggiFino("OK\r\n").endsWith("+CMGS: 1\r\n\r\nOK\r\n"));
        QVERIFY(c.scrivi("AT+CMGR=1\r"));
        const QByteArray letto = c.leggiFino("OK\r\n");
        QVERIFY2(letto.contains("\"REC UNREAD\",\"TIM INFO\""), letto.constData());
        QVERIFY(letto.contains("\r\nIl credito residuo e' 12,34 Euro.\r\n"));
        const Esito e = ordina({"stato"});
        QVERIFY(e.uscita.contains(QStringLiteral("Il credito residuo e' 12,34 Euro.")));
        QVERIFY(e.uscita.contains(QStringLiteral("Risposta USSD: Il credito e': 6.70 Euro.")));
        QCOMPARE(ordina({"ussd", "con \"virgolette\""}).codice, 1);
        QCOMPARE(ordina({"ferma"}).codice, 0);
        QVERIFY(servizio.waitForFinished(10000));
    }

    // From the command line: each SMS result comes the chosen time after its text, while the
    // SMS itself has already left.
    void esitoInvioRitardatoDaRigaDiComando() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        QProcess servizio;
        QVERIFY(avviaServizio(servizio, {QStringLiteral("--porta"), link,
                                         QStringLiteral("--ritardo-invio"), QStringLiteral("400")})
                    .startsWith(QStringLiteral("Modem simulato su ")));
        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("ATE0\rAT+CMGS=\"3331112222\"\r"));
        QVERIFY(c.leggiFino("> ").endsWith("> "));
        QVERIFY(c.scrivi("Ciao\x1A"));
        QVERIFY(!c.leggiFino("OK\r\n", 100).contains("+CMGS"));
        QFile inviati(link + QStringLiteral(".inviati.txt"));
        QVERIFY(inviati.open(QIODevice::ReadOnly));
        QVERIFY(inviati.readAll().endsWith("\t3331112222\tCiao\n"));
        QCOMPARE(c.leggiFino("OK\r\n"), QByteArray("\r\n+CMGS: 1\r\n\r\nOK\r\n"));
        QCOMPARE(esegui({QStringLiteral("ferma"), QStringLiteral("--porta"), link}).codice, 0);
        QVERIFY(servizio.waitForFinished(10000));
        QCOMPARE(esegui({QStringLiteral("avvia"), QStringLiteral("--porta"), link,
                         QStringLiteral("--ritardo-invio"), QStringLiteral("presto")})
                     .codice,
                 2);
    }

    // From the command line: a UCS2 piece of a long message arrives, a modem that refuses
    // AT+CSCS keeps IRA, and AT+CSDH=1 shows first octet and coding after the time stamp.
    void smsCodificatiDaRigaDiComando() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        const QStringList porta = {QStringLiteral("--porta"), link};
        QProcess servizio;
        const QString primaRiga =
            avviaServizio(servizio, porta + QStringList{QStringLiteral("--senza-cscs")});
        QVERIFY2(primaRiga.startsWith(QStringLiteral("Modem simulato su ")),
                 qPrintable(primaRiga + servizio.readAllStandardError()));
        const QStringList sms =
            QStringList{QStringLiteral("sms")} + porta +
            QStringList{QStringLiteral("+39333"), QStringLiteral("Ciao 🍕"),
                        QStringLiteral("--data"), QStringLiteral("24/05/01,10:00:00+08")};
        QCOMPARE(
            esegui(sms + QStringList{QStringLiteral("--codifica"), QStringLiteral("9bit")}).codice,
            1);
        QCOMPARE(
            esegui(sms + QStringList{QStringLiteral("--parte"), QStringLiteral("7/2/3")}).codice,
            1);
        QCOMPARE(esegui(sms + QStringList{QStringLiteral("--codifica"), QStringLiteral("ucs2"),
                                          QStringLiteral("--parte"), QStringLiteral("7/2/1")})
                     .codice,
                 0);
        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("ATE0\rAT+CSCS=\"8859-1\"\rAT+CSDH=1\rAT+CMGR=1\r"));
        QCOMPARE(c.leggiFino("D83CDF55\r\n\r\nOK\r\n"),
                 QByteArray("ATE0\r\r\nOK\r\n\r\nERROR\r\n\r\nOK\r\n"
                            "\r\n+CMGR: \"REC UNREAD\",\"+39333\",\"\",\"24/05/01,10:00:00+08\","
                            "145,68,0,8,\"+393359609600\",145,20\r\n"
                            "050003070201004300690061006F0020D83CDF55\r\n\r\nOK\r\n"));
        QCOMPARE(esegui(QStringList{QStringLiteral("ferma")} + porta).codice, 0);
        QVERIFY(servizio.waitForFinished(10000));
    }

    void modemVecchioSpentoERiaccesoDaRigaDiComando() {
        const Esito aiuto = esegui({QStringLiteral("--help")});
        QVERIFY(aiuto.uscita.contains(QStringLiteral("--senza-cpms")));
        QVERIFY(aiuto.uscita.contains(QStringLiteral("|spento")));

        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("porte/COM1"));
        const QStringList porta = {QStringLiteral("--porta"), link};
        QProcess servizio;
        const QString primaRiga =
            avviaServizio(servizio, porta + QStringList{QStringLiteral("--pin-attivo"),
                                                        QStringLiteral("--senza-cpms")});
        QVERIFY2(primaRiga.startsWith(QStringLiteral("Modem simulato su ")),
                 qPrintable(primaRiga + servizio.readAllStandardError()));

        Cliente c(link);
        QVERIFY(c.aperto());
        QVERIFY(c.scrivi("ATE0\rAT+CPIN=1234\rAT+CPMS?\r"));
        QCOMPARE(c.leggiFino("ERROR\r\n"), QByteArray("ATE0\r\r\nOK\r\n\r\nOK\r\n\r\nERROR\r\n"));

        const QStringList spento =
            QStringList{QStringLiteral("guasto")} + porta + QStringList{QStringLiteral("spento")};
        Esito e = esegui(spento + QStringList{QStringLiteral("--volte"), QStringLiteral("2")});
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.errori.contains(QStringLiteral("--volte")), qPrintable(e.errori));
        QCOMPARE(esegui(spento).codice, 0);
        e = esegui(QStringList{QStringLiteral("stato")} + porta);
        QVERIFY2(e.uscita.contains(QStringLiteral("Guasto: spento")), qPrintable(e.uscita));
        e = esegui(QStringList{QStringLiteral("guasto")} + porta +
                   QStringList{QStringLiteral("nessuno")});
        QCOMPARE(e.codice, 0);
        QVERIFY2(e.uscita.contains(QStringLiteral("riacceso")), qPrintable(e.uscita));

        // Powered on again: echo back on and the PIN asked for once more.
        QVERIFY(c.scrivi("AT+CPIN?\r"));
        QCOMPARE(c.leggiFino("OK\r\n"), QByteArray("AT+CPIN?\r\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n"));

        // Restarting by itself, on command: the coding settings go as after a power dip.
        QVERIFY(c.scrivi("ATE0\rAT+CPIN=1234\rAT+CSDH=1\rAT+CSCS=\"UCS2\"\r"));
        QCOMPARE(c.leggiFino("OK\r\n\r\nOK\r\n\r\nOK\r\n"),
                 QByteArray("ATE0\r\r\nOK\r\n\r\nOK\r\n\r\nOK\r\n\r\nOK\r\n"));
        QCOMPARE(esegui(QStringList{QStringLiteral("riavvia")} + porta).codice, 0);
        QVERIFY(c.scrivi("AT+CSDH?\r"));
        QCOMPARE(c.leggiFino("OK\r\n"), QByteArray("AT+CSDH?\r\r\n+CSDH: 0\r\n\r\nOK\r\n"));
        QVERIFY(c.scrivi("AT+CSCS?\r"));
        QCOMPARE(c.leggiFino("OK\r\n"), QByteArray("AT+CSCS?\r\r\n+CSCS: \"IRA\"\r\n\r\nOK\r\n"));

        QCOMPARE(esegui(QStringList{QStringLiteral("ferma")} + porta).codice, 0);
        QVERIFY(servizio.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TstSimulatorePty)
#include "tst_simulatorepty.moc"
