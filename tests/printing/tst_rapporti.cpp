#include "CartellaDiProva.h"
#include "CopioneMessaggi.h"
#include "DatiStampa.h"
#include "ModaleRimasta.h"
#include "TestoPdf.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/Modale.h"
#include "platform/PortaSerialeQt.h"
#include "printing/FormAnteprima.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QPageSize paginaA4() {
    return QPageSize(QPageSize::A4);
}
QPageSize rotolo80mm() {
    return QPageSize(QSizeF(80, 297), QPageSize::Millimeter, QStringLiteral("Rotolo 80 mm"),
                     QPageSize::ExactMatch);
}
QPageSize troppoPiccola() { // 4000 twips
    return QPageSize(QSizeF(200, 600), QPageSize::Point, QStringLiteral("Piccola"),
                     QPageSize::ExactMatch);
}

// A program folder with its archive, page output, the current printer a PDF file of the chosen
// page, and each preview answered by printing from it.
struct BancoPagina {
    CartellaDiProva cartella;
    StatoGlobale stato{cartella.percorso()};
    const ImpostazioniAttivita impostazioni; // the page output
    PortaSerialeQt MSComm2{cartella.percorso()};
    StampanteCorrente corrente{cartella.percorso()};
    QWidget finestra;
    ModulofnStampa modulo{stato, impostazioni, MSComm2, corrente, &finestra};
    CopioneMessaggi copione;
    QString pdf = cartella.file(QStringLiteral("stampa.pdf"));
    int anteprime = 0;
    QSize dimensioneAnteprima;
    bool proprietarioDisabilitato = false;

    explicit BancoPagina(const QPageSize& pagina) {
        stato.archivio.ApriArchivio(cartella.percorso());
        corrente.UsaFilePdf(pdf, pagina);
        Modale::InstallaHook([this](QDialog& d) {
            ++anteprime;
            dimensioneAnteprima = d.size();
            proprietarioDisabilitato = !finestra.isEnabled();
            auto* anteprima = qobject_cast<FormAnteprima*>(&d);
            if (anteprima)
                anteprima->BtnStampa_Click();
            return 1;
        });
    }
    ~BancoPagina() {
        Modale::RimuoviHook();
        // To look at the pages of a failing case: CONSERVA_PDF=<folder>.
        const QString conserva = qEnvironmentVariable("CONSERVA_PDF");
        if (!conserva.isEmpty() && QFileInfo::exists(pdf))
            QFile::copy(pdf, QDir(conserva).filePath(QString::fromLatin1(QTest::currentDataTag()) +
                                                     ".pdf"));
    }

    void clienti() {
        DatiStampa::Cliente(stato.archivio, QStringLiteral("3331111111"),
                            QStringLiteral("Anna Bianchi"), QStringLiteral("01/02/1980"),
                            QStringLiteral("Via Roma 1, Bari"), QStringLiteral("Senza glutine"));
        DatiStampa::Cliente(stato.archivio, QStringLiteral("3332222222"),
                            QStringLiteral("Carla Verdi"), QString(), QString(), QString(), true);
        DatiStampa::Cliente(stato.archivio, QStringLiteral("3333333333"),
                            QStringLiteral("Dario Blu"), QString(), QString(), QString());
        DatiStampa::SmsArchiviato(stato.archivio, QStringLiteral("3331111111"),
                                  QStringLiteral("01/03/24"), QStringLiteral("10:00:00"),
                                  QStringLiteral("Una margherita"));
        stato.archivio.ApriTabella(QStringLiteral("Clienti"));
    }
};

struct Caso {
    std::function<void(BancoPagina&)> stampa;
    QStringList larga;
    QStringList stretta;
    bool numerataSeLarga = true;
    bool anteprima = true;
};

