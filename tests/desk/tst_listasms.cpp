#include "BancoListaSms.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "RegistroSuoni.h"
#include "app/FormMain.h"
#include "archive/StatoGlobale.h"
#include "desk/Annunciatore.h"
#include "desk/FormMsgBox1.h"
#include "desk/LetturaSmsInAttesa.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);
} // namespace

// The pending list of a main window over a fresh archive.
struct Banco : BancoListaSms {
    QTreeView& lista() { return *form->ListaSMS; }
    QAbstractItemModel& m() { return *form->ListaSMS->model(); }
    int righe() { return m().rowCount(); }
    QStringList riga(int i) {
        QStringList celle;
        for (int c = 0; c < 5; ++c)
            celle << m().index(i, c).data().toString();
        return celle;
    }
    QVariant colore(int r, int c) { return m().index(r, c).data(Qt::ForegroundRole); }
    // Rows r... are to be announced, as after a scan that stored them.
    void daAnnunciare(std::initializer_list<int> righe) {
        for (int r : righe)
            form->Annuncio().Accoda(form->Modello().Riga(r).id);
        form->Annuncio().ScansioneConclusa();
    }
};

class TstListaSms : public QObject {
    Q_OBJECT
private slots:
    void cinqueColonneNellOrdineDellaTabella() {
        Banco b;
        QCOMPARE(b.m().columnCount(), 5);
        QCOMPARE(b.m().headerData(4, Qt::Horizontal).toString(),
                 QStringLiteral("Testo del SMS Ricevuto"));
        DatiDiProva::Cliente(b.a(), QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        DatiDiProva::SmsInAttesa(b.a(), QStringLiteral("3471234567"), QStringLiteral("06/12/26"),
                                 QStringLiteral("21:00:01"), QStringLiteral("Chi sono?"));
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"),
              QStringLiteral("Due margherite"));
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:20:00"),
              QStringLiteral("e una birra"));
        b.form->VisualizzaLista();
        QCOMPARE(b.righe(), 3);
        QCOMPARE(b.riga(0),
                 (QStringList{"3471234567", "Nuovo Cliente", "06/12/26", "21:00:01", "Chi sono?"}));
        QCOMPARE(b.riga(1), (QStringList{"3331112222", "Mario Rossi", "07/12/26", "10:15:30",
                                         "Due margherite"}));
        QCOMPARE(b.riga(2),
                 (QStringList{"3331112222", "Mario Rossi", "07/12/26", "10:20:00", "e una birra"}));
        // A rebuild starts from scratch: no row is doubled.
        b.form->VisualizzaLista();
        QCOMPARE(b.righe(), 3);
    }

    void tabelleVuote() {
        Banco b;
        b.form->VisualizzaLista();
        QCOMPARE(b.righe(), 0);
        // Without customers every sender is new.
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Ciao"));
        b.form->VisualizzaLista();
        QCOMPARE(b.riga(0)[1], QStringLiteral("Nuovo Cliente"));
    }

    void iRigheGestiteSonoBluERosse() {
        Banco b;
        DatiDiProva::Cliente(b.a(), QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        DatiDiProva::SmsInAttesa(b.a(), QStringLiteral("3331112222"), QStringLiteral("07/12/26"),
                                 QStringLiteral("10:15:30"), QStringLiteral("Gestito"), true);
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:16:00"),
              QStringLiteral("Da gestire"));
        b.form->VisualizzaLista();
        QCOMPARE(b.colore(0, 0).value<QColor>(), kBlu);
        for (int c = 1; c < 5; ++c)
            QCOMPARE(b.colore(0, c).value<QColor>(), kRosso);
        QVERIFY(!b.colore(1, 0).isValid());
        QVERIFY(!b.colore(1, 1).isValid());
        // The row after a handled message gets its name like any other.
        QCOMPARE(b.riga(1)[1], QStringLiteral("Mario Rossi"));
    }

    void iClientiDisabilitatiMostranoIlNome() {
        Banco b;
        DatiDiProva::Cliente(b.a(), QStringLiteral("3331112222"), QStringLiteral("Disabilitato"),
                             true);
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Ciao"));
        b.form->VisualizzaLista();
        QCOMPARE(b.riga(0)[1], QStringLiteral("Disabilitato"));
    }

    void oltreCinquecentoClientiIlNomeSiTrovaAncora() {
        Banco b;
        for (int i = 1; i <= 620; ++i)
            DatiDiProva::Cliente(b.a(), QStringLiteral("33300%1").arg(i, 5, 10, QChar('0')),
                                 QStringLiteral("Cliente %1").arg(i));
        DatiDiProva::SmsInAttesa(b.a(), QStringLiteral("33300%1").arg(612, 5, 10, QChar('0')),
                                 QStringLiteral("07/12/26"), QStringLiteral("10:15:30"),
                                 QStringLiteral("Ciao"));
        b.form->VisualizzaLista();
        QCOMPARE(b.riga(0)[1], QStringLiteral("Cliente 612"));
        QCOMPARE(b.stato.rubrica.Conteggio(), 620);
    }

    void numeriConCaratteriSpecialiSonoTestoQualunque() {
        Banco b;
        DatiDiProva::Cliente(b.a(), QStringLiteral("33'3%_*"), QStringLiteral("Strano"));
        DatiDiProva::Cliente(b.a(), QStringLiteral("333"), QStringLiteral("Corto"));
        b.sms(QStringLiteral("33'3%_*"), QStringLiteral("10:15:30"), QStringLiteral("a"));
        b.sms(QStringLiteral("3339"), QStringLiteral("10:15:31"), QStringLiteral("b"));
        b.form->VisualizzaLista();
        QCOMPARE(b.riga(0)[1], QStringLiteral("Strano"));
        // Names go by equal numbers, never by a prefix.
        QCOMPARE(b.riga(1)[1], QStringLiteral("Nuovo Cliente"));
    }

    void dopoLaRicostruzioneNessunaRigaESelezionata() {
        Banco b;
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Ciao"));
        b.sms(QStringLiteral("3331112223"), QStringLiteral("10:15:31"), QStringLiteral("Ciao"));
        b.form->VisualizzaLista();
        b.lista().setCurrentIndex(b.m().index(1, 0));
        QVERIFY(b.lista().selectionModel()->hasSelection());
        b.form->VisualizzaLista();
        QVERIFY(!b.lista().selectionModel()->hasSelection());
        QVERIFY(!b.lista().currentIndex().isValid());
    }

    void unMessaggioRegistratoEntraSenzaRicostruireLaLista() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.form->VisualizzaLista();
        b.lista().setCurrentIndex(b.m().index(0, 0));
        QSignalSpy azzerata(&b.m(), &QAbstractItemModel::modelReset);
        QSignalSpy inserite(&b.m(), &QAbstractItemModel::rowsInserted);
        QSignalSpy cambiate(&b.m(), &QAbstractItemModel::dataChanged);
        RicezioneSms::Risultato esito;
        esito.nome = QStringLiteral("Nuovo Cliente");
        esito.data = QStringLiteral("07/12/26");
        esito.orarioPrimo = QStringLiteral("10:16:00");
        esito.testo = QStringLiteral("Secondo");
        esito.id = 77;
        emit b.form->Motore().SmsRegistrato(QStringLiteral("3479999999"), esito);
        QCOMPARE(b.righe(), 2);
        QCOMPARE(b.riga(1)[4], QStringLiteral("Secondo"));
        QCOMPARE(b.form->Modello().Riga(1).id, 77);
        // A part joined to it changes that row alone.
        esito.esito = RicezioneSms::Esito::Unito;
        esito.testo = QStringLiteral("Secondo e terzo");
        emit b.form->Motore().SmsRegistrato(QStringLiteral("3479999999"), esito);
        QCOMPARE(b.righe(), 2);
        QCOMPARE(b.riga(1)[4], QStringLiteral("Secondo e terzo"));
        QCOMPARE(inserite.size(), 1);
        QCOMPARE(cambiate.size(), 1);
        QCOMPARE(cambiate[0][0].toModelIndex().row(), 1);
        QVERIFY(azzerata.isEmpty());
        // The row the user stood on stays current.
        QCOMPARE(b.lista().currentIndex().row(), 0);
    }

    void unArchivioBloccatoNonFermaIlProgrammaENonSvuotaLaLista() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.form->VisualizzaLista();
        ConnessioneEsterna altroProgramma(b.cartella.file(QStringLiteral("archivio.mdb")));
        QCOMPARE(altroProgramma.esegui("BEGIN EXCLUSIVE"), 0);
        CopioneMessaggi copione;
        // The tick of the start-up that fills the list.
        b.form->FaseAvvio = 1;
        b.form->Timer1_Timer();
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(copione.testi()[0].endsWith(QStringLiteral(" / 3218")));
        QCOMPARE(b.righe(), 1);
        // Reported once, not at every tick.
        b.form->Timer1_Timer();
        QCOMPARE(copione.mostrati().size(), 1);
        // Once the other program lets go, the next rebuild works.
        QCOMPARE(altroProgramma.esegui("COMMIT"), 0);
        b.sms(QStringLiteral("3331112223"), QStringLiteral("10:16:30"), QStringLiteral("Secondo"));
        b.form->FaseAvvio = 1;
        b.form->Timer1_Timer();
        QCOMPARE(b.righe(), 2);
    }

    void lAvvisoDiArrivoAnnunciaUnMessaggioAllaVolta() {
        Banco b;
        b.inEsercizio();
        DatiDiProva::Cliente(b.a(), QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        DatiDiProva::SmsInAttesa(b.a(), QStringLiteral("3000000000"), QStringLiteral("06/12/26"),
                                 QStringLiteral("09:00:00"), QStringLiteral("Vecchio"));
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.sms(QStringLiteral("3479999999"), QStringLiteral("10:16:00"), QStringLiteral("Secondo"));
        b.form->VisualizzaLista();
        RegistroSuoni suoni;
        b.daAnnunciare({1, 2});
        b.form->Timer1_Timer();
        FormMsgBox1* avviso = b.form->msgBox1();
        QVERIFY(avviso && avviso->isVisible());
        QCOMPARE(suoni.suonati.size(), 1);
        QVERIFY(suoni.suonati[0].endsWith(QStringLiteral("/notify.wav")));
        QCOMPARE(avviso->Label2->text(), QStringLiteral("3331112222"));
        QCOMPARE(avviso->Label3->text(), QStringLiteral("Mario Rossi"));
        QCOMPARE(avviso->Label4->text(), QStringLiteral("07/12/26"));
        QCOMPARE(avviso->Label5->text(), QStringLiteral("10:15:30"));
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Primo"));
        QCOMPARE(b.form->Annuncio().InAttesa().size(), 1);
        // Nothing more until "Ok".
        b.form->Timer1_Timer();
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Primo"));
        avviso->Command1[0]->click();
        QVERIFY(!avviso->isVisible());
        QVERIFY(b.form->Annuncio().Pronto());
        b.form->Timer1_Timer();
        QCOMPARE(avviso->Label3->text(), QStringLiteral("Nuovo Cliente"));
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Secondo"));
        QVERIFY(b.form->Annuncio().InAttesa().isEmpty());
        // Every message announced comes with its sound.
        QCOMPARE(suoni.suonati.size(), 2);
        avviso->Command1[0]->click();
        // Nothing left: the notice is unloaded.
        b.form->Timer1_Timer();
        QVERIFY(!b.form->msgBox1());
        QVERIFY(!b.form->Annuncio().Pronto());
    }

    void iRecordSparitiPrimaDelTurnoNonSiAttendono() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Unico"));
        b.form->VisualizzaLista();
        RegistroSuoni suoni;
        // Records that left the archive before their turn.
        b.form->Annuncio().Accoda(9998);
        b.daAnnunciare({0});
        b.form->Annuncio().Accoda(9999);
        b.form->Timer1_Timer();
        QVERIFY(b.form->msgBox1());
        QCOMPARE(b.form->msgBox1()->Label6->text(), QStringLiteral("Unico"));
        QCOMPARE(suoni.suonati.size(), 1);
        // Esc on the notice counts as "Ok": the next message may be announced.
        QVERIFY(!b.form->Annuncio().Pronto());
        QTest::keyClick(b.form->msgBox1(), Qt::Key_Escape);
        QVERIFY(!b.form->msgBox1()->isVisible());
        QVERIFY(b.form->Annuncio().Pronto());
        b.form->Timer1_Timer();
        QVERIFY(!b.form->msgBox1());
        QCOMPARE(suoni.suonati.size(), 1);
    }

    void conUnaFinestraModaleApertaNonSiAnnunciaNulla() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.form->VisualizzaLista();
        RegistroSuoni suoni;
        b.form->setEnabled(false);
        b.daAnnunciare({0});
        b.form->Timer1_Timer();
        QVERIFY(!b.form->msgBox1());
        QVERIFY(suoni.suonati.isEmpty());
        QVERIFY(!b.form->Annuncio().Pronto());
        // Its turn is kept for after the window.
        QCOMPARE(b.form->Annuncio().InAttesa().size(), 1);
    }

    void lAvvisoHaLeDidascalieDiProgetto() {
        RegistroSuoni suoni;
        bool visualizza = false;
        FormMsgBox1 avviso(QStringLiteral("/programma"), visualizza);
        QCOMPARE(avviso.windowTitle(), QStringLiteral("Testo SMS ricevuto inviato dal Cliente"));
        QCOMPARE(suoni.suonati, QStringList{QStringLiteral("/programma/notify.wav")});
        QCOMPARE(avviso.Command1[0]->text(), QStringLiteral("Ok"));
        QStringList testi;
        for (auto* l : avviso.findChildren<QLabel*>())
            testi << l->text();
        for (const char* atteso : {"Nuovo SMS Arrivato!", "Lettura Effettuata Con Successo",
                                   "Numero:", "Nome:", "Data:", "Ora:", "Testo:"})
            QVERIFY2(testi.contains(QString::fromUtf8(atteso)), atteso);
    }
};

QTEST_MAIN(TstListaSms)
#include "tst_listasms.moc"
