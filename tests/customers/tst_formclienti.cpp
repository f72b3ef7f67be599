#include "BancoFormMain.h"
#include "CartellaDiProva.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "PortaSerialeMemoria.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "customers/FormClienti.h"
#include "platform/MsgBox.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QApplication>
#include <QDate>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
struct Cliente {
    QString numero, nome, nascita;
    bool eliminato;
};

// The register over a fresh archive, opened from the menu.
struct Banco {
    CartellaDiProva cartella;
    StatoGlobale stato{cartella.percorso()};
    ImpostazioniAttivita impostazioni;
    PortaSerialeMemoria porta;
    StampanteCorrente stampante{cartella.percorso()};
    ModulofnStampa stampa{stato, impostazioni, porta, stampante};
    std::unique_ptr<FormClienti> form;

    Banco() {
        stato.archivio.ApriArchivio(cartella.percorso());
        stato.Oggi = [] { return QDate(2026, 12, 7); };
    }
    Archivio& a() { return stato.archivio; }
    FormClienti& apri() {
        form = std::make_unique<FormClienti>(stato, stampa);
        return *form;
    }
    // Types a customer into the editor and confirms it.
    void conferma(const QString& numero, const QString& nome, const QString& giorno,
                  const QString& mese, const QString& anno) {
        if (!form->inInserimento)
            form->Command1_Click(0);
        form->ImpostaTesto1(0, numero);
        form->ImpostaTesto1(1, nome);
        form->ImpostaTesto1(21, giorno);
        form->ImpostaTesto1(22, mese);
        form->ImpostaTesto1(23, anno);
        form->Command1_Click(0);
    }
    QList<Cliente> clienti() {
        QList<Cliente> r;
        Recordset& rs = a().ApriTabella(Tabella::Clienti);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            r.append({rs.Testo(Campo::T1Numero), rs.Testo(Campo::T1Nome),
                      rs.Testo(Campo::T1Nascita), rs.Booleano(Campo::T1Eliminato)});
        return r;
    }
    QTreeWidgetItem* riga(const QString& numero) {
        for (int i = 0; i < form->lstADD->topLevelItemCount(); ++i)
            if (form->lstADD->topLevelItem(i)->text(1) == numero)
                return form->lstADD->topLevelItem(i);
        return nullptr;
    }
    void seleziona(const QString& numero) {
        QTreeWidgetItem* r = riga(numero);
        form->lstADD->setCurrentItem(r);
        form->lstADD_ItemClick(r);
    }
};

const QString kM4 = QStringLiteral("E' stata inserita una DATA DI NASCITA non valida.");
} // namespace

class TstFormClienti : public QObject {
    Q_OBJECT
private slots:
    // The confirmation's checks in their order, and the dates they let through.
    void aggiuntaConISuoiControlli() {
        Banco b;
        b.apri();
        const QString prossimoAnno = QStringLiteral("2027");
        CopioneMessaggi copione;
        b.conferma(QString(), QStringLiteral("Mario"), {}, {}, {});
        b.conferma(QStringLiteral("33a"), QStringLiteral("Mario"), QStringLiteral("40"), {}, {});
        b.conferma(QStringLiteral("333"), QStringLiteral("Mario"), QStringLiteral("5"),
                   QStringLiteral("3"), {});
        b.conferma(QStringLiteral("333"), QStringLiteral("Mario"), QStringLiteral("5"),
                   QStringLiteral("3"), prossimoAnno);
        b.conferma(QStringLiteral("333"), QStringLiteral("Mario"), QStringLiteral("5"),
                   QStringLiteral("3"), QStringLiteral("999")); // sorts after the year as text
        QCOMPARE(copione.testi(),
                 (QStringList{QStringLiteral("I dati non sono corretti o mancanti. Inserire i dati "
                                             "e riprovare."),
                              QStringLiteral("Nel campo NUMERO Si accettano solo valori di tipo "
                                             "numerico"),
                              kM4, kM4, kM4, kM4}));
        QVERIFY(b.clienti().isEmpty());

        b.conferma(QStringLiteral("333"), QStringLiteral("Mario"), QStringLiteral("5"),
                   QStringLiteral("3"), QStringLiteral("1970"));
        b.conferma(QStringLiteral("444"), QStringLiteral("Anna"), {}, {}, {});
        b.conferma(QStringLiteral("555.0"), QStringLiteral("Zeta"), QStringLiteral("05"),
                   QStringLiteral("12"), QStringLiteral("0"));
        b.conferma(QStringLiteral("444"), QStringLiteral("Doppio"), {}, {}, {});
        QCOMPARE(copione.testi().last(), QStringLiteral("Elemento già presente"));
        const QList<Cliente> c = b.clienti();
        QCOMPARE(c.size(), 3);
        QCOMPARE(c[0].nascita, QStringLiteral("05/03/1970"));
        QCOMPARE(c[1].nascita, QString());
        QCOMPARE(c[2].nascita, QStringLiteral("05/12/0"));
        QCOMPARE(b.form->lstADD->topLevelItemCount(), 3);
        // A refused confirmation leaves the editor open on what was typed.
        QCOMPARE(b.form->Command1[0]->text(), QStringLiteral("Conferma"));
        QCOMPARE(b.form->Testo1(1), QStringLiteral("Doppio"));
    }

