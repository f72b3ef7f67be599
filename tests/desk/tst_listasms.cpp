#include "BancoListaSms.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "RegistroSuoni.h"
#include "app/FormMain.h"
#include "archive/StatoGlobale.h"
#include "desk/FormMsgBox1.h"
#include "desk/LetturaSmsInAttesa.h"

#include <QTest>
#include <memory>

namespace {
const QColor kBlu(0, 0, 255);
const QColor kRosso(255, 0, 0);
} // namespace

// The pending list of a main window over a fresh archive.
struct Banco : BancoListaSms {
    QTreeWidget& lista() { return *form->ListaSMS; }
    QStringList riga(int i) {
        QStringList celle;
        for (int c = 0; c < 5; ++c)
            celle << lista().topLevelItem(i)->text(c);
        return celle;
    }
};

class TstListaSms : public QObject {
    Q_OBJECT
private slots:
    void cinqueColonneNellOrdineDellaTabella() {
        Banco b;
        QCOMPARE(b.lista().columnCount(), 5);
        QCOMPARE(b.lista().headerItem()->text(4), QStringLiteral("Testo del SMS Ricevuto"));
        DatiDiProva::Cliente(b.a(), QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        DatiDiProva::SmsInAttesa(b.a(), QStringLiteral("3471234567"), QStringLiteral("06/12/26"),
                                 QStringLiteral("21:00:01"), QStringLiteral("Chi sono?"));
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"),
              QStringLiteral("Due margherite"));
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:20:00"),
              QStringLiteral("e una birra"));
        b.form->VisualizzaLista();
        QCOMPARE(b.lista().topLevelItemCount(), 3);
        QCOMPARE(b.riga(0),
                 (QStringList{"3471234567", "Nuovo Cliente", "06/12/26", "21:00:01", "Chi sono?"}));
        QCOMPARE(b.riga(1), (QStringList{"3331112222", "Mario Rossi", "07/12/26", "10:15:30",
                                         "Due margherite"}));
        QCOMPARE(b.riga(2),
                 (QStringList{"3331112222", "Mario Rossi", "07/12/26", "10:20:00", "e una birra"}));
        // A rebuild starts from scratch: no row is doubled.
        b.form->VisualizzaLista();
        QCOMPARE(b.lista().topLevelItemCount(), 3);
    }

    void tabelleVuote() {
        Banco b;
        b.form->VisualizzaLista();
        QCOMPARE(b.lista().topLevelItemCount(), 0);
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
        const QTreeWidgetItem* gestita = b.lista().topLevelItem(0);
        QCOMPARE(gestita->foreground(0).color(), kBlu);
        for (int c = 1; c < 5; ++c)
            QCOMPARE(gestita->foreground(c).color(), kRosso);
        const QTreeWidgetItem* normale = b.lista().topLevelItem(1);
        QCOMPARE(normale->foreground(0).style(), Qt::NoBrush);
        QCOMPARE(normale->foreground(1).style(), Qt::NoBrush);
        // The row after a handled message gets its name like any other.
        QCOMPARE(normale->text(1), QStringLiteral("Mario Rossi"));
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
        b.lista().setCurrentItem(b.lista().topLevelItem(1));
        QVERIFY(!b.lista().selectedItems().isEmpty());
        b.form->VisualizzaLista();
        QVERIFY(b.lista().selectedItems().isEmpty());
        QVERIFY(!b.lista().currentItem());
    }

    void aggiornaListaSmsRicostruisceAlTickSuccessivo() {
        Banco b;
        b.inEsercizio();
        b.form->VisualizzaLista();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Nuovo"));
        b.form->Timer1_Timer();
        QCOMPARE(b.lista().topLevelItemCount(), 0);
        b.stato.AggiornaListaSms = true;
        b.form->Timer1_Timer();
        QCOMPARE(b.lista().topLevelItemCount(), 1);
        QVERIFY(!b.stato.AggiornaListaSms);
    }

    void unArchivioBloccatoNonFermaIlProgrammaENonSvuotaLaLista() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.form->VisualizzaLista();
        ConnessioneEsterna altroProgramma(b.cartella.file(QStringLiteral("archivio.mdb")));
        QCOMPARE(altroProgramma.esegui("BEGIN EXCLUSIVE"), 0);
        CopioneMessaggi copione;
        b.stato.AggiornaListaSms = true;
        b.form->Timer1_Timer();
        QCOMPARE(copione.mostrati().size(), 1);
        QVERIFY(copione.testi()[0].endsWith(QStringLiteral(" / 3218")));
        QCOMPARE(b.lista().topLevelItemCount(), 1);
        // Reported once, not at every tick.
        b.form->Timer1_Timer();
        QCOMPARE(copione.mostrati().size(), 1);
        // Once the other program lets go, the next rebuild works.
        QCOMPARE(altroProgramma.esegui("COMMIT"), 0);
        b.sms(QStringLiteral("3331112223"), QStringLiteral("10:16:30"), QStringLiteral("Secondo"));
        b.stato.AggiornaListaSms = true;
        b.form->Timer1_Timer();
        QCOMPARE(b.lista().topLevelItemCount(), 2);
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
        b.form->ContaSMSArrivati = 2;
        b.form->VisualizzaSMSArrivati = true;
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
        QCOMPARE(b.form->ContaSMSArrivati, 1);
        // Nothing more until "Ok".
        b.form->Timer1_Timer();
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Primo"));
        avviso->Command1[0]->click();
        QVERIFY(!avviso->isVisible());
        QVERIFY(b.form->VisualizzaSMSArrivati);
        b.form->Timer1_Timer();
        QCOMPARE(avviso->Label3->text(), QStringLiteral("Nuovo Cliente"));
        QCOMPARE(avviso->Label6->text(), QStringLiteral("Secondo"));
        QCOMPARE(b.form->ContaSMSArrivati, 0);
        // Every message announced comes with its sound.
        QCOMPARE(suoni.suonati.size(), 2);
        avviso->Command1[0]->click();
        // Nothing left: the notice is unloaded.
        b.form->Timer1_Timer();
        QVERIFY(!b.form->msgBox1());
        QVERIFY(!b.form->VisualizzaSMSArrivati);
    }

    void unConteggioOltreLeRigheVieneRiportatoAlleRighe() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Unico"));
        b.form->VisualizzaLista();
        RegistroSuoni suoni;
        b.form->ContaSMSArrivati = 3; // rows left the list before their turn
        b.form->VisualizzaSMSArrivati = true;
        b.form->Timer1_Timer();
        QVERIFY(b.form->msgBox1());
        QCOMPARE(b.form->msgBox1()->Label6->text(), QStringLiteral("Unico"));
        QCOMPARE(b.form->ContaSMSArrivati, 0);
        // Esc on the notice counts as "Ok": the next message may be announced.
        b.form->VisualizzaSMSArrivati = false;
        QTest::keyClick(b.form->msgBox1(), Qt::Key_Escape);
        QVERIFY(!b.form->msgBox1()->isVisible());
        QVERIFY(b.form->VisualizzaSMSArrivati);
    }

    void conUnaFinestraModaleApertaNonSiAnnunciaNulla() {
        Banco b;
        b.inEsercizio();
        b.sms(QStringLiteral("3331112222"), QStringLiteral("10:15:30"), QStringLiteral("Primo"));
        b.form->VisualizzaLista();
        RegistroSuoni suoni;
        b.form->setEnabled(false);
        b.form->ContaSMSArrivati = 1;
        b.form->VisualizzaSMSArrivati = true;
        b.form->Timer1_Timer();
        QVERIFY(!b.form->msgBox1());
        QVERIFY(suoni.suonati.isEmpty());
        QVERIFY(!b.form->VisualizzaSMSArrivati);
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
