#include "BancoFormMain.h"
#include "BancoListaSms.h"
#include "CapoPty.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "RegistroSuoni.h"
#include "app/FormMain.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "customers/FormClienti.h"
#include "desk/Annunciatore.h"
#include "desk/OperazioniSmsInAttesa.h"
#include "desk/SchedaSms.h"
#include "desk/SportelloSms.h"
#include "platform/ErroreRuntime.h"
#include "platform/Modale.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
const QString kMario = QStringLiteral("3331112222");
const QString kLuigi = QStringLiteral("33311122229"); // begins with Mario's number
const QString kIgnoto = QStringLiteral("3471234567");
const QString kData = QStringLiteral("07/12/26");

struct Sms {
    QString numero, orario, testo;
    bool gestito;
};

// A main window over a fresh archive, running, with the desk's windows answered by the test.
struct Banco : BancoListaSms {
    // What each window shown modally does, in turn: it gets the window and returns its result.
    QList<std::function<int(QDialog&)>> finestre;
    QStringList mostrate;

    Banco() {
        inEsercizio();
        Modale::InstallaHook([this](QDialog& d) {
            mostrate << d.objectName();
            return finestre.isEmpty() ? int(QDialog::Rejected) : finestre.takeFirst()(d);
        });
    }
    ~Banco() { Modale::RimuoviHook(); }
    // The next message dialog is answered by pressing its button `indice`.
    void premi(int indice) {
        finestre << [indice](QDialog& d) {
            static_cast<SchedaSms&>(d).Command1[indice]->click();
            return d.result();
        };
    }
    void clic(int riga) { form->Sportello().ListaSMS_ItemClick(riga); }
    QStringList testiLista() {
        QStringList t;
        for (int i = 0; i < form->ListaSMS->model()->rowCount(); ++i)
            t << form->ListaSMS->model()->index(i, 4).data().toString();
        return t;
    }
    QList<Sms> inAttesa() {
        QList<Sms> r;
        Recordset& rs = a().ApriTabella(Tabella::SmsTemporanei);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            r.append({rs.Testo(Campo::T3Numero), rs.Testo(Campo::T3OrarioArrivo),
                      rs.Testo(Campo::T3TestoSmsRicevuto), rs.Booleano(Campo::T3Gestito)});
        return r;
    }
    QStringList archiviati() {
        QStringList r;
        Recordset& rs = a().ApriTabella(Tabella::SMS);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            r << QStringList{rs.Testo(Campo::T4Numero), rs.Testo(Campo::T4DataArrivo),
                             rs.Testo(Campo::T4OrarioArrivo), rs.Testo(Campo::T4TestoSmsRicevuto)}
                     .join(QLatin1Char('|'));
        return r;
    }
};
} // namespace