QMap<QString, Caso> casi() {
    QMap<QString, Caso> c;
    c[QStringLiteral("ListaClienti")] = {
        [](BancoPagina& b) { b.modulo.StampaListaClienti(1); },
        {"Lista Clienti", "ID Numero Nome Data Nascita Indirizzo Informazioni",
         "1 3331111111 Anna Bianchi 01/02/1980 Via Roma 1, Bari Senza glutine",
         "3 3333333333 Dario Blu"},
        {"Lista Clienti",
         "ID 1 Numero 3331111111 Nome Anna Bianchi Data Nascita 01/02/1980 "
         "Indirizzo Via Roma 1, Bari Informazioni Senza glutine",
         "ID 3 Numero 3333333333 Nome Dario Blu Data Nascita Indirizzo Informazioni"}};
    c[QStringLiteral("ListaClientiRidotta")] = {
        [](BancoPagina& b) { b.modulo.StampaListaClientiRidotta(1); },
        {"Lista Clienti Ridotta", "ID Numero Nome", "1 3331111111 Anna Bianchi",
         "3 3333333333 Dario Blu"},
        {"Lista Clienti Ridotta", "ID 1 Numero 3331111111 Nome Anna Bianchi",
         "ID 3 Numero 3333333333 Nome Dario Blu"}};
    c[QStringLiteral("SingoloCliente")] = {
        [](BancoPagina& b) {
            b.modulo.StampaSingoloCliente(
                QStringLiteral("12"), QStringLiteral("3331111111"), QStringLiteral("Anna Bianchi"),
                QStringLiteral("01/02/1980"), QStringLiteral("Via Roma 1, Bari"),
                QStringLiteral("Senza glutine"));
        },
        {"Cliente Singolo - ID n°: 12", "Numero: 3331111111", "Nome: Anna Bianchi",
         "Data Nascita: 01/02/1980", "Indirizzo: Via Roma 1, Bari", "Informazioni: Senza glutine"},
        {"Stampa Cliente Singolo", "ID 12 Numero 3331111111 Nome Anna Bianchi Data Nascita "
                                   "01/02/1980 Indirizzo Via Roma 1, Bari Informazioni Senza "
                                   "glutine"}};
    c[QStringLiteral("ListaSmsCliente")] = {
        [](BancoPagina& b) {
            b.modulo.StampaListaSms(QStringLiteral("Anna Bianchi"), QStringLiteral("3331111111"), 0,
                                    0);
        },
        {"Lista SMS di Anna Bianchi - 3331111111",
         "Data Arrivo 01/03/24 Orario Arrivo 10:00:00 SMS: Una margherita"},
        {"Lista SMS di Anna Bianchi - 3331111111",
         "Data Arrivo 01/03/24 Orario Arrivo 10:00:00 Testo Messaggio: Una margherita"}};
    c[QStringLiteral("ListaSmsTutti")] = {
        [](BancoPagina& b) { b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0); },
        {"Lista SMS", "ID 1 Nome Anna Bianchi Data Arrivo 01/03/24 SMS Una margherita",
         "Numero 3331111111 Orario Arrivo 10:00:00"},
        {"Lista SMS", "ID 1 Nome Anna Bianchi Numero 3331111111 Data Arrivo 01/03/24 Orario "
                      "Arrivo 10:00:00 Testo Ricevuto Una margherita"}};
    c[QStringLiteral("Sms")] = {
        [](BancoPagina& b) {
            b.modulo.StampaSms(QStringLiteral("3331234567"), QStringLiteral("Mario Rossi"),
                               QStringLiteral("05/03/24"), QStringLiteral("12:30:00"),
                               QStringLiteral("Due pizze per le otto, grazie"));
        },
        {"Stampa SMS", "Data Arrivo: 05/03/24 Nome: Mario Rossi",
         "Orario Arrivo: 12:30:00 Numero: 3331234567", "Testo Messaggio",
         "Due pizze per le otto, grazie"},
        {"Stampa SMS", "Data Arrivo: 05/03/24", "Orario Arrivo: 12:30:00", "Nome: Mario Rossi",
         "Numero: 3331234567", "Testo Messaggio:", "Due pizze per le otto, grazie"},
        false,
        false};
    c[QStringLiteral("Volantino")] = {
        [](BancoPagina& b) {
            b.modulo.StampaVolantino(QStringLiteral("Pizzeria Nino"), QStringLiteral("Nino"),
                                     QStringLiteral("3330000000"), QStringLiteral("0801234567"),
                                     QStringLiteral("Via Sparano 3"),
                                     QStringLiteral("Margherita a 5 euro"));
        },
        {"Pizzeria Nino Pizzeria Nino", "Margherita a 5 euro Margherita a 5 euro"},
        {"Pizzeria Nino", "Margherita a 5 euro", "Per Ordinare:", "3330000000",
         "Indirizzo:", "Via Sparano 3", "Contatto:", "Nino", "Per Info:", "0801234567"},
        false};
    return c;
}

} // namespace

