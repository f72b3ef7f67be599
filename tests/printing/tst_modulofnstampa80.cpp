#include "BancoStampa80.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiStampa.h"
#include "printing/AvvolgimentoRiga.h"

#include <QTest>

namespace {

const QString kNonTrovata = QStringLiteral("Stampante 80 Colonne non trovata o spenta. Si prega di "
                                           "controllare le configuazioni di stampa.");
const QString kListaVuota = QStringLiteral("Impossibile Stampare una lista vuota.");

// One program folder with its archive, a pseudo-terminal as the printer on COM3, the printer
// switched to 80 columns, and the boxes answered and recorded.
struct Banco80 : BancoStampa80 {
    CopioneMessaggi copione;
};

// The document the printer must receive for these StampaRiga texts.
QByteArray documento(const QStringList& righe, bool chiuso = true) {
    QString t = QStringLiteral("j@");
    for (const QString& r : righe)
        t += AvvolgimentoRiga::Protocollo(r);
    return t.toLatin1() + (chiuso ? QByteArray("J") : QByteArray());
}

const QStringList kFineListaSms{QStringLiteral(" "), QStringLiteral("   +-----------------------+"),
                                QStringLiteral("---| FINE STAMPA LISTA SMS |--------"),
                                QStringLiteral("   +-----------------------+")};

} // namespace

class TstModulofnStampa80 : public QObject {
    Q_OBJECT
private slots:
    void unSmsArrivaBytePerByte() {
        Banco80 b;
        b.modulo.StampaSms(QStringLiteral("3331234567"), QStringLiteral("Mario Rossi"),
                           QStringLiteral("05/03/24"), QStringLiteral("12:30:00"),
                           QStringLiteral("Un caffè\r\nper favore"));
        const QByteArray attesi = "j@"
                                  "\"   +------------+ \"@"
                                  "\"---| STAMPA SMS \"@\"|------------------- \"@"
                                  "\"   +------------+ \"@"
                                  "\"  \"@"
                                  "\"Testo SMS: \"@"
                                  "\"Un caff\xE8\"@\"per favore \"@"
                                  "\"  \"@"
                                  "\"Nome: \"@"
                                  "\" -Mario Rossi \"@"
                                  "\"Numero: \"@"
                                  "\" -3331234567 \"@"
                                  "\"Data: 05/03/24  -  Ora: 12:30:00 \"@"
                                  "\"  \"@"
                                  "\"  \"@"
                                  "\"   +-----------------+ \"@"
                                  "\"---| FINE STAMPA SMS \"@\"|-------------- \"@"
                                  "\"   +-----------------+ \"@"
                                  "J";
        QCOMPARE(b.ricevuti(), attesi);
        QVERIFY(!b.MSComm2.PortOpen());
        QVERIFY(b.copione.mostrati().isEmpty());
        // The port was closed: the next document opens it again.
        b.modulo.StampaSms(QString(), QString(), QString(), QString(), QString());
        QVERIFY(b.stampante.leggi(QByteArray("J")).startsWith(attesi + "j@"));
    }