class TstSportelloSms : public QObject {
    Q_OBJECT
private slots:
    // Two messages of one sender, and a sender whose number Mario's begins: each click acts on
    // its own row's record, through taking in hand, archiving, printing and deleting.
    void ogniRigaAgisceSulProprioMessaggio() {
        Banco b;
        DatiDiProva::Cliente(b.a(), kMario, QStringLiteral("Mario Rossi"));
        DatiDiProva::Cliente(b.a(), kLuigi, QStringLiteral("Luigi Verdi"));
        b.sms(kLuigi, QStringLiteral("09:00:00"), QStringLiteral("Di Luigi"));
        b.sms(kMario, QStringLiteral("10:00:00"), QStringLiteral("Primo"));
        b.sms(kMario, QStringLiteral("10:05:00"), QStringLiteral("Secondo"));
        b.form->VisualizzaLista();
        CopioneMessaggi copione;

        // "Annulla", then a dialog closed with Esc, change nothing.
        b.premi(2);
        b.clic(2);
        b.finestre << [](QDialog& d) {
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        };
        b.clic(2);
        QVERIFY(!b.inAttesa()[2].gestito);

        // "Si": the second message of Mario is taken in hand, and only it.
        b.premi(0);
        b.clic(2);
        QCOMPARE(b.mostrate.last(), QStringLiteral("FormMsgBox2"));
        const QList<Sms> dopo = b.inAttesa();
        QVERIFY(!dopo[0].gestito && !dopo[1].gestito && dopo[2].gestito);
        b.form->VisualizzaLista();
        QCOMPARE(b.form->ListaSMS->model()->index(2, 0).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(0, 0, 255));
        QCOMPARE(b.form->ListaSMS->model()->index(2, 1).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(255, 0, 0));

        // "Stampa SMS" prints it and leaves it pending and handled.
        b.applicazione->CambiaImpostazioni({.stampa80Colonne = true, .portaStampa80 = 2});
        b.stampante->porteEsistenti.insert(2);
        b.premi(2);
        b.clic(2);
        QCOMPARE(b.mostrate.last(), QStringLiteral("FormMsgBox4"));
        QVERIFY(b.stampante->scritto.contains(QStringLiteral("Secondo")));
        QCOMPARE(b.inAttesa().size(), 3);

        // "Si" archives exactly that message.
        b.premi(0);
        b.clic(2);
        QCOMPARE(b.archiviati(),
                 QStringList{kMario + QStringLiteral("|07/12/26|10:05:00|Secondo")});
        QCOMPARE(b.testiLista(),
                 (QStringList{QStringLiteral("Di Luigi"), QStringLiteral("Primo")}));
        QCOMPARE(b.inAttesa().size(), 2);

        // Mario's first message, deleted: Luigi's, first in the table, stays.
        b.premi(1);
        copione.Rispondi(6);
        b.clic(1);
        QCOMPARE(copione.mostrati()[0].prompt,
                 QStringLiteral("Confermi la cancellazione del SMS?"));
        QCOMPARE(copione.mostrati()[0].style, 564);
        QCOMPARE(copione.mostrati()[1].prompt, QStringLiteral("SMS eliminato con successo!"));
        QCOMPARE(b.inAttesa().size(), 1);
        QCOMPARE(b.inAttesa()[0].testo, QStringLiteral("Di Luigi"));
        QCOMPARE(b.testiLista(), QStringList{QStringLiteral("Di Luigi")});
    }

    void unClienteDisabilitatoVieneRifiutato() {
        Banco b;
        DatiDiProva::Cliente(b.a(), kMario, QStringLiteral("Mario Rossi"), true);
        b.sms(kMario, QStringLiteral("10:00:00"), QStringLiteral("Ordine"));
        b.form->VisualizzaLista();
        for (int risposta : {1, 2}) {
            CopioneMessaggi copione({risposta});
            b.clic(0);
            QCOMPARE(copione.mostrati().size(), 1);
            QCOMPARE(copione.mostrati()[0].prompt,
                     QStringLiteral("Il Cliente Mario Rossi è memorizzato ma è disabilitato. Per "
                                    "poter gestire SMS abilitare il Cliente"));
            QCOMPARE(copione.mostrati()[0].style, 321);
            QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Cliente NON Abilitato"));
        }
        QVERIFY(b.mostrate.isEmpty());
        QVERIFY(!b.inAttesa()[0].gestito);
    }