    void modificaDisabilitazioneERiabilitazione() {
        Banco b;
        DatiDiProva::Cliente(b.a(), QStringLiteral("333"), QStringLiteral("Mario"));
        DatiDiProva::Cliente(b.a(), QStringLiteral("444"), QStringLiteral("Anna"));
        b.apri();

        // A number changed to one another customer has: the archive refuses it.
        CopioneMessaggi copione;
        b.seleziona(QStringLiteral("444"));
        b.form->ImpostaTesto1(0, QStringLiteral("333"));
        b.form->Command1_Click(2);
        QCOMPARE(copione.mostrati().size(), 2);
        QVERIFY(copione.testi()[0].endsWith(QStringLiteral("/3022")));
        QCOMPARE(copione.mostrati()[0].style, 48);
        QVERIFY(copione.testi()[1].startsWith(QStringLiteral("Operazione annullata.")));
        QVERIFY(!b.form->FrAggiungiModifica->isVisibleTo(b.form.get()));
        QCOMPARE(b.clienti()[1].numero, QStringLiteral("444"));

        // Disabling answered No still refreshes and closes the editor; the customer is looked
        // up again although the timer left another table current.
        b.seleziona(QStringLiteral("444"));
        b.a().ApriTabella(Tabella::SMS);
        copione.Rispondi(7);
        b.form->Command1_Click(1);
        QCOMPARE(copione.testi().last(), QStringLiteral("Disabilitare il Cliente selezionato?"));
        QVERIFY(!b.clienti()[1].eliminato);
        QCOMPARE(b.form->lstADD->topLevelItemCount(), 2);
        QVERIFY(!b.form->FrAggiungiModifica->isVisibleTo(b.form.get()));

        b.seleziona(QStringLiteral("444"));
        b.a().ApriTabella(Tabella::SMS);
        copione.Rispondi(6);
        b.form->Command1_Click(1);
        QVERIFY(b.clienti()[1].eliminato);
        QCOMPARE(b.form->lstADD->topLevelItemCount(), 1);

        // In the view of disabled customers, a change enables the customer again.
        b.form->Command1_Click(5);
        QCOMPARE(b.form->Command1[1]->text(), QStringLiteral("Attiva Cliente"));
        QCOMPARE(b.form->lstADD->topLevelItemCount(), 1);
        b.seleziona(QStringLiteral("444"));
        b.form->ImpostaTesto1(1, QStringLiteral("Anna Neri"));
        b.a().ApriTabella(Tabella::SMS);
        b.form->Command1_Click(2);
        QCOMPARE(b.clienti()[1].nome, QStringLiteral("Anna Neri"));
        QVERIFY(!b.clienti()[1].eliminato);
        QCOMPARE(b.form->lstADD->topLevelItemCount(), 0);
    }