    void listaClientiSoloAbilitatiTagliatiA30() {
        Banco80 b;
        const QString nota45 = QStringLiteral("Consegna dopo le 20, citofono rotto, bussare!");
        QCOMPARE(nota45.size(), 45);
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3331111111"),
                            QStringLiteral("Anna Bianchi"), QStringLiteral("01/02/1980"),
                            QStringLiteral("Via Roma 1, Bari"), nota45);
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3332222222"),
                            QStringLiteral("Bruno Neri"), QString(), QString(), QString(), true);
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3333333333"),
                            QStringLiteral("Carla Verdi"), QString(), QString(), QString());
        // Whatever the register shows, and whatever table was opened last, every enabled
        // customer is printed.
        b.stato.archivio.ApriTabella(QStringLiteral("SmsTemporanei"));
        b.modulo.StampaListaClienti(2);
        QCOMPARE(b.ricevuti(), documento({QStringLiteral("   +----------------------+"),
                                          QStringLiteral("---| STAMPA LISTA CLIENTI |--------"),
                                          QStringLiteral("   +----------------------+"),
                                          QStringLiteral(" "),
                                          QStringLiteral("ID CLIENTE: 1"),
                                          QStringLiteral("Numero: 3331111111"),
                                          QStringLiteral("Nome: Anna Bianchi"),
                                          QStringLiteral("Nato il: 01/02/1980"),
                                          QStringLiteral("Indirizzo: Via Roma 1, Bari"),
                                          QStringLiteral("Informazioni Cliente: "),
                                          nota45.left(30),
                                          QStringLiteral("-   --   ----  ------  ----   --   -"),
                                          QStringLiteral("ID CLIENTE: 3"),
                                          QStringLiteral("Numero: 3333333333"),
                                          QStringLiteral("Nome: Carla Verdi"),
                                          QStringLiteral("Nato il:  "),
                                          QStringLiteral("Indirizzo:  "),
                                          QStringLiteral("Informazioni Cliente: "),
                                          QStringLiteral(" "),
                                          QStringLiteral(" "),
                                          QStringLiteral("   +---------------------------+"),
                                          QStringLiteral("---| FINE STAMPA LISTA CLIENTI |----"),
                                          QStringLiteral("   +---------------------------+")}));
        QCOMPARE(b.stato.archivio.rs().NomeTabella(), QStringLiteral("Clienti"));
    }

    void listaRidottaDeiDisabilitati() {
        Banco80 b;
        const QString nota45 = QString(45, QLatin1Char('n'));
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3331111111"), QString(50, 'A'),
                            QString(), QString(), nota45);
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3332222222"),
                            QStringLiteral("Bruno Neri"), QString(), QString(), QString(), true);
        b.stato.archivio.ApriTabella(QStringLiteral("Clienti"));
        b.modulo.StampaListaClientiRidotta(2);
        QCOMPARE(b.ricevuti(),
                 documento({QStringLiteral("   +-------------------------+"),
                            QStringLiteral("---| STAMPA LISTA CLIENTI R. |-----"),
                            QStringLiteral("   +-------------------------+"), QStringLiteral(" "),
                            QStringLiteral("ID CLIENTE: 2"), QStringLiteral("Numero: 3332222222"),
                            QStringLiteral("Nome: Bruno Neri"), QStringLiteral(" "),
                            QStringLiteral("   +------------------------------+"),
                            QStringLiteral("---| FINE STAMPA LISTA CLIENTI R. |-"),
                            QStringLiteral("   +------------------------------+")}));
    }

    void listaRidottaVuotaDopoJ() {
        Banco80 b;
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3331111111"),
                            QStringLiteral("Anna Bianchi"), QString(), QString(), QString());
        b.stato.archivio.ApriTabella(QStringLiteral("Clienti"));
        b.modulo.StampaListaClientiRidotta(2);
        QCOMPARE(b.stampante.leggi(), QByteArray("j@"));
        QCOMPARE(b.copione.testi(), QStringList{kListaVuota});
        QCOMPARE(b.copione.mostrati().first().title, QStringLiteral("Informazione di Stampa"));
        QCOMPARE(b.copione.mostrati().first().style, 64);
        // Closed after the failure: the next document is not refused as "already open".
        QVERIFY(!b.MSComm2.PortOpen());
        b.modulo.StampaListaClientiRidotta(1);
        QVERIFY(b.stampante.leggi(QByteArray("J")).startsWith("j@j@\"   +-----"));
        QCOMPARE(b.copione.mostrati().size(), 1);
    }

    void registroVuotoNonApreLaStampante() {
        Banco80 b;
        b.stato.archivio.ApriTabella(QStringLiteral("Clienti"));
        b.modulo.StampaListaClientiRidotta(1);
        b.modulo.StampaListaClienti(1);
        QCOMPARE(b.stampante.leggi(), QByteArray());
        QCOMPARE(b.copione.testi(), (QStringList{kListaVuota, kListaVuota}));
    }

    void listaSmsDiTuttiSenzaPeriodo() {
        Banco80 b;
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3331111111"),
                            QStringLiteral("Anna Bianchi"), QString(), QString(), QString());
        DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("3331111111"),
                                  QStringLiteral("01/03/24"), QStringLiteral("10:00:00"),
                                  QStringLiteral("Una margherita"));
        DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("3339999999"),
                                  QStringLiteral("02/03/24"), QStringLiteral("11:00:00"),
                                  QStringLiteral("Chi sono?"));
        // Both keys 0: the whole archive, as the browser shows it.
        b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0);
        QCOMPARE(
            b.ricevuti(),
            documento(QStringList{QStringLiteral("   +--------------------------+"),
                                  QStringLiteral("---| STAMPA LISTA SMS CLIENTI |-----"),
                                  QStringLiteral("   +--------------------------+"),
                                  QStringLiteral(" "), QStringLiteral("ID: 1"),
                                  QStringLiteral("Telefono: 3331111111"),
                                  QStringLiteral("Nome: Anna Bianchi"),
                                  QStringLiteral("Data: 01/03/24  -  Orario: 10:00:00"),
                                  QStringLiteral("SMS: Una margherita"),
                                  QStringLiteral("-   --   ----  ------  ----   --   -"),
                                  QStringLiteral("ID: 2"), QStringLiteral("Telefono: 3339999999"),
                                  QStringLiteral("Nome: "),
                                  QStringLiteral("Data: 02/03/24  -  Orario: 11:00:00"),
                                  QStringLiteral("SMS: Chi sono?")} +
                      kFineListaSms));
        QCOMPARE(b.stato.archivio.rs().NomeTabella(), QStringLiteral("SMS"));
    }

    void listaSmsDiUnClienteNelPeriodo() {
        Banco80 b;
        const auto chiave = [](int g, int m, int a) { return g + 31 * m + 961 * a; };
        for (const auto& [numero, data, testo] :
             {std::tuple{"3331111111", "28/02/24", "prima del periodo"},
              std::tuple{"3331111111", "01/03/24", "primo giorno"},
              std::tuple{"3332222222", "05/03/24", "altro cliente"},
              std::tuple{"3331111111", "31/03/24", "ultimo giorno"},
              std::tuple{"3331111111", "01/04/24", "dopo il periodo"}})
            DatiStampa::SmsArchiviato(b.stato.archivio, QString::fromLatin1(numero),
                                      QString::fromLatin1(data), QStringLiteral("09:00:00"),
                                      QString::fromLatin1(testo));
        b.modulo.StampaListaSms(QStringLiteral("Anna"), QStringLiteral("3331111111"),
                                chiave(1, 3, 24), chiave(31, 3, 24));
        QCOMPARE(b.ricevuti(),
                 documento(QStringList{QStringLiteral("   +--------------------------+"),
                                       QStringLiteral("---| STAMPA LISTA SMS CLIENTE |-----"),
                                       QStringLiteral("   +--------------------------+"),
                                       QStringLiteral(" "), QStringLiteral("Telefono: 3331111111"),
                                       QStringLiteral("Nome: Anna"), QStringLiteral(" "),
                                       QStringLiteral("---| LISTA SMS |--------------------"),
                                       QStringLiteral(" "),
                                       QStringLiteral("Data: 01/03/24  -  Orario: 09:00:00"),
                                       QStringLiteral("SMS: primo giorno"),
                                       QStringLiteral("-   --   ----  ------  ----   --   -"),
                                       QStringLiteral("Data: 31/03/24  -  Orario: 09:00:00"),
                                       QStringLiteral("SMS: ultimo giorno")} +
                           kFineListaSms));
    }

    void listaSmsSenzaMessaggiLoDice() {
        Banco80 b;
        DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("3332222222"),
                                  QStringLiteral("05/03/24"), QStringLiteral("09:00:00"),
                                  QStringLiteral("altro cliente"));
        b.modulo.StampaListaSms(QStringLiteral("Anna"), QStringLiteral("3331111111"), 0, 0);
        QCOMPARE(b.stampante.leggi(), QByteArray("j@"));
        QCOMPARE(b.copione.testi(), QStringList{kListaVuota});
        QVERIFY(!b.MSComm2.PortOpen());
    }

    void rubricaOltreCinquecentoClienti() {
        Banco80 b;
        {
            ConnessioneEsterna db(b.cartella.file(QStringLiteral("archivio.mdb")));
            QCOMPARE(db.esegui("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < 600) INSERT INTO Clienti (T1Numero, T1Nome) SELECT "
                               "'33300' || i, 'Cliente ' || i FROM n"),
                     0);
        }
        DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("33300550"),
                                  QStringLiteral("05/03/24"), QStringLiteral("09:00:00"),
                                  QStringLiteral("ciao"));
        b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0);
        QVERIFY(b.ricevuti().contains("\"Nome: Cliente 550 \"@"));
    }

    void singoloClienteComeGliAltri() {
        Banco80 b;
        b.modulo.StampaSingoloCliente(QStringLiteral("12"), QStringLiteral("3331111111"),
                                      QStringLiteral("Anna Bianchi"), QStringLiteral("01/02/1980"),
                                      QStringLiteral("Via Roma 1, Bari"),
                                      QStringLiteral("Allergica al glutine"));
        QCOMPARE(
            b.ricevuti(),
            documento({QStringLiteral("   +------------------------+"),
                       QStringLiteral("---| STAMPA SINGOLO CLIENTE |-------"),
                       QStringLiteral("   +------------------------+"), QStringLiteral(" "),
                       QStringLiteral("ID CLIENTE: 12"), QStringLiteral("Numero: 3331111111"),
                       QStringLiteral("Nome: Anna Bianchi"), QStringLiteral("Nato il: 01/02/1980"),
                       QStringLiteral("Indirizzo: Via Roma 1, Bari"),
                       QStringLiteral("Informazioni Cliente: "),
                       QStringLiteral("Allergica al glutine"), QStringLiteral(" "),
                       QStringLiteral("   +-----------------------------+"),
                       QStringLiteral("---| FINE STAMPA SINGOLO CLIENTE |--"),
                       QStringLiteral("   +-----------------------------+")}));
    }

    void volantino() {
        Banco80 b;
        b.modulo.StampaVolantino(QStringLiteral("Pizzeria Da Nino"), QStringLiteral("Nino"),
                                 QStringLiteral("3330000000"), QStringLiteral("0801234567"),
                                 QStringLiteral("Via Sparano 3"),
                                 QStringLiteral("Margherita a 5€\nil martedì"));
        const QByteArray trattini = "\"\"@\"" + QByteArray(36, '-') + " \"@";
        QCOMPARE(b.ricevuti(), "j@" + trattini + "\"Pizzeria Da Nino \"@" + trattini +
                                   "\"Contatto: \"@\" -Nino \"@\"Per Ordinare: \"@"
                                   "\" -3330000000 \"@\"Per Info: \"@\" -0801234567 \"@"
                                   "\"Indirizzo: \"@\" -Via Sparano 3 \"@\"OFFERTA: \"@"
                                   "\"Margherita a 5\x80\"@\"il marted\xEC \"@" +
                                   trattini + "J");
    }

    void stampanteNonTrovataPerOgniDocumento() {
        Banco80 b;
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3331111111"),
                            QStringLiteral("Anna Bianchi"), QString(), QString(), QString());
        DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("3331111111"),
                                  QStringLiteral("05/03/24"), QStringLiteral("09:00:00"),
                                  QStringLiteral("ciao"));
        b.impostazioni.portaStampa80 = 7; // no porte/COM7
        const QString x = QStringLiteral("x");
        b.modulo.StampaSms(x, x, x, x, x);
        b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0);
        b.modulo.StampaListaClienti(1);
        b.stato.archivio.ApriTabella(QStringLiteral("Clienti"));
        b.modulo.StampaListaClientiRidotta(1);
        b.modulo.StampaSingoloCliente(x, x, x, x, x, x);
        b.modulo.StampaVolantino(x, x, x, x, x, x);
        b.impostazioni.portaStampa80 = 0; // never configured
        b.modulo.StampaSms(x, x, x, x, x);
        QCOMPARE(b.copione.testi(), QStringList(7, kNonTrovata));
        for (const auto& m : b.copione.mostrati()) {
            QCOMPARE(m.title, QStringLiteral("Informazione di Stampa"));
            QCOMPARE(m.style, 64);
        }
        QCOMPARE(b.stampante.leggi(), QByteArray());
    }

    void stampanteOccupataDaAltri() {
        Banco80 b;
        PortaSerialeQt altro(b.cartella.percorso());
        altro.setCommPort(3);
        altro.setPortOpen(true);
        b.modulo.StampaSms(QStringLiteral("1"), QString(), QString(), QString(), QString());
        QCOMPARE(b.copione.testi(), QStringList{kNonTrovata});
        altro.setPortOpen(false);
        // Once free, the printer works again without restarting anything.
        b.modulo.StampaSms(QStringLiteral("1"), QString(), QString(), QString(), QString());
        QVERIFY(b.ricevuti().startsWith("j@"));
        QCOMPARE(b.copione.mostrati().size(), 1);
    }
};

QTEST_MAIN(TstModulofnStampa80)
#include "tst_modulofnstampa80.moc"