    void unMittenteSconosciutoSiRegistraDalBanco() {
        Banco b;
        b.sms(kIgnoto, QStringLiteral("10:00:00"), QStringLiteral("Vorrei due pizze"));
        b.sms(kIgnoto, QStringLiteral("10:30:00"), QStringLiteral("Anzi tre"));
        b.form->VisualizzaLista();
        CopioneMessaggi copione({6});
        b.finestre << [&](QDialog& d) {
            auto& clienti = static_cast<FormClienti&>(d);
            [&] {
                QVERIFY(clienti.inInserimento);
                QCOMPARE(clienti.Testo1(0), kIgnoto);
                QCOMPARE(clienti.Testo1(1), QStringLiteral("Nuovo Cliente"));
            }();
            clienti.Command1[0]->click(); // the placeholder name is refused
            clienti.ImpostaTesto1(1, QStringLiteral("Anna Bianchi"));
            clienti.Command1[0]->click();
            [&] {
                for (int i : {0, 1, 2, 3, 4, 5})
                    QVERIFY(!clienti.Command1[size_t(i)]->isEnabled());
                QVERIFY(clienti.Command1[9]->isEnabled());
            }();
            clienti.Command1[9]->click();
            return d.result();
        };
        b.clic(1);
        QCOMPARE(copione.mostrati()[0].style, 531);
        QVERIFY(copione.mostrati()[0].prompt.startsWith(
            QStringLiteral("Ricevuto il seguente SMS:\n\nAnzi tre\n\nAttenzione nuovo Cliente.")));
        QCOMPARE(copione.mostrati()[1].prompt,
                 QStringLiteral("Attenzione !!! Digitare il Nome del nuovo Cliente"));
        QCOMPARE(b.mostrate, QStringList{QStringLiteral("FormClienti")});
        for (int i = 0; i < 2; ++i)
            QCOMPARE(b.form->ListaSMS->model()->index(i, 1).data().toString(),
                     QStringLiteral("Anna Bianchi"));
    }

    void iMessaggiDiUnMittenteSconosciutoSiEliminanoTutti() {
        Banco b;
        DatiDiProva::Cliente(b.a(), kLuigi, QStringLiteral("Luigi Verdi"));
        b.sms(kIgnoto, QStringLiteral("10:00:00"), QStringLiteral("Uno"));
        b.sms(QStringLiteral("333111222"), QStringLiteral("10:10:00"), QStringLiteral("Prefisso"));
        b.sms(kIgnoto, QStringLiteral("10:20:00"), QStringLiteral("Due"));
        b.form->VisualizzaLista();
        for (int i = 0; i < 3; ++i) // none announced yet
            b.form->Annuncio().Accoda(b.form->Modello().Riga(i).id);
        {
            CopioneMessaggi copione({7, 7});
            b.clic(0); // M8 answered No: nothing goes
            QCOMPARE(copione.mostrati()[1].style, 276);
            QCOMPARE(copione.mostrati()[1].prompt,
                     QStringLiteral("Confermi la cancellazione del seguente SMS: \n\nUno\n\n"));
            QCOMPARE(b.inAttesa().size(), 3);
        }
        CopioneMessaggi copione({7, 6});
        b.clic(0);
        QCOMPARE(b.inAttesa().size(), 1);
        QCOMPARE(b.inAttesa()[0].testo, QStringLiteral("Prefisso"));
        // The sender's rows leave the list at once, and their turns with them.
        QCOMPARE(b.testiLista(), QStringList{QStringLiteral("Prefisso")});
        QCOMPARE(b.form->Annuncio().InAttesa(), QVector<qint64>{b.form->Modello().Riga(0).id});
    }

