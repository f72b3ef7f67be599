#include "BancoFormMain.h"
#include "BancoStampa80.h"
#include "CapoPty.h"
#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "DatiStampa.h"
#include "EseguiProgramma.h"
#include "LibroLetto.h"
#include "ModaleRimasta.h"
#include "browser/EsportazioneExcel.h"
#include "browser/FormSms.h"
#include "browser/IntervalloDate.h"
#include "browser/ModelloListaSms.h"
#include "desk/FormMsgBox3.h"
#include "platform/Documento.h"
#include "platform/Modale.h"
#include "platform/TreCaselle.h"

#include <QApplication>
#include <QDir>
#include <QMap>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <memory>
#include <sys/stat.h>

namespace {

// The day the cases run on, whatever the machine's clock says.
const QDate kGiorno(2026, 12, 7);
const QString kOggi = kGiorno.toString(QStringLiteral("dd-MM-yy"));

// The archive of the cases: a customer with two messages, an unknown number, numbers with
// leading zeros and "+", a message of 2011 and one of 2035; the 80-column printer on COM3.
struct Banco : BancoStampa80 {
    CopioneMessaggi copione;
    std::unique_ptr<FormSms> form;

    explicit Banco(const QString& nomeAnna = QStringLiteral("Anna")) {
        Archivio& a = stato.archivio;
        DatiDiProva::Cliente(a, QStringLiteral("3331111111"), nomeAnna);
        DatiDiProva::Cliente(a, QStringLiteral("0039333444"), QStringLiteral("Bruno"));
        DatiDiProva::Cliente(a, QStringLiteral("+393335555"), QStringLiteral("Carla"));
        for (const auto& [numero, data, testo] :
             {std::tuple{"3331111111", "05/03/24", "Una margherita"},
              std::tuple{"3339999999", "06/03/24", "Chi sono?"},
              std::tuple{"3331111111", "07/03/24", "=SOMMA(A1)"},
              std::tuple{"0039333444", "31/12/11", "Vecchio"},
              std::tuple{"+393335555", "15/06/35", "Dal futuro"}})
            DatiStampa::SmsArchiviato(a, QString::fromLatin1(numero), QString::fromLatin1(data),
                                      QStringLiteral("10:00:00"), QString::fromUtf8(testo));
        QDir(cartella.percorso()).mkdir(QStringLiteral("Cartella File Excel"));
        stato.Oggi = [] { return kGiorno; };
        form = std::make_unique<FormSms>(stato, modulo);
    }

    QStringList mittenti() const {
        QStringList r;
        for (int i = 0; i < form->ListaClienti->topLevelItemCount(); ++i)
            r << form->ListaClienti->topLevelItem(i)->text(0) + QLatin1Char('|') +
                     form->ListaClienti->topLevelItem(i)->text(1);
        return r;
    }
    // Each shown row as number|name|text.
    QStringList righe() const {
        QStringList r;
        for (int i = 0; i < form->Modello().rowCount(); ++i) {
            const RigaListaSms s = form->Modello().Riga(i);
            r << s.numero + QLatin1Char('|') + s.nome + QLatin1Char('|') + s.testo;
        }
        return r;
    }
    void date(const CaselleData& da, const CaselleData& a) {
        TreCaselle::Scrivi(form->Text1, da);
        TreCaselle::Scrivi(form->Text2, a);
    }
    void clicca(const QString& numero) {
        const auto trovati = form->ListaClienti->findItems(numero, Qt::MatchExactly, 0);
        QVERIFY(!trovati.isEmpty());
        form->ListaClienti_ItemClick(trovati.first());
    }
    QString esportato(const QString& nome) const {
        return QDir(EsportazioneExcel::Cartella(cartella.percorso())).filePath(nome);
    }
    QStringList cartellaExcel() const {
        return QDir(EsportazioneExcel::Cartella(cartella.percorso()))
            .entryList(QDir::Files | QDir::Hidden);
    }
};

QStringList Intestazione() {
    return ModelloListaSms::Colonne();
}

} // namespace

