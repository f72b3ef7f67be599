#include "BancoMotorePty.h"
#include "CapoPty.h"
#include "CaratteriSim.h"
#include "CartellaDiProva.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "ModaleRimasta.h"
#include "RegistroSuoni.h"
#include "app/FormMain.h"
#include "app/PannelloModem.h"
#include "archive/StatoGlobale.h"
#include "campaigns/FormInvioSms.h"
#include "desk/Annunciatore.h"
#include "desk/FormMsgBox1.h"
#include "desk/LetturaSmsInAttesa.h"
#include "modem/MotoreGsm.h"
#include "platform/Modale.h"
#include "platform/PortaSerialeQt.h"
#include "platform/TestoInerte.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeWidget>
#include <memory>

namespace {

const QString kPizza = QStringLiteral("Vorrei un’altra pizza 🍕 alle 20");

// The whole program over the project's modem simulator on porte/COM1 and a receipt printer on
// porte/COM2; each tick first lets every byte written reach the simulator and be answered.
struct BancoTelefoni {
    CartellaDiProva cartella;
    SimulatorePty sim;
    CapoPty stampante;
    std::unique_ptr<StatoGlobale> stato;
    PortaSerialeQt* porta = nullptr;
    std::unique_ptr<Applicazione> applicazione;
    std::unique_ptr<FormMain> form;

    // `prepara` writes records before the program reads them.
    explicit BancoTelefoni(const std::function<void(Archivio&)>& prepara = {}) {
        {
            StatoGlobale iniziale(cartella.percorso());
            iniziale.archivio.ApriArchivio(cartella.percorso());
            DatiDiProva::Modem(iniziale.archivio, false);
            DatiDiProva::Impostazioni(iniziale.archivio, true, false, true, QStringLiteral("2"));
            if (prepara)
                prepara(iniziale.archivio);
        }
        QString errore;
        if (!sim.apri(QDir(cartella.percorso()).filePath(QStringLiteral("porte/COM1")), &errore))
            qFatal("simulatore: %s", qPrintable(errore));
        if (!stampante.collega(cartella.percorso(), 2))
            qFatal("stampante non collegata");
        stato = std::make_unique<StatoGlobale>(cartella.percorso());
        auto p = std::make_unique<PortaSerialeQt>(cartella.percorso());
        porta = p.get();
        applicazione = std::make_unique<Applicazione>(
            *stato, std::move(p), std::make_unique<PortaSerialeQt>(cartella.percorso()));
        form = std::make_unique<FormMain>(*applicazione);
    }
    void tick() {
        PassaAlSimulatore(sim, *porta);
        form->Timer1_Timer();
    }
    bool finche(const std::function<bool()>& condizione, int massimo = 3000) {
        for (int i = 0; i < massimo && !condizione(); ++i)
            tick();
        return condizione();
    }
    // A message typed on a smartphone, in UCS2, waits in the SIM's first slot.
    void inUcs2(const QString& testo) {
        SmsSim s;
        s.mittente = "+393331112222";
        s.timestamp = "26/12/07,10:15:30+04";
        QString errore;
        QVERIFY2(CaratteriSim::Componi(s, testo, QStringLiteral("ucs2"), {}, &errore),
                 qPrintable(errore));
        sim.modem().impostaSms(1, s);
    }
    // A 7-bit SMS (or a piece "RIF/TOT/NUM" of a long one) arrives on the simulated SIM.
    void arriva(const QByteArray& mittente, const QString& testo, const QByteArray& stamp,
                const QString& parte) {
        SmsSim s;
        s.mittente = mittente;
        s.timestamp = stamp;
        QString errore;
        QVERIFY2(CaratteriSim::Componi(s, testo, {}, parte, &errore), qPrintable(errore));
        sim.modem().aggiungiSms(s);
    }
};

} // namespace