    // The main timer stores orders while the question is open (here an order of the very
    // customer asked about, which walks the register): the answer still applies to that
    // customer, both ways.
    void disabilitaERiabilitaMentreArrivaUnOrdine() {
        BancoFormMain b;
        b.collegaModem();
        DatiDiProva::Cliente(b.archivioDiretto(), QStringLiteral("3331112222"),
                             QStringLiteral("Mario"));
        DatiDiProva::Cliente(b.archivioDiretto(), QStringLiteral("3334445555"),
                             QStringLiteral("Anna"));
        b.avviaFinoAllaLista();
        FormClienti clienti(*b.stato, b.form->Stampa());
        int slot = 0;
        QStringList domande;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            if (m.proprietario != &clienti) // the modem's own boxes
                return int(Risposta::Ok);
            domande << m.prompt;
            if (!m.prompt.endsWith(QStringLiteral("il Cliente selezionato?")))
                return int(Risposta::Ok);
            ++slot;
            b.modem.sms(slot, QStringLiteral("+393331112222"),
                        QStringLiteral("26/12/07,10:1%1:00+04").arg(slot),
                        QStringLiteral("Ordine %1").arg(slot));
            const int n = b.form->ListaSMS->model()->rowCount();
            [&] {
                QVERIFY(b.tickFinche([&] { return b.form->ListaSMS->model()->rowCount() > n; },
                                     400) >= 0);
            }();
            return int(Risposta::Si);
        });
        const auto stato = [&](const QString& numero) {
            Recordset& rs = b.stato->archivio.ApriTabella(Tabella::Clienti);
            rs.FindFirst(Criterio::Uguale(Campo::T1Numero, numero));
            return rs.Booleano(Campo::T1Eliminato);
        };
        const auto scegli = [&](const QString& numero) {
            for (int i = 0; i < clienti.lstADD->topLevelItemCount(); ++i) {
                QTreeWidgetItem* r = clienti.lstADD->topLevelItem(i);
                if (r->text(1) == numero) {
                    clienti.lstADD->setCurrentItem(r);
                    clienti.lstADD_ItemClick(r);
                }
            }
        };

        scegli(QStringLiteral("3331112222"));
        clienti.Command1_Click(1);
        QVERIFY(stato(QStringLiteral("3331112222")));
        QVERIFY(!stato(QStringLiteral("3334445555")));
        clienti.Command1_Click(5); // the disabled ones
        scegli(QStringLiteral("3331112222"));
        clienti.Command1_Click(1);
        QVERIFY(!stato(QStringLiteral("3331112222")));
        MsgBoxHook::Rimuovi();
        QCOMPARE(domande, (QStringList{QStringLiteral("Disabilitare il Cliente selezionato?"),
                                       QStringLiteral("Riabilitare il Cliente selezionato?")}));
        QCOMPARE(b.form->Modello().Conteggio(), 2);
    }

    void leCaselleNumericheScartanoIlResto() {
        Banco b;
        b.apri();
        b.form->Command1_Click(0);
        QTest::keyClicks(b.form->Text1[0], QStringLiteral("+39 333.a1"));
        QCOMPARE(b.form->Testo1(0), QStringLiteral("39333.1"));
        QTest::keyClicks(b.form->Text1[23], QStringLiteral("19x705"));
        QCOMPARE(b.form->Testo1(23), QStringLiteral("1970"));
        QTest::keyClicks(b.form->Text1[1], QStringLiteral("Mario R."));
        QCOMPARE(b.form->Testo1(1), QStringLiteral("Mario R."));
        QCOMPARE(b.form->Text1[1]->accessibleName(), QStringLiteral("Nome"));
    }

    // From the menu, the real modal run: the register opens usable over the disabled main
    // window, "Esci" closes it, and the main window is usable again.
    void dalMenuSiApreESiChiudeDavvero() {
        BancoFormMain b;
        b.stato->archivio.ApriArchivio(b.cartella.percorso());
        b.form->show();
        b.form->setEnabled(true);
        bool aperta = false, principaleDisabilitata = false;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* clienti = qobject_cast<FormClienti*>(QApplication::activeModalWidget());
            if (!clienti)
                return;
            aperta = clienti->isEnabled() && clienti->Command1[9]->isEnabled();
            principaleDisabilitata = !b.form->isEnabled();
            QTest::mouseClick(clienti->Command1[9], Qt::LeftButton);
        });
        b.form->CmClienti->trigger();
        QVERIFY(aperta);
        QVERIFY(principaleDisabilitata);
        QVERIFY(b.form->isEnabled());
    }
};

QTEST_MAIN(TstFormClienti)
#include "tst_formclienti.moc"