    // Orders keep arriving through the main timer while the desk's questions are open: what the
    // user confirmed is what happens, to the records the user saw.
    void leRisposteValgonoPerIMessaggiVisti() {
        BancoFormMain b;
        RegistroSuoni suoni;
        b.collegaModem();
        DatiDiProva::Cliente(b.archivioDiretto(), kMario, QStringLiteral("Mario Rossi"));
        const QString ignoto = QStringLiteral("+39") + kIgnoto;
        b.modem.sms(1, ignoto, QStringLiteral("26/12/07,10:10:00+04"), QStringLiteral("Uno"));
        b.modem.sms(2, ignoto, QStringLiteral("26/12/07,10:20:00+04"), QStringLiteral("Due"));
        b.modem.sms(3, QStringLiteral("+39") + kMario, QStringLiteral("26/12/07,10:15:30+04"),
                    QStringLiteral("Vorrei due pizze:"));
        QAbstractItemModel& lista = *b.form->ListaSMS->model();
        // A further message, or a further part, comes in through the timer.
        const auto arriva = [&](int slot, const QString& da, const QString& ora,
                                const QString& testo, const std::function<bool()>& fatto) {
            b.modem.sms(slot, da, QStringLiteral("26/12/07,") + ora + QStringLiteral("+04"), testo);
            QVERIFY(b.tickFinche(fatto, 400) >= 0);
        };
        QStringList errori;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            if (m.title == QStringLiteral("Errore"))
                errori << m.prompt;
            if (m.prompt.startsWith(QStringLiteral("Ricevuto il seguente SMS:")))
                return int(Risposta::No);
            if (m.prompt.startsWith(QStringLiteral("Confermi la cancellazione del seguente"))) {
                arriva(4, ignoto, QStringLiteral("10:30:00"), QStringLiteral("Tre"),
                       [&] { return lista.rowCount() == 4; });
                return int(Risposta::Si);
            }
            return RispostaPredefinita(m.style);
        });
        QList<std::function<int(QDialog&)>> finestre;
        Modale::InstallaHook([&](QDialog& d) {
            return finestre.isEmpty() ? int(QDialog::Rejected) : finestre.takeFirst()(d);
        });
        const auto premi = [](QDialog& d, int indice) {
            static_cast<SchedaSms&>(d).Command1[indice]->click();
            return d.result();
        };
        b.avviaFinoAllaLista();
        QVERIFY(b.tickFinche([&] { return lista.rowCount() == 3; }, 400) >= 0);
        const auto inAttesa = [&] {
            QStringList t;
            Recordset& rs = b.stato->archivio.ApriTabella(Tabella::SmsTemporanei);
            for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
                t << rs.Testo(Campo::T3TestoSmsRicevuto);
            return t;
        };

        // The unknown sender's two messages seen go; the third, come during the question, stays.
        b.form->Sportello().ListaSMS_ItemClick(0);
        QCOMPARE(inAttesa(),
                 (QStringList{QStringLiteral("Vorrei due pizze:"), QStringLiteral("Tre")}));
        b.tick();
        QCOMPARE(lista.rowCount(), 2);
        QCOMPARE(lista.index(1, 4).data().toString(), QStringLiteral("Tre"));

        // Mario's order is taken in hand; while the archiving dialog is open the rest of it
        // arrives and joins the record: "Stampa SMS" prints the whole order, and the whole order
        // is archived.
        CapoPty stampante;
        QVERIFY(stampante.collega(b.cartella.percorso(), 3));
        b.applicazione->CambiaImpostazioni({.stampa80Colonne = true, .portaStampa80 = 3});
        finestre << [&](QDialog& d) { return premi(d, 0); };
        b.form->Sportello().ListaSMS_ItemClick(0);
        finestre << [&](QDialog& d) {
            arriva(5, QStringLiteral("+39") + kMario, QStringLiteral("10:15:33"),
                   QStringLiteral("e una birra."), [&] {
                       return lista.index(0, 4).data().toString().endsWith(
                           QStringLiteral("birra."));
                   });
            return premi(d, 2);
        };
        b.form->Sportello().ListaSMS_ItemClick(0);
        const QByteArray ricevuta = stampante.leggi(QByteArray("J"));
        QVERIFY2(ricevuta.contains("Vorrei due pizze: e una birra."), ricevuta.constData());
        finestre << [&](QDialog& d) { return premi(d, 0); };
        b.form->Sportello().ListaSMS_ItemClick(0);
        // Registering the unknown sender while an order of Mario comes in: the register gets
        // the sender's number, not Mario's.
        QString numeroProposto;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            if (m.prompt.startsWith(QStringLiteral("Ricevuto il seguente SMS:"))) {
                arriva(6, QStringLiteral("+39") + kMario, QStringLiteral("11:00:00"),
                       QStringLiteral("Di nuovo io"), [&] { return lista.rowCount() == 2; });
                return int(Risposta::Si);
            }
            return RispostaPredefinita(m.style);
        });
        // In the register, an order of Mario read meanwhile, then "Annulla" and "Aggiungi": the
        // number proposed again is still the sender's.
        QString numeroRiproposto;
        finestre << [&](QDialog& d) {
            auto& clienti = static_cast<FormClienti&>(d);
            numeroProposto = clienti.Testo1(0);
            arriva(7, QStringLiteral("+39") + kMario, QStringLiteral("11:30:00"),
                   QStringLiteral("Anche una birra"), [&] { return lista.rowCount() == 3; });
            clienti.Command1[9]->click();
            clienti.Command1[0]->click();
            numeroRiproposto = clienti.Testo1(0);
            return int(QDialog::Rejected);
        };
        b.form->Sportello().ListaSMS_ItemClick(0);
        QCOMPARE(numeroProposto, kIgnoto);
        QCOMPARE(numeroRiproposto, kIgnoto);
        MsgBoxHook::Rimuovi();
        Modale::RimuoviHook();
        QVERIFY(errori.isEmpty());
        QCOMPARE(inAttesa(), (QStringList{QStringLiteral("Tre"), QStringLiteral("Di nuovo io"),
                                          QStringLiteral("Anche una birra")}));
        QCOMPARE(lista.rowCount(), 3);
        Recordset& sms = b.stato->archivio.ApriTabella(Tabella::SMS);
        QCOMPARE(sms.RecordCount(), 1);
        QCOMPARE(sms.Testo(Campo::T4TestoSmsRicevuto),
                 QStringLiteral("Vorrei due pizze: e una birra."));
    }

    // The real modal run: the dialog opens usable over the disabled main window and a real
    // click on "Si" takes the message in hand.
    void laSchedaSiApreDavveroESiPremeSi() {
        Banco b;
        Modale::RimuoviHook();
        DatiDiProva::Cliente(b.a(), kMario, QStringLiteral("Mario Rossi"));
        b.sms(kMario, QStringLiteral("10:00:00"), QStringLiteral("Ordine"));
        b.form->VisualizzaLista();
        b.form->show();
        bool usabile = false;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* scheda = qobject_cast<SchedaSms*>(QApplication::activeModalWidget());
            if (!scheda)
                return;
            usabile = scheda->isEnabled() && !b.form->isEnabled() &&
                      scheda->Label6->text() == QStringLiteral("Ordine");
            QTest::mouseClick(scheda->Command1[0], Qt::LeftButton);
        });
        b.clic(0);
        QVERIFY(usabile);
        QVERIFY(b.inAttesa()[0].gestito);
        QVERIFY(b.form->isEnabled());
    }

    // The archive refuses the second half (the pending record cannot be deleted): the copy in
    // SMS is undone with it, and the message stays pending.
    void unArchiviazioneInterrottaNonLasciaNullaAMeta() {
        Banco b;
        DatiDiProva::Cliente(b.a(), kMario, QStringLiteral("Mario Rossi"));
        b.sms(kMario, QStringLiteral("10:00:00"), QStringLiteral("Ordine"), true);
        b.form->VisualizzaLista();
        QCOMPARE(ConnessioneEsterna(b.a().Percorso())
                     .esegui("CREATE TRIGGER guasto BEFORE DELETE ON SmsTemporanei BEGIN "
                             "SELECT RAISE(ABORT, 'disco guasto'); END"),
                 0);
        const qint64 id = b.form->Modello().Riga(0).id;
        bool fallito = false;
        try {
            OperazioniSmsInAttesa::Archivia(b.a(), id);
        } catch (const ErroreRuntime&) {
            fallito = true;
        }
        QVERIFY(fallito);
        QVERIFY(b.archiviati().isEmpty());
        QCOMPARE(b.inAttesa().size(), 1);
    }
};

QTEST_MAIN(TstSportelloSms)
#include "tst_sportellosms.moc"