class TstOrdiniDaiTelefoni : public QObject {
    Q_OBJECT

private slots:
    // An order typed on a smartphone, in UCS2 with a curly apostrophe and an emoji: the list,
    // the notice and the archive have it as written, the receipt as near as its code page goes.
    void ordineInUcs2DallaSimAlloScontrino() {
        BancoTelefoni b;
        b.inUcs2(kPizza);
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche([&] { return b.form->msgBox1() != nullptr; }));
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
        QCOMPARE(b.form->ListaSMS->model()->index(0, 4).data().toString(), kPizza);
        QCOMPARE(b.form->msgBox1()->Label6->text(), kPizza);
        {
            Archivio a;
            a.ApriArchivio(b.cartella.percorso());
            Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
            rs.MoveFirst();
            QCOMPARE(rs.Testo(QStringLiteral("T3TestoSmsRicevuto")), kPizza);
        }
        const QByteArray stampato = b.stampante.leggi("J");
        QVERIFY2(stampato.contains("\"Vorrei un'altra pizza ? alle 20 \"@"), stampato.constData());
        QCOMPARE(copione.testi().size(), 2);
        QCOMPARE(copione.testi().last(), QStringLiteral("MODULO GSM abilitato"));
        // The diagnostic lists, opened, have nothing to say of a modem that took every setting.
        QTest::keyClick(b.form.get(), Qt::Key_F7);
        QCOMPARE(b.form->Pannello().ListRicevutiModem->count(), 0);
    }

    // Anyone can text the shop, and every order is printed at once: a message written to drive
    // the receipt printer (the cash-drawer pulse, a reset, a bell, a form feed, a right-to-left
    // override; C1 controls and a lone half of a UTF-16 pair) is stored as received (half a
    // character as U+FFFD, the one thing a text can hold for it), while the printer's line
    // carries no control byte and the screen shows the text without effect.
    void testoEstraneoNonComandaLaStampante_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QByteArray>("stampato");
        QTest::addColumn<QString>("archiviato");
        const auto c = [](char16_t u) { return QString(QChar(u)); };
        QTest::newRow("ESC p, NUL, BEL, FF, ESC @, RLO")
            << QStringLiteral("Pizza") + c(0x1B) + QStringLiteral("p") + c(0) + c(25) + c(250) +
                   c(0) + c(7) + c(12) + c(0x1B) + QStringLiteral("@ ") + c(0x202E) +
                   QStringLiteral("azzip alle 20")
            << QByteArray("\"Pizza?p??\xFA????@ azzip alle 20 \"@") << QString();
        QTest::newRow("C1 e surrogato isolato")
            << QStringLiteral("Due") + c(0x85) + c(0x9B) + QStringLiteral("2J") + c(0xD800) +
                   QStringLiteral(" margherite") + c(0xDC00)
            << QByteArray("\"Due??2J? margherite? \"@")
            << QStringLiteral("Due\u0085\u009B2J\uFFFD margherite\uFFFD");
    }
    void testoEstraneoNonComandaLaStampante() {
        QFETCH(QString, testo);
        QFETCH(QByteArray, stampato);
        QFETCH(QString, archiviato);
        BancoTelefoni b;
        b.inUcs2(testo);
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche([&] { return b.form->msgBox1() != nullptr; }));
        const QByteArray linea = b.stampante.leggi("J");
        QVERIFY2(linea.contains(stampato), linea.toPercentEncoding(" \"@").constData());
        for (const char byte : linea)
            QVERIFY2(uchar(byte) >= 0x20 && uchar(byte) != 0x7F,
                     linea.toPercentEncoding(" \"@").constData());
        {
            Archivio a;
            a.ApriArchivio(b.cartella.percorso());
            Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
            rs.MoveFirst();
            QCOMPARE(rs.Testo(QStringLiteral("T3TestoSmsRicevuto")),
                     archiviato.isNull() ? testo : archiviato);
        }
        const QString mostrato = TestoInerte::Rendi(testo);
        QVERIFY(!mostrato.contains(QChar(0x202E)) && !mostrato.contains(QChar(0x1B)));
        QCOMPARE(b.form->msgBox1()->Label6->text(), mostrato);
        const QString cella = b.form->ListaSMS->model()->index(0, 4).data().toString();
        QCOMPARE(cella, testo);
        const auto* delegato = qobject_cast<QStyledItemDelegate*>(b.form->ListaSMS->itemDelegate());
        QVERIFY(delegato);
        QCOMPARE(delegato->displayText(cella, QLocale()), mostrato);
    }

    // The first piece of a long order is announced and printed as it comes, with a mark where
    // the missing piece goes; the last one, read by a later scan, completes the row and the
    // whole order is announced and printed again.
    void ordineLungoCompletatoDaUnaScansioneSuccessiva() {
        BancoTelefoni b;
        const auto pezzo = [&](const QString& testo, const QByteArray& stamp,
                               const QString& parte) {
            b.arriva("+393331112222", testo, stamp, parte);
        };
        pezzo(QStringLiteral("Vorrei due pizze marghe"), "26/12/07,10:15:30+04",
              QStringLiteral("5/2/1"));
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche([&] { return b.form->msgBox1() != nullptr; }));
        QCOMPARE(b.form->msgBox1()->Label6->text(), QStringLiteral("Vorrei due pizze marghe[…]"));
        QVERIFY(b.stampante.leggi("J").contains("\"Vorrei due pizze marghe["));
        b.form->msgBox1()->Command1_Click(0);
        pezzo(QStringLiteral("rita per le 20"), "26/12/07,10:15:42+04", QStringLiteral("5/2/2"));
        QVERIFY(b.finche(
            [&] { return b.form->msgBox1() && b.form->msgBox1()->Label6->text().endsWith("20"); }));
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
        QCOMPARE(b.form->ListaSMS->model()->index(0, 4).data().toString(),
                 QStringLiteral("Vorrei due pizze margherita per le 20"));
        const QByteArray intero = b.stampante.leggi("J");
        QVERIFY2(intero.contains("\"Vorrei due pizze margherita per le \"@\"20 \"@"),
                 intero.constData());
        QVERIFY(b.form->Annuncio().InAttesa().isEmpty());
    }

    // One scan reads a long order's first piece, a plain message from the same phone and then
    // the last piece: the list holds two rows, the whole order is announced first and, after
    // "Ok", the plain message.
    void pezzoUnitoEMessaggioNuovoNellaStessaScansione() {
        BancoTelefoni b;
        const auto sms = [&](const QString& testo, const QByteArray& stamp, const QString& parte) {
            b.arriva("+393339999999", testo, stamp, parte);
        };
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche(
            [&] { return b.form->Motore().stato.PortaCom == 1 && b.form->ListaSMS->isEnabled(); }));
        for (int i = 0; i < 300; ++i)
            b.tick();
        sms(QStringLiteral("Vorrei due margherite, grazie mill"), "26/12/09,10:15:30+04",
            QStringLiteral("43/2/1"));
        sms(QStringLiteral("Ciao!"), "26/12/09,10:15:32+04", {});
        sms(QStringLiteral("e."), "26/12/09,10:15:31+04", QStringLiteral("43/2/2"));
        const auto avviso = [&] { return b.form->msgBox1() && b.form->msgBox1()->isVisible(); };
        QVERIFY(b.finche(avviso));
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 2);
        QCOMPARE(b.form->msgBox1()->Label6->text(),
                 QStringLiteral("Vorrei due margherite, grazie mille."));
        QTest::mouseClick(b.form->msgBox1()->Command1[0], Qt::LeftButton);
        QVERIFY(b.finche(avviso));
        QCOMPARE(b.form->msgBox1()->Label6->text(), QStringLiteral("Ciao!"));
        QVERIFY(b.form->Annuncio().InAttesa().isEmpty());
    }

    // A long order's pieces and a short message from the same phone, all in one second: the
    // late piece completes the long order's row, never the short message's.
    void pezzoEMessaggioBreveNelloStessoSecondo() {
        BancoTelefoni b;
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche([&] { return b.form->FaseAvvio == 2; }));
        b.arriva("+393339999999", QStringLiteral("Due pizze "), "26/12/09,10:15:30+04",
                 QStringLiteral("44/2/1"));
        b.arriva("+393339999999", QStringLiteral("Ciao!"), "26/12/09,10:15:30+04", {});
        QVERIFY(b.finche([&] { return b.form->Modello().Conteggio() == 2; }));
        b.arriva("+393339999999", QStringLiteral("e una birra"), "26/12/09,10:15:30+04",
                 QStringLiteral("44/2/2"));
        const auto testi = [&] {
            return QStringList{b.form->Modello().Riga(0).testo, b.form->Modello().Riga(1).testo};
        };
        const QStringList attesi{QStringLiteral("Due pizze e una birra"), QStringLiteral("Ciao!")};
        QVERIFY(b.finche([&] { return testi() == attesi; }));
        // The rows are the records they show.
        for (int i = 0; i < 2; ++i)
            QCOMPARE(LetturaSmsInAttesa::Riga(b.stato->archivio, b.stato->rubrica,
                                              b.form->Modello().Riga(i).id)
                         ->testo,
                     attesi[i]);
    }

    // An order that comes while the customer register is open over the main window is read by
    // the main timer meanwhile, and is in the list when the register closes.
    void ordineArrivatoConIlRegistroAperto() {
        BancoTelefoni b;
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        QVERIFY(b.form->Avvia());
        QSignalSpy scansioni(&b.form->Motore(), &MotoreGsm::ScansioneConclusa);
        QVERIFY(b.finche([&] { return !scansioni.isEmpty(); }));
        b.sim.avviaAutomatico();
        bool registroAperto = false;
        QTimer::singleShot(0, [&] {
            QWidget* registro = QApplication::activeModalWidget();
            QVERIFY(registro);
            registroAperto = registro->windowTitle() == QStringLiteral("Gestione Clienti");
            b.sim.modem().aggiungiSms("+393331112222", "Due margherite per le 20");
            // The next scan comes at most ten seconds later.
            QTest::qWaitFor([&] { return scansioni.size() >= 2; }, 30000);
            for (auto* p : registro->findChildren<QPushButton*>())
                if (p->text() == QStringLiteral("Esci"))
                    QTest::mouseClick(p, Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get(), 60000);
        b.form->CmClienti->trigger();
        QVERIFY(registroAperto);
        QVERIFY(b.form->isEnabled());
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
        QCOMPARE(b.form->ListaSMS->model()->index(0, 4).data().toString(),
                 QStringLiteral("Due margherite per le 20"));
    }

    // A long order is completed, and another order comes, while the register is open over the
    // main window; then the register closes. Each order is announced once, whole, and its
    // receipt printed once: the list shown again in table order moves no turn to another row.
    void ordineLungoCompletatoConIlRegistroAperto() {
        BancoTelefoni b;
        CopioneMessaggi copione;
        RegistroSuoni suoni;
        const auto testoAvviso = [&] {
            return b.form->msgBox1() && b.form->msgBox1()->isVisible()
                       ? b.form->msgBox1()->Label6->text()
                       : QString();
        };
        const auto annunciato = [&](const QString& testo) {
            const bool visto = b.finche([&] { return testoAvviso() == testo; });
            if (visto)
                b.form->msgBox1()->Command1_Click(0);
            return visto;
        };
        QVERIFY(b.form->Avvia());
        b.arriva("+393331112222", QStringLiteral("Due pizze "), "26/12/07,10:15:30+04",
                 QStringLiteral("7/2/1"));
        QVERIFY(annunciato(QStringLiteral("Due pizze […]")));
        b.arriva("+393334445555", QStringLiteral("Un calzone"), "26/12/07,10:16:00+04", {});
        QVERIFY(annunciato(QStringLiteral("Un calzone")));

        bool dentro = false;
        QTimer::singleShot(0, [&] {
            QWidget* registro = QApplication::activeModalWidget();
            if (!registro)
                return;
            dentro = true;
            b.arriva("+393331112222", QStringLiteral("e una birra"), "26/12/07,10:15:40+04",
                     QStringLiteral("7/2/2"));
            b.arriva("+393476667777", QStringLiteral("Una focaccia"), "26/12/07,10:17:00+04", {});
            dentro &= b.finche([&] { return b.form->Modello().Conteggio() == 3; });
            // Announcing waits for the register to close.
            for (int i = 0; i < 300; ++i)
                b.tick();
            dentro &= !b.form->msgBox1() || !b.form->msgBox1()->isVisible();
            for (auto* p : registro->findChildren<QPushButton*>())
                if (p->text() == QStringLiteral("Esci"))
                    QTest::mouseClick(p, Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get(), 60000);
        b.form->CmClienti->trigger();
        QVERIFY(dentro);
        QCOMPARE(b.form->Modello().Riga(0).testo, QStringLiteral("Due pizze e una birra"));
        QVERIFY(annunciato(QStringLiteral("Due pizze e una birra")));
        QVERIFY(annunciato(QStringLiteral("Una focaccia")));
        // Nothing further is announced.
        for (int i = 0; i < 300; ++i)
            b.tick();
        QVERIFY(testoAvviso().isEmpty());
        const QByteArray stampato = b.stampante.leggi();
        const auto volte = [&](const char* testo) { return stampato.count(testo); };
        QCOMPARE(volte("\"Due pizze e una birra"), 1);
        QCOMPARE(volte("\"Un calzone"), 1);
        QCOMPARE(volte("\"Una focaccia"), 1);
        QCOMPARE(volte("\"Due pizze ["), 1);
    }

    // A campaign's run stopped while its last text is out, its answer late: the restore waits
    // for that answer, which is written into the campaign's queue.
    void ripristinoRifiutatoConLUltimoSmsInVolo() {
        BancoTelefoni b([](Archivio& a) {
            DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        });
        CopioneMessaggi copione;
        QVERIFY(b.form->Avvia());
        MotoreGsm& motore = b.form->Motore();
        QVERIFY(b.finche([&] {
            return b.form->FaseAvvio == 2 && motore.stato.GsmAbilitato && motore.Inattivo();
        }));
        b.sim.impostaRitardoEsitoInvio(60000);
        bool fuori = false;
        QTimer::singleShot(0, [&] {
            auto* f = qobject_cast<FormInvioSms*>(QApplication::activeModalWidget());
            if (!f)
                return;
            f->Riga(1)->setCheckState(0, Qt::Checked);
            f->TxtTestoSms->setPlainText(QStringLiteral("Pizza a domicilio"));
            f->BtnInviaSms->click();
            fuori = b.finche([&] {
                if (f->Timer1.isActive())
                    f->Timer1_Timer();
                return b.sim.modem().haEsitoInvio();
            });
            f->BtnInviaSms->click(); // "Annulla": the run stops, its last text is still out
            f->BtnEsci->click();
        });
        ChiudiModaleRimasta(b.form.get(), 60000);
        b.form->CmInvioSms->trigger();
        QVERIFY(fuori);
        QStringList aperte;
        Modale::InstallaHook([&](QDialog& d) {
            aperte << d.objectName();
            return int(QDialog::Rejected);
        });
        const qsizetype prima = copione.testi().size();
        b.form->CmRipristina->trigger();
        Modale::RimuoviHook();
        QVERIFY(aperte.isEmpty());
        QCOMPARE(copione.testi().size(), prima + 1);
        QVERIFY(copione.testi().last().startsWith(
            QStringLiteral("È in corso l'invio di una campagna")));
    }

    // "Esci" chosen while the credit asked by SMS waits for the modem's "> " prompt: the prompt
    // and the result come while the question is open and are handled. After "No" the request
    // went out whole, the modem is not left at its prompt, and the polls go on: the operator's
    // answer is read and shown.
    void creditoPerSmsMentreSiChiedeDiChiudereENo() {
        BancoTelefoni b([](Archivio& a) {
            Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
            rs.MoveFirst();
            rs.Edit();
            rs.Imposta(QStringLiteral("TelCredito"), QStringLiteral("40916"));
            rs.Imposta(QStringLiteral("ModalitaCre"), 1);
            rs.Update();
        });
        ModemSimulato& m = b.sim.modem();
        m.impostaRispostaCreditoSms({"40916", "TIM INFO", "Il credito residuo e' 9,87 Euro."});
        MotoreGsm& motore = b.form->Motore();
        {
            CopioneMessaggi avvio;
            QVERIFY(b.form->Avvia());
            QVERIFY(b.finche([&] {
                return b.form->FaseAvvio == 2 && motore.stato.Registrato && motore.Inattivo();
            }));
            QTest::mouseClick(b.form->Pannello().BtnTestCredito, Qt::LeftButton);
        }
        QStringList domande;
        QByteArray inVolo;
        qsizetype inviateSottoLaDomanda = -1;
        MsgBoxHook::Installa([&](const MessaggioMostrato& d) {
            domande << d.title;
            // The address line reaches the modem, whose prompt comes while the question is open.
            PassaAlSimulatore(b.sim, *b.porta);
            inVolo = m.comandiRicevuti().last();
            for (int i = 0; i < 10; ++i)
                b.tick();
            inviateSottoLaDomanda = m.richiesteInviate().size();
            return int(Risposta::No);
        });
        b.form->CmEsci->trigger();
        MsgBoxHook::Rimuovi();
        QCOMPARE(domande, QStringList{QStringLiteral("Conferma Chiusura")});
        QCOMPARE(inVolo, QByteArray("AT+CMGS=\"40916\""));
        QCOMPARE(inviateSottoLaDomanda, 1);
        QVERIFY(!motore.stato.ChiusuraRichiesta);
        QVERIFY(!b.form->Scaricata());

        CopioneMessaggi dopo;
        const bool letto =
            b.finche([&] { return b.form->Pannello().LblCredito->text() == "Credito : 9,87"; });
        // The simulator records a message only once Ctrl-Z has closed it.
        const QList<RichiestaInviata> richieste = m.richiesteInviate();
        QCOMPARE(richieste.size(), 1);
        QCOMPARE(richieste[0].destinatario, QByteArray("40916"));
        QCOMPARE(richieste[0].testo, QByteArray("CREDITO"));
        // The next line the modem heard as a command is the poll, and it never had to be
        // started again to leave its prompt.
        const QList<QByteArray> comandi = m.comandiRicevuti();
        const QList<QByteArray> seguiti = comandi.mid(comandi.lastIndexOf(inVolo) + 1);
        QVERIFY2(seguiti.value(0) == "AT+CREG?" && !seguiti.contains("ATE0"),
                 seguiti.join(' ').constData());
        QCOMPARE(m.byteInAttesa(), 0);
        QVERIFY(letto);
        QVERIFY2(dopo.testi().isEmpty(), qPrintable(dopo.testi().join(' ')));
    }

    // A modem that refuses the settings works as before; opening the diagnostic lists shows each
    // refusal once.
    void rifiutiDelModemNellaDiagnostica() {
        BancoTelefoni b;
        b.sim.modem().impostaSenzaCsdh(true);
        b.sim.modem().impostaSenzaCscs(true);
        CopioneMessaggi copione;
        QVERIFY(b.form->Avvia());
        QVERIFY(b.finche([&] { return b.form->Motore().codifica.Note().size() == 2; }));
        QTest::keyClick(b.form.get(), Qt::Key_F7);
        QCOMPARE(b.form->Pannello().ListRicevutiModem->count(), 2);
        QVERIFY(b.form->Pannello().ListRicevutiModem->item(0)->text().contains(
            QStringLiteral("AT+CSDH=1")));
        QVERIFY(b.form->Pannello().ListRicevutiModem->item(1)->text().contains(
            QStringLiteral("8859-1")));
        // The refusals go to the diagnostic lists only, never to a box.
        QVERIFY(!copione.testi().join(QLatin1Char(' ')).contains(QStringLiteral("AT+CS")));
    }
};

QTEST_MAIN(TstOrdiniDaiTelefoni)
#include "tst_ordinidaitelefoni.moc"