class TstRapporti : public QObject {
    Q_OBJECT
private slots:
    void ogniDocumentoSuA4ESuRotolo_data() {
        QTest::addColumn<QString>("documento");
        QTest::addColumn<bool>("larga");
        for (const QString& d : casi().keys()) {
            QTest::newRow(qPrintable(d + QStringLiteral(" A4"))) << d << true;
            QTest::newRow(qPrintable(d + QStringLiteral(" rotolo"))) << d << false;
        }
    }

    void ogniDocumentoSuA4ESuRotolo() {
        QFETCH(QString, documento);
        QFETCH(bool, larga);
        const Caso caso = casi().value(documento);
        BancoPagina b(larga ? paginaA4() : rotolo80mm());
        b.clienti();
        caso.stampa(b);

        // Printed from the preview to a file: the user is told where it went.
        const QStringList avvisi =
            caso.anteprima ? QStringList{QStringLiteral("Documento stampato nel file:\n") + b.pdf}
                           : QStringList();
        QCOMPARE(b.copione.testi(), avvisi);
        QCOMPARE(b.anteprime, caso.anteprima ? 1 : 0);
        const TestoPdf pdf(b.pdf);
        QVERIFY2(pdf.valido(), qPrintable(b.pdf));
        QCOMPARE(qRound(pdf.larghezzaPunti), larga ? 595 : 227);
        QVERIFY2(pdf.inOrdine(larga ? caso.larga : caso.stretta), qPrintable(pdf.tutto()));
        QCOMPARE(pdf.tutto().contains(QStringLiteral("Pagina: 1")), larga && caso.numerataSeLarga);
        QVERIFY(!pdf.tutto().contains(QStringLiteral("Carla Verdi")));
        if (documento == QLatin1String("Volantino")) {
            QCOMPARE(pdf.pagine.size(), 1);
            QCOMPARE(pdf.conta(QStringLiteral("Pizzeria Nino")), larga ? 8 : 1);
            QCOMPARE(pdf.conta(QStringLiteral("Per Ordinare:")), larga ? 8 : 1);
            QCOMPARE(pdf.conta(QStringLiteral("0801234567")), larga ? 8 : 1);
        }
    }

    void paginaTroppoPiccolaSoloIlMessaggio() {
        BancoPagina b(troppoPiccola());
        b.clienti();
        for (const Caso& caso : casi())
            caso.stampa(b);
        QCOMPARE(b.copione.testi(),
                 QStringList(7, QStringLiteral("La Stampante selezionata è troppo piccola per "
                                               "effettuare la stampa")));
        QCOMPARE(b.copione.mostrati().first().title, QStringLiteral("Errore Stampa"));
        QCOMPARE(b.anteprime, 0);
        QVERIFY(!QFileInfo::exists(b.pdf));
    }