class TstFormSms : public QObject {
    Q_OBJECT
private slots:
    void elenchiEFiltriPerMittenteEData() {
        Banco b;
        // At opening: every sender once in order of first message, every message, no printing.
        QCOMPARE(b.mittenti(),
                 (QStringList{QStringLiteral("Tutti|"), QStringLiteral("3331111111|Anna"),
                              QStringLiteral("3339999999|"), QStringLiteral("0039333444|Bruno"),
                              QStringLiteral("+393335555|Carla")}));
        QCOMPARE(b.righe().size(), 5);
        QCOMPARE(b.righe()[1], QStringLiteral("3339999999||Chi sono?"));
        QCOMPARE(b.form->LblListaSMS->text(),
                 QStringLiteral("Lista degli SMS Ricevuti Totali - 5 messaggi visualizzati"));
        QVERIFY(!b.form->CmStampa->isEnabled());
        QCOMPARE(b.form->ListaSMS->model()->headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Testo del SMS Ricevuto"));

        // An unknown number: empty name, "Stampa Tutti", filtered by that number; empty boxes
        // mean from 01/01/2012 to today.
        b.clicca(QStringLiteral("3339999999"));
        QCOMPARE(b.form->CmStampa->text(), QStringLiteral("Stampa Tutti"));
        QCOMPARE(b.righe(), QStringList{QStringLiteral("3339999999||Chi sono?")});
        QCOMPARE(b.form->LblListaSMS->text(),
                 QStringLiteral("Lista degli SMS Ricevuti di  - Totali:  1 messaggi visualizzati"));
        const CaselleData oggi = IntervalloDate::Di(kGiorno);
        QCOMPARE(b.form->Text1[2]->text() + b.form->Text1[1]->text() + b.form->Text1[0]->text(),
                 QStringLiteral("20120101"));
        QCOMPARE(b.form->Text2[2]->text() + b.form->Text2[1]->text() + b.form->Text2[0]->text(),
                 oggi.anno + oggi.mese + oggi.giorno);
        QVERIFY(b.form->CmStampa->isEnabled());

        // "Tutti" from 2012 to today, chosen from the keyboard: neither 2011 nor 2035.
        b.form->ListaClienti->setCurrentItem(b.form->ListaClienti->topLevelItem(0));
        QTest::keyClick(b.form->ListaClienti, Qt::Key_Return);
        QCOMPARE(b.righe().size(), 3);
        QCOMPARE(b.righe()[2], QStringLiteral("3331111111|Anna|=SOMMA(A1)"));
        QCOMPARE(b.form->LblListaSMS->text(),
                 QStringLiteral("Lista degli SMS Ricevuti Totali - 3 messaggi visualizzati"));

        // A start day of 45 becomes 31; a start year of "12" is the year 2.
        b.date({QStringLiteral("45"), QStringLiteral("1"), QStringLiteral("12")}, {});
        b.clicca(QStringLiteral("3331111111"));
        QCOMPARE(b.form->Text1[0]->text(), QStringLiteral("31"));
        QCOMPARE(b.form->DataDa, 31 + 31 * 1 + 961 * 2);
        QCOMPARE(b.form->CmStampa->text(), QStringLiteral("Stampa Cliente"));
        QCOMPARE(b.righe().size(), 2);
        QVERIFY(b.copione.mostrati().isEmpty());

        // A start after the end: nothing, the box, no printing.
        b.date({QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2025")},
               {QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2024")});
        b.clicca(QStringLiteral("Tutti"));
        QVERIFY(b.righe().isEmpty());
        QCOMPARE(b.copione.mostrati().size(), 1);
        QCOMPARE(b.copione.mostrati()[0].prompt,
                 QStringLiteral("Nessun SMS con il Nome o la Data salezionati"));
        QCOMPARE(b.copione.mostrati()[0].title, QStringLiteral("Nessun Elemento Trovato"));
        QCOMPARE(b.copione.mostrati()[0].style, 48);
        QVERIFY(!b.form->CmStampa->isEnabled());

        // Typed keys: digits and "." only. "Data Odierna" and "Cancella Data" fill and empty
        // the six boxes without touching the list.
        b.form->Text1[0]->clear();
        QTest::keyClicks(b.form->Text1[0], QStringLiteral("1a.-2"));
        QCOMPARE(b.form->Text1[0]->text(), QStringLiteral("1.2"));
        // A year box takes four digits: the fifth is not typed.
        b.form->Text2[2]->clear();
        QTest::keyClicks(b.form->Text2[2], QStringLiteral("20350"));
        QCOMPARE(b.form->Text2[2]->text(), QStringLiteral("2035"));
        b.form->CmGiorno_Click();
        QCOMPARE(b.form->Text1[2]->text() + b.form->Text2[0]->text(), oggi.anno + oggi.giorno);
        b.form->CmdPulisci_Click();
        for (int i = 0; i < 3; ++i)
            QVERIFY(b.form->Text1[size_t(i)]->text().isEmpty() &&
                    b.form->Text2[size_t(i)]->text().isEmpty());
        QVERIFY(b.righe().isEmpty());
    }

    // A date after 28/02/2034 is found by a range that holds it, and printed with the list;
    // the end year typed is the year the range ends in.
    void unaDataDel2035SiTrovaESiStampa() {
        Banco b;
        b.date({QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2030")},
               {QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2035")});
        b.clicca(QStringLiteral("+393335555"));
        QCOMPARE(b.form->Text2[2]->text(), QStringLiteral("2035"));
        QCOMPARE(b.righe(), QStringList{QStringLiteral("+393335555|Carla|Dal futuro")});
        b.clicca(QStringLiteral("Tutti"));
        QCOMPARE(b.righe(), QStringList{QStringLiteral("+393335555|Carla|Dal futuro")});
        b.form->CmStampa_Click();
        const QByteArray stampato = b.stampante.leggi(QByteArray("J"));
        QVERIFY2(stampato.contains("Data: 15/06/35") && stampato.contains("SMS: Dal futuro"),
                 stampato.constData());
    }

    // "Stampa" prints the sender the window shows, whatever messages the running main timer
    // stores while the window is open.
    void laStampaSegueIlMittenteMostrato() {
        BancoFormMain b;
        DatiDiProva::Impostazioni(b.archivioDiretto(), false, false, true, QStringLiteral("3"));
        for (const auto& [numero, testo] :
             {std::pair{"3331111111", "Una margherita"}, std::pair{"3339999999", "Chi sono?"}})
            DatiStampa::SmsArchiviato(b.archivioDiretto(), QString::fromLatin1(numero),
                                      QStringLiteral("05/03/24"), QStringLiteral("10:00:00"),
                                      QString::fromUtf8(testo));
        b.rinnova();
        b.collegaModem();
        CapoPty stampante;
        QVERIFY(stampante.collega(b.cartella.percorso(), 3));
        CopioneMessaggi copione;
        b.avviaFinoAllaLista();
        FormSms finestra(*b.stato, b.form->Stampa());
        TreCaselle::Scrivi(finestra.Text1,
                           {QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2024")});
        TreCaselle::Scrivi(finestra.Text2,
                           {QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2024")});
        finestra.ListaClienti_ItemClick(
            finestra.ListaClienti->findItems(QStringLiteral("3331111111"), Qt::MatchExactly)[0]);
        b.modem.sms(1, QStringLiteral("3339999999"), QStringLiteral("26/12/07,10:10:00+04"),
                    QStringLiteral("Un ordine"));
        QVERIFY(b.tickFinche([&] { return b.form->ListaSMS->model()->rowCount() == 1; }, 400) >= 0);
        finestra.CmStampa->click();
        const QByteArray stampato = stampante.leggi(QByteArray("J"));
        QVERIFY2(stampato.contains("SMS: Una margherita") && !stampato.contains("Chi sono?"),
                 stampato.constData());
    }

    // Reading a message: "Ok" prints nothing, "Stampa SMS" prints it.
    void leggereUnSmsEStamparlo() {
        Banco b;
        QString nomeLetto;
        int pulsante = 0;
        Modale::InstallaHook([&](QDialog& d) {
            auto* scheda = qobject_cast<FormMsgBox3*>(&d);
            nomeLetto = scheda->Label3->text();
            scheda->Command1_Click(pulsante);
            return d.result();
        });
        b.form->ListaSMS_ItemClick(2);
        QCOMPARE(nomeLetto, QStringLiteral("Anna"));
        QVERIFY(b.stampante.leggi().isEmpty());
        pulsante = 1;
        b.form->ListaSMS_ItemClick(1);
        Modale::RimuoviHook();
        const QByteArray stampato = b.stampante.leggi(QByteArray("J"));
        QVERIFY2(stampato.contains("3339999999") && stampato.contains("Chi sono?"),
                 stampato.constData());
    }

    // The workbook holds exactly the rows shown, every cell as text, on the sheet "Foglio1".
    void esportazioneRilettaDalFile() {
        Banco b;
        QString aperta;
        Documento::InstallaHook([&](const QString& p) {
            aperta = p;
            return true;
        });
        b.form->CmExcel1_Click();
        Documento::RimuoviHook();
        QCOMPARE(aperta, EsportazioneExcel::Cartella(b.cartella.percorso()));

        // The whole archive, from the "Tutti" view at opening.
        b.form->CmExcel_Click();
        QCOMPARE(b.copione.mostrati().size(), 1);
        QCOMPARE(b.copione.mostrati()[0].prompt,
                 QStringLiteral("Esportazione della Tabella SMS in Excel avvenuta con successo"));
        QCOMPARE(b.copione.mostrati()[0].title, QStringLiteral("Operazione Terminata"));
        QCOMPARE(b.copione.mostrati()[0].style, 64);
        LibroLetto tutti = LibroLetto::Leggi(
            b.esportato(QStringLiteral("ListaSMS_tutti_") + kOggi + QStringLiteral(".xlsx")));
        QCOMPARE(tutti.fogli, QStringList{QStringLiteral("Foglio1")});
        QCOMPARE(tutti.larghezze.size(), 5);
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(int(tutti.larghezze[c]), int(EsportazioneExcel::Larghezze[c]));
            QCOMPARE(tutti.formatiColonne[c], QStringLiteral("@"));
        }
        QVERIFY2(tutti.celleNonTesto.isEmpty(), qPrintable(tutti.celleNonTesto.join(' ')));
        QCOMPARE(tutti.righe.size(), 6);
        QCOMPARE(tutti.righe[0], Intestazione());
        QCOMPARE(tutti.righe[3],
                 (QStringList{QStringLiteral("3331111111"), QStringLiteral("Anna"),
                              QStringLiteral("07/03/24"), QStringLiteral("10:00:00"),
                              QStringLiteral("=SOMMA(A1)")}));
        QCOMPARE(tutti.righe[2][1], QString());
        QCOMPARE(tutti.righe[4][0], QStringLiteral("0039333444"));
        QCOMPARE(tutti.righe[5][0], QStringLiteral("+393335555"));

        // One customer: the file takes the name.
        b.clicca(QStringLiteral("3331111111"));
        b.form->CmExcel_Click();
        LibroLetto anna = LibroLetto::Leggi(
            b.esportato(QStringLiteral("ListaSMS_Anna_") + kOggi + QStringLiteral(".xlsx")));
        QCOMPARE(anna.righe.size(), 3);
        QCOMPARE(anna.righe[1][4], QStringLiteral("Una margherita"));
        QCOMPARE(anna.righe[2][4], QStringLiteral("=SOMMA(A1)"));

        // An empty list: the heading only, and the same day's file replaced.
        b.date({QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("2030")}, {});
        b.clicca(QStringLiteral("3331111111"));
        b.form->CmExcel_Click();
        anna = LibroLetto::Leggi(
            b.esportato(QStringLiteral("ListaSMS_Anna_") + kOggi + QStringLiteral(".xlsx")));
        QCOMPARE(anna.righe, QList<QStringList>{Intestazione()});
        QCOMPARE(b.cartellaExcel().size(), 2);
    }

    // Whatever a stranger wrote, the workbook is valid, opens in another reader and gives the
    // text back as near as a cell allows: characters XML forbids, an escape typed as text, a
    // right-to-left override, a lone half of a UTF-16 pair, a text longer than a cell, a sender
    // that is a long name with quotes.
    void esportazioneDiTestiEstranei() {
        Banco b;
        const QString vietati = QStringLiteral("a") + QChar(0) + QChar(0x1B) + QStringLiteral("p") +
                                QChar(7) + QChar(0xFFFE) +
                                QStringLiteral("\u202Eb _x0041_ c\td\r\ne");
        const QString mittente = QStringLiteral("\"Pizzeria\" l'Orsa, ") + QString(300, u'9');
        const QString lungo = QString(40000, u'z');
        for (const auto& [numero, testo] :
             {std::pair{mittente, vietati},
              std::pair{QStringLiteral("3337777777"),
                        QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y \U0001F355")},
              std::pair{QStringLiteral("3338888888"), lungo}})
            DatiStampa::SmsArchiviato(b.stato.archivio, numero, QStringLiteral("08/03/24"),
                                      QStringLiteral("10:00:00"), testo);
        b.form->VisualizzaListaSMS();
        b.form->CmExcel_Click();
        const QString file =
            b.esportato(QStringLiteral("ListaSMS_tutti_") + kOggi + QStringLiteral(".xlsx"));
        const LibroLetto libro = LibroLetto::Leggi(file);
        QVERIFY2(libro.erroreXml.isEmpty(), qPrintable(libro.erroreXml));
        QCOMPARE(libro.righe.size(), 9);
        QMap<QString, QString> testi;
        for (const QStringList& r : libro.righe)
            testi.insert(r[0], r[4]);
        QCOMPARE(testi.value(mittente), vietati);
        QCOMPARE(testi.value(QStringLiteral("3337777777")), QStringLiteral("x\uFFFDy \U0001F355"));
        QCOMPARE(testi.value(QStringLiteral("3338888888")),
                 QString(EsportazioneExcel::MassimoCella - 3, u'z') + QStringLiteral("[…]"));

        QByteArray letto;
        QCOMPARE(EseguiProgramma(QStringLiteral("/usr/bin/python3"),
                                 {QStringLiteral("-c"),
                                  QStringLiteral("import sys, openpyxl\n"
                                                 "f = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                 "print(f.max_row, len(f['E9'].value))"),
                                  file},
                                 &letto),
                 0);
        QCOMPARE(letto.trimmed(), QByteArray("9 32767"));
    }

    // A save that fails says so and leaves nothing: a missing folder, a name with "/", an
    // archive that cannot be read. The program never makes the folder: the program folder of
    // the build comes with it.
    void esportazioneCheNonSiPuoSalvare() {
        QVERIFY(QFileInfo(EsportazioneExcel::Cartella(QStringLiteral(CARTELLA_PROGRAMMA))).isDir());
        const auto annullata = [](const CopioneMessaggi& c) {
            return c.mostrati().size() == 1 &&
                   c.mostrati()[0].prompt ==
                       QStringLiteral("Esportazione della Tabella SMS in Excel Annullata.") &&
                   c.mostrati()[0].title == QStringLiteral("Operazione Annullata") &&
                   c.mostrati()[0].style == 16;
        };
        {
            Banco b(QStringLiteral("Rossi/Bianchi"));
            b.clicca(QStringLiteral("3331111111"));
            b.form->CmExcel_Click();
            QVERIFY(annullata(b.copione));
            QVERIFY(b.cartellaExcel().isEmpty());
        }
        {
            // The archive held by another program: no workbook of empty rows, but the failure.
            Banco b;
            ConnessioneEsterna altro(b.cartella.file(Archivio::NomeFile()));
            altro.esegui("BEGIN EXCLUSIVE");
            b.form->CmExcel->click();
            altro.esegui("ROLLBACK");
            QCOMPARE(b.copione.mostrati().size(), 1);
            QVERIFY2(b.copione.testi()[0].endsWith(QStringLiteral("3218")),
                     qPrintable(b.copione.testi()[0]));
            QVERIFY(b.cartellaExcel().isEmpty());
        }
        Banco b;
        QDir(EsportazioneExcel::Cartella(b.cartella.percorso())).removeRecursively();
        b.form->CmExcel_Click();
        QVERIFY(annullata(b.copione));
        QVERIFY(!QFileInfo::exists(EsportazioneExcel::Cartella(b.cartella.percorso())));
    }

    // The workbook holds the customers' data: read and write for the shop's group, nothing for
    // others, whatever the umask, and not the private mode of the temporary file it was written
    // in. "Apri File Excel" makes a missing folder, and says so when it cannot.
    void cartellaEPermessiDelleEsportazioni() {
        const mode_t prima = ::umask(022);
        const auto ripristina = qScopeGuard([prima] { ::umask(prima); });
        Banco b;
        b.form->CmExcel_Click();
        const QFileInfo libro(
            b.esportato(QStringLiteral("ListaSMS_tutti_") + kOggi + QStringLiteral(".xlsx")));
        const auto altri = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                           QFileDevice::ReadOther | QFileDevice::WriteOther;
        QCOMPARE(libro.permissions() & altri, QFileDevice::ReadGroup | QFileDevice::WriteGroup);

        const QString cartella = EsportazioneExcel::Cartella(b.cartella.percorso());
        QStringList aperte;
        Documento::InstallaHook([&](const QString& p) {
            aperte << p;
            return true;
        });
        const auto togli = qScopeGuard([] { Documento::RimuoviHook(); });
        QVERIFY(QDir(cartella).removeRecursively());
        b.form->CmExcel1_Click();
        QVERIFY(QFileInfo(cartella).isDir());
        QCOMPARE(aperte, QStringList{cartella});

        // A file where the folder should be: nothing to open, and the user is told.
        QVERIFY(QDir(cartella).removeRecursively());
        QFile occupa(cartella);
        QVERIFY(occupa.open(QIODevice::WriteOnly));
        occupa.close();
        b.form->CmExcel1_Click();
        QCOMPARE(aperte.size(), 1);
        QCOMPARE(b.copione.mostrati().last().prompt,
                 QStringLiteral("Impossibile creare la cartella dei file Excel:\n") + cartella);
        QCOMPARE(b.copione.mostrati().last().style, 16);
    }

    // From the menu, the real modal run: the browser opens usable over the disabled main
    // window, whose timer keeps running, a click on a sender filters, "Esci" closes it.
    void dalMenuSiApreSiUsaESiChiudeDavvero() {
        BancoFormMain b;
        for (const char* numero : {"3331111111", "3332222222"})
            DatiStampa::SmsArchiviato(b.archivioDiretto(), QString::fromLatin1(numero),
                                      QStringLiteral("05/03/24"), QStringLiteral("10:00:00"),
                                      QStringLiteral("Una margherita"));
        b.stato->Oggi = [] { return kGiorno; };
        b.avviaFinoAllaLista();
        const QList<QAction*> menu = b.form->menuBar()->actions();
        QCOMPARE(menu.indexOf(b.form->CmSMS), menu.indexOf(b.form->CmClienti) + 1);
        QCOMPARE(menu.indexOf(b.form->CmInvioSms), menu.indexOf(b.form->CmSMS) + 1);
        bool aperta = false, principaleDisabilitata = false, timerAttivo = false;
        int righeDopoIlClic = -1;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* finestra = qobject_cast<FormSms*>(QApplication::activeModalWidget());
            if (!finestra)
                return;
            aperta = finestra->isEnabled() && finestra->ListaClienti->isEnabled();
            principaleDisabilitata = !b.form->isEnabled();
            timerAttivo = b.form->Timer1.isActive();
            QTreeWidgetItem* mittente = finestra->ListaClienti->topLevelItem(2);
            QTest::mouseClick(finestra->ListaClienti->viewport(), Qt::LeftButton, {},
                              finestra->ListaClienti->visualItemRect(mittente).center());
            righeDopoIlClic = finestra->ListaSMS->model()->rowCount();
            QTest::mouseClick(finestra->CmEsci, Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get());
        b.form->CmSMS->trigger();
        QVERIFY(aperta);
        QVERIFY(principaleDisabilitata);
        QVERIFY(timerAttivo);
        QCOMPARE(righeDopoIlClic, 1);
        QVERIFY(b.form->isEnabled());
    }
};

QTEST_MAIN(TstFormSms)
#include "tst_formsms.moc"
