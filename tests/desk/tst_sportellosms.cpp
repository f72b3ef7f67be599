#include "BancoListaSms.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "app/FormMain.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "customers/FormClienti.h"
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
    void clic(int riga) {
        form->Sportello().ListaSMS_ItemClick(form->ListaSMS->topLevelItem(riga));
    }
    QStringList testiLista() {
        QStringList t;
        for (int i = 0; i < form->ListaSMS->topLevelItemCount(); ++i)
            t << form->ListaSMS->topLevelItem(i)->text(4);
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
        b.form->rispformbox = 6; // an earlier answer must not count
        b.clic(2);
        QVERIFY(!b.inAttesa()[2].gestito);

        // "Si": the second message of Mario is taken in hand, and only it.
        b.premi(0);
        b.clic(2);
        QCOMPARE(b.mostrate.last(), QStringLiteral("FormMsgBox2"));
        const QList<Sms> dopo = b.inAttesa();
        QVERIFY(!dopo[0].gestito && !dopo[1].gestito && dopo[2].gestito);
        b.form->VisualizzaLista();
        QVERIFY(SportelloSms::Gestita(b.form->ListaSMS->topLevelItem(2)));
        QCOMPARE(b.form->ListaSMS->topLevelItem(2)->foreground(1).color(), QColor(255, 0, 0));

        // "Stampa SMS" prints it and leaves it pending and handled.
        b.stato.Stampa80Colonne = true;
        b.stato.PortaStampa80 = 2;
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
        QVERIFY(!b.stato.InserimentoDaSms);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(b.form->ListaSMS->topLevelItem(i)->text(1), QStringLiteral("Anna Bianchi"));
    }

    void iMessaggiDiUnMittenteSconosciutoSiEliminanoTutti() {
        Banco b;
        DatiDiProva::Cliente(b.a(), kLuigi, QStringLiteral("Luigi Verdi"));
        b.sms(kIgnoto, QStringLiteral("10:00:00"), QStringLiteral("Uno"));
        b.sms(QStringLiteral("333111222"), QStringLiteral("10:10:00"), QStringLiteral("Prefisso"));
        b.sms(kIgnoto, QStringLiteral("10:20:00"), QStringLiteral("Due"));
        b.form->VisualizzaLista();
        b.form->ContaSMSArrivati = 3; // none announced yet
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
        QCOMPARE(b.form->ListaSMS->topLevelItemCount(), 2);
        QVERIFY(b.stato.AggiornaListaSms);
        // Only the rows that remain are still to be announced.
        QCOMPARE(b.form->ContaSMSArrivati, 2);
        b.form->Timer1_Timer();
        QCOMPARE(b.testiLista(), QStringList{QStringLiteral("Prefisso")});
        QCOMPARE(b.form->ContaSMSArrivati, 1);
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
