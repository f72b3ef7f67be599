#include "BancoFormMain.h"
#include "CopioneMessaggi.h"
#include "ModaleRimasta.h"
#include "app/FormMain.h"
#include "platform/ErroreRuntime.h"
#include "printing/StampanteCorrente.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The controls a screen reader announces by name: every visible input of the window.
QStringList senzaNome(QWidget* finestra) {
    QStringList mancanti;
    for (QWidget* c : finestra->findChildren<QWidget*>()) {
        const bool controllo = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                               qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractItemView*>(c);
        // A list's header and a combo box's popup speak through their owner.
        if (!controllo || !c->isVisibleTo(finestra) || qobject_cast<QHeaderView*>(c) ||
            qobject_cast<QComboBox*>(c->parent()))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            mancanti << c->metaObject()->className() + QStringLiteral(" ") + c->objectName();
    }
    return mancanti;
}

// The button of the open window that closes it as the user would.
QAbstractButton* pulsanteDiUscita(QWidget* finestra, const QString& testo) {
    if (auto* scatola = finestra->findChild<QDialogButtonBox*>())
        return scatola->button(QDialogButtonBox::Cancel);
    for (auto* p : finestra->findChildren<QAbstractButton*>())
        if (p->text() == testo && p->isVisible())
            return p;
    return nullptr;
}

// The tree of the menu bar as captions, "-" for a separator, submenus indented.
QStringList albero(const QList<QAction*>& voci, const QString& rientro = {}) {
    QStringList righe;
    for (QAction* v : voci) {
        righe << rientro + (v->isSeparator() ? QStringLiteral("-") : v->text());
        if (v->menu())
            righe << albero(v->menu()->actions(), rientro + QStringLiteral("  "));
    }
    return righe;
}

} // namespace

class TstMenuPrincipale : public QObject {
    Q_OBJECT

private slots:
    void ilMenuECompleto() {
        BancoFormMain b;
        QCOMPARE(albero(b.form->menuBar()->actions()),
                 (QStringList{"File", "  Impostazioni", "    Imposta Stampante",
                              "    Configurazione Attività", "    Imposta Gestore Sim",
                              "    Backup Archivio", "  Ripristina Archivio…", "  -", "  Esci",
                              "Gesione Clienti", "Gestione SMS", "InvioSms", "?", "  Help",
                              "  Help di Stampa", "  Informazioni sul Prodotto"}));
        QVERIFY2(senzaNome(b.form.get()).isEmpty(), qPrintable(senzaNome(b.form.get()).join(", ")));
    }

    // Each entry runs its window for real over the disabled main window, whose timer keeps
    // ticking; the window is usable, names every control, and closing it gives the main window
    // back.
    void ogniVoceApreLaSuaFinestra_data() {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("uscita");
        QTest::newRow("stampante") << "CmStampa"
                                   << "Imposta Stampante"
                                   << "";
        QTest::newRow("attività") << "CmConfiguraAttivita"
                                  << "Configurazione Attività"
                                  << "Esci";
        QTest::newRow("gestore") << "CmImpostaGestoreSim"
                                 << "Dati Gestore Sim Per Credito"
                                 << "Esci";
        QTest::newRow("copie") << "CmBackup"
                               << "Backup Archivio"
                               << "Esci";
        QTest::newRow("ripristino") << "CmRipristina"
                                    << "Ripristina Archivio"
                                    << "Esci";
        QTest::newRow("clienti") << "CmClienti"
                                 << "Gestione Clienti"
                                 << "Esci";
        QTest::newRow("archivio") << "CmSMS"
                                  << "Gestione SMS"
                                  << "Esci";
        QTest::newRow("campagna") << "CmInvioSms"
                                  << "Invia"
                                  << "Esci";
        QTest::newRow("informazioni") << "CmInfo"
                                      << "Informazioni sul Prodotto"
                                      << "OK";
    }
    void ogniVoceApreLaSuaFinestra() {
        QFETCH(QString, voce);
        QFETCH(QString, titolo);
        QFETCH(QString, uscita);
        BancoFormMain b;
        b.collegaModem();
        b.avviaFinoAllaLista();
        CopioneMessaggi copione;
        QString visto;
        QStringList anonimi;
        bool principaleBloccata = false;
        bool finestraAttiva = false;
        int tickDurante = 0;
        QTimer::singleShot(0, [&] {
            QWidget* finestra = QApplication::activeModalWidget();
            QVERIFY(finestra);
            visto = finestra->windowTitle();
            principaleBloccata = !b.form->isEnabled();
            finestraAttiva = finestra->isEnabled();
            anonimi = senzaNome(finestra);
            // The main timer goes on under the window: two of its ticks come while it is open.
            QSignalSpy tick(&b.form->Timer1, &QTimer::timeout);
            QTRY_VERIFY_WITH_TIMEOUT(tick.count() >= 2, 5000);
            tickDurante = int(tick.count());
            QAbstractButton* esci = pulsanteDiUscita(finestra, uscita);
            QVERIFY(esci);
            QTest::mouseClick(esci, Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get());
        b.form->findChild<QAction*>(voce)->trigger();
        QCOMPARE(visto, titolo);
        QVERIFY(principaleBloccata);
        QVERIFY(finestraAttiva);
        QVERIFY2(anonimi.isEmpty(), qPrintable(anonimi.join(", ")));
        QVERIFY2(tickDurante >= 2, qPrintable(QString::number(tickDurante)));
        QVERIFY(b.form->isEnabled());
        QVERIFY2(copione.mostrati().isEmpty(), qPrintable(copione.testi().join(" | ")));
    }

    // The printer dialog's choice is where the next page report goes; a choice that cannot be
    // used is told as description and number, and the former choice stays.
    void laStampanteSceltaRiceveLeStampe() {
        BancoFormMain b;
        b.avviaFinoAllaLista();
        CopioneMessaggi copione;
        const QString file = b.cartella.file(QStringLiteral("scelta.pdf"));
        QTimer::singleShot(0, [&] {
            auto* dialogo = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialogo);
            auto* nome = dialogo->findChild<QLineEdit*>(QStringLiteral("filename"));
            QVERIFY(nome && nome->isEnabled());
            nome->setText(file);
            QTest::mouseClick(dialogo->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get());
        b.form->CmStampa->trigger();
        QVERIFY(copione.mostrati().isEmpty());
        QCOMPARE(b.form->Stampante().Prepara(QStringLiteral("Lista Clienti"))->outputFileName(),
                 file);

        QPrinter senzaFile(QPrinter::HighResolution);
        senzaFile.setOutputFormat(QPrinter::PdfFormat);
        senzaFile.setOutputFileName(QString());
        try {
            b.form->Stampante().Imposta(senzaFile);
            QFAIL("accettata una stampa su file senza file");
        } catch (const ErroreRuntime& e) {
            QCOMPARE(e.Number(), int(ErroreRuntime::ErroreStampante));
        }
        QCOMPARE(b.form->Stampante().Descrizione(), file);
    }
};

QTEST_MAIN(TstMenuPrincipale)
#include "tst_menuprincipale.moc"