    void listaVuotaNonApreLAnteprima() {
        BancoPagina b(paginaA4());
        DatiStampa::Cliente(b.stato.archivio, QStringLiteral("3332222222"),
                            QStringLiteral("Carla Verdi"), QString(), QString(), QString(), true);
        b.stato.archivio.ApriTabella(QStringLiteral("Clienti"));
        b.modulo.StampaListaClienti(1);
        b.modulo.StampaListaClientiRidotta(1);
        b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0);
        QCOMPARE(b.copione.testi(), QStringList(3, QStringLiteral("Impossibile Stampare una "
                                                                  "lista vuota.")));
        QCOMPARE(b.copione.mostrati().first().title, QStringLiteral("Informazione di Stampa"));
        QCOMPARE(b.copione.mostrati().first().proprietario, &b.finestra);
        QCOMPARE(b.anteprime, 0);
        QVERIFY(!QFileInfo::exists(b.pdf));
    }

    void listaLungaSuPiuPagine_data() {
        QTest::addColumn<bool>("larga");
        QTest::newRow("A4") << true;
        QTest::newRow("rotolo") << false;
    }

    void listaLungaSuPiuPagine() {
        QFETCH(bool, larga);
        BancoPagina b(larga ? paginaA4() : rotolo80mm());
        constexpr int kMessaggi = 60;
        const QString riempitivo =
            QStringLiteral("vorrei ordinare per stasera una pizza margherita ben cotta, una "
                           "capricciosa senza olive e due bibite fresche ");
        for (int n = 1; n <= kMessaggi; ++n)
            DatiStampa::SmsArchiviato(b.stato.archivio, QStringLiteral("333%1").arg(n),
                                      QStringLiteral("01/03/24"), QStringLiteral("10:00:00"),
                                      QStringLiteral("Inizio%1 ").arg(n) +
                                          riempitivo.repeated(n % 3 + 1) +
                                          QStringLiteral("Fine%1").arg(n));
        b.modulo.StampaListaSms(QString(), QStringLiteral("Tutti"), 0, 0);
        const TestoPdf pdf(b.pdf);
        QVERIFY(pdf.pagine.size() >= 3);
        int ultimaPagina = 0;
        for (int n = 1; n <= kMessaggi; ++n) {
            const QString inizio = QStringLiteral("Inizio%1 ").arg(n);
            const QString fine = QStringLiteral("Fine%1 ").arg(n);
            int pagina = -1;
            for (int p = 0; p < pdf.pagine.size(); ++p) {
                if (pdf.compatto(p).contains(inizio))
                    pagina = p;
            }
            // Each message whole on one page, and in the order of the archive.
            QVERIFY2(pagina >= ultimaPagina, qPrintable(inizio));
            QVERIFY2((pdf.compatto(pagina) + QLatin1Char(' ')).contains(fine), qPrintable(fine));
            QCOMPARE(pdf.conta(inizio.trimmed() + QLatin1Char(' ')), 1);
            ultimaPagina = pagina;
        }
        for (int p = 0; p < pdf.pagine.size(); ++p) {
            const QStringList righe = pdf.righe(p);
            if (larga)
                QCOMPARE(righe.last(), QStringLiteral("Pagina: %1").arg(p + 1));
            else
                QVERIFY(!pdf.pagine[p].contains(QStringLiteral("Pagina")));
        }
    }

    void anteprimaATuttoSchermoSopraLaFinestra() {
        BancoPagina b(paginaA4());
        b.clienti();
        b.modulo.StampaListaClienti(1);
        const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(b.dimensioneAnteprima, QSize(schermo.width(), schermo.height() * 95 / 100));
        QVERIFY(b.proprietarioDisabilitato);
        QVERIFY(b.finestra.isEnabled());
    }

    // The real exec(), no hook: the preview over its disabled owner prints and closes on real
    // clicks of its buttons. A timer rejects it should it still be open, so a dead button fails
    // the case instead of hanging it.
    void lAnteprimaVeraStampaEChiude() {
        BancoPagina b(paginaA4());
        Modale::RimuoviHook();
        b.finestra.show();
        b.clienti();
        bool aperta = false;
        bool proprietarioDisabilitato = false;
        bool stampatoDallAnteprima = false;
        bool chiusaDalPulsante = false;
        QWidget* finestraAnteprima = nullptr;
        QTimer::singleShot(0, &b.finestra, [&] {
            auto* anteprima = qobject_cast<FormAnteprima*>(QApplication::activeModalWidget());
            if (!anteprima)
                return;
            aperta = true;
            finestraAnteprima = anteprima;
            proprietarioDisabilitato = !b.finestra.isEnabled();
            // Found by what they say, as a screen reader would.
            const auto pulsante = [anteprima](const QString& nome) -> QWidget* {
                for (auto* p : anteprima->findChildren<QPushButton*>())
                    if (p->accessibleName() == nome)
                        return p;
                return anteprima;
            };
            QTest::mouseClick(pulsante(QStringLiteral("Stampa")), Qt::LeftButton);
            stampatoDallAnteprima = QFileInfo::exists(b.pdf) && anteprima->isVisible();
            QTest::mouseClick(pulsante(QStringLiteral("Chiudi")), Qt::LeftButton);
            chiusaDalPulsante = !anteprima->isVisible();
            if (anteprima->isVisible())
                anteprima->reject();
        });
        ChiudiModaleRimasta(&b.finestra);
        b.modulo.StampaListaClienti(1);

        QVERIFY(aperta);
        QVERIFY(proprietarioDisabilitato);
        QVERIFY(stampatoDallAnteprima);
        QVERIFY(chiusaDalPulsante);
        QVERIFY(b.finestra.isEnabled());
        QCOMPARE(b.copione.testi(),
                 QStringList{QStringLiteral("Documento stampato nel file:\n") + b.pdf});
        // The preview asked, and the box is the preview's.
        QCOMPARE(b.copione.mostrati().first().proprietario, finestraAnteprima);
        const TestoPdf pdf(b.pdf);
        QVERIFY2(pdf.inOrdine({"Lista Clienti", "Anna Bianchi", "Dario Blu"}),
                 qPrintable(pdf.tutto()));
    }

    void testiLunghiNonSiPerdono() {
        BancoPagina b(rotolo80mm());
        const QString testo = QStringLiteral("Buonasera, vorrei prenotare per domani sera un "
                                             "tavolo per sei persone, meglio se in terrazza, "
                                             "con un seggiolone per il bambino. Grazie mille!");
        b.modulo.StampaSms(QStringLiteral("3331234567"),
                           QStringLiteral("Maria Giovanna Esposito De Laurentiis"),
                           QStringLiteral("05/03/24"), QStringLiteral("12:30:00"), testo);
        const TestoPdf pdf(b.pdf);
        QVERIFY2(pdf.compatto().contains(testo), qPrintable(pdf.tutto()));
        QVERIFY2(pdf.inOrdine({"Maria Giovanna", "Esposito De", "Laurentiis", "Numero:"}),
                 qPrintable(pdf.tutto()));
    }

    // A stranger's message on paper: a right-to-left override reverses nothing, a zero-width
    // space hides nothing, and a control character shows as a stand-in.
    void testoEstraneoSenzaEffetti() {
        BancoPagina b(paginaA4());
        const QString testo = QStringLiteral("Vorrei \u202Eazzip\u202C una\u200Bmargherita") +
                              QChar(0x1B) + QStringLiteral("p fine");
        b.modulo.StampaSms(QStringLiteral("3331234567"), QStringLiteral("Anna"),
                           QStringLiteral("05/03/24"), QStringLiteral("12:30:00"), testo);
        const TestoPdf pdf(b.pdf);
        QVERIFY2(pdf.compatto().contains(QStringLiteral("Vorrei azzip unamargherita\uFFFDp fine")),
                 qPrintable(pdf.tutto()));
    }

    void stampanteNonDisponibileLoDice() {
        BancoPagina b(paginaA4());
        b.corrente.UsaFilePdf(b.cartella.file(QStringLiteral("manca/stampa.pdf")), paginaA4());
        b.modulo.StampaSms(QStringLiteral("1"), QStringLiteral("Primo"), QString(), QString(),
                           QStringLiteral("uno"));
        QCOMPARE(b.copione.testi(),
                 QStringList{QStringLiteral("La Stampante selezionata non è disponibile.")});
        QCOMPARE(b.copione.mostrati().first().title, QStringLiteral("Errore Stampa"));
    }

    void senzaStampantiUnPdfNuovoPerOgniStampa() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a system printer");
        BancoPagina b(paginaA4());
        b.corrente.UsaPredefinita();
        QCOMPARE(b.corrente.LarghezzaPaginaTwips(), 11906);
        b.modulo.StampaSms(QStringLiteral("1"), QStringLiteral("Primo"), QString(), QString(),
                           QStringLiteral("uno"));
        b.modulo.StampaSms(QStringLiteral("2"), QStringLiteral("Secondo"), QString(), QString(),
                           QStringLiteral("due"));
        const QDir stampe(b.cartella.file(StampanteCorrente::NomeCartellaStampe()));
        const QStringList file =
            stampe.entryList({QStringLiteral("SMS *.pdf")}, QDir::Files, QDir::Name);
        QCOMPARE(file.size(), 2);
        const QString uno = TestoPdf(stampe.filePath(file[0])).tutto();
        const QString due = TestoPdf(stampe.filePath(file[1])).tutto();
        QVERIFY(uno.contains(QStringLiteral("Primo")) != due.contains(QStringLiteral("Primo")));
        QVERIFY(uno.contains(QStringLiteral("Secondo")) != due.contains(QStringLiteral("Secondo")));
    }
};

QTEST_MAIN(TstRapporti)
#include "tst_rapporti.moc"
