#include "FormRipristino.h"

#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "backup/CartellaConTempo.h"
#include "backup/ConservazioneCopie.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/RipristinoArchivio.h"
#include "backup/VerificaCopia.h"
#include "platform/Accessibile.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"
#include "platform/RigaPulsanti.h"

#include <QDir>
#include <QEventLoop>
#include <QHeaderView>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <future>

namespace {
const QString kTitolo = QStringLiteral("Ripristina Archivio");
// The orders listed one by one in the confirmation; the rest are counted.
constexpr int kOrdiniElencati = 15;
} // namespace

FormRipristino::FormRipristino(StatoGlobale& stato, BackupAutomatico& backup, QWidget* parent)
    : QDialog(parent)
    , stato_(stato)
    , backup_(backup)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormRipristino"));
    setWindowTitle(kTitolo);
    costruisciControlli();
    elenca();
}

void FormRipristino::costruisciControlli() {
    auto* colonna = new QVBoxLayout(this);
    auto* didascalia = new QLabel(QStringLiteral("Copie dell'archivio trovate:"), this);
    colonna->addWidget(didascalia);
    ListaCopie = new QTreeWidget(this);
    ListaCopie->setObjectName(QStringLiteral("ListaCopie"));
    ListaCopie->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Dimensione"),
                                 QStringLiteral("Cartella"), QStringLiteral("Installazione")});
    ListaCopie->setRootIsDecorated(false);
    ListaCopie->setMinimumWidth(560);
    ListaCopie->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Accessibile::Didascalia(didascalia, ListaCopie);
    colonna->addWidget(ListaCopie);

    LblStato = new QLabel(this);
    LblStato->setObjectName(QStringLiteral("LblStato"));
    LblStato->setWordWrap(true);
    colonna->addWidget(LblStato);

    colonna->addLayout(
        RigaPulsanti(this, Command1, {QStringLiteral("Ripristina"), QStringLiteral("Esci")},
                     QStringLiteral("Command1"),
                     [this](int i) { guardia_.Esegui([&] { Command1_Click(i); }); }));
    connect(ListaCopie, &QTreeWidget::itemActivated, this,
            guardia_.Proteggi([this] { Command1_Click(0); }));
    Accessibile::NominaDaTesto(this);
    Accessibile::Valore(LblStato);
}

void FormRipristino::elenca() {
    // This installation's copies, then those another shop's program left in a second folder
    // they share (one folder each, and loose copies of older programs): shown, never thinned.
    const ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(stato_.cartellaProgramma);
    const QStringList nostre = impostazioni.Cartelle(stato_.cartellaProgramma);
    const QString seconda = impostazioni.secondaCartella;
    struct Voce {
        ConservazioneCopie::Copia copia;
        QString installazione;
    };
    const auto trovate = CartellaConTempo::Esegui([nostre, seconda] {
        QList<Voce> voci;
        for (const QString& cartella : nostre)
            for (const ConservazioneCopie::Copia& c : ConservazioneCopie::Elenco(cartella))
                voci.append({c, QStringLiteral("questa")});
        if (seconda.isEmpty())
            return voci;
        QStringList altre{seconda};
        for (const QFileInfo& f : QDir(seconda).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (!nostre.contains(f.filePath()))
                altre << f.filePath();
        for (const QString& cartella : altre)
            for (const ConservazioneCopie::Copia& c : ConservazioneCopie::Elenco(cartella))
                voci.append({c, cartella == seconda ? QStringLiteral("non indicata")
                                                    : QFileInfo(cartella).fileName()});
        return voci;
    });
    QList<Voce> copie = trovate.value_or(QList<Voce>());
    std::stable_sort(copie.begin(), copie.end(),
                     [](const Voce& a, const Voce& b) { return a.copia.quando > b.copia.quando; });
    ListaCopie->clear();
    for (const Voce& v : copie) {
        const ConservazioneCopie::Copia& c = v.copia;
        auto* riga = new QTreeWidgetItem(QStringList{
            c.quando.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
            ConservazioneCopie::Dimensione(c.dimensione),
            QDir::toNativeSeparators(QFileInfo(c.percorso).absolutePath()), v.installazione});
        riga->setData(0, Qt::UserRole, c.percorso);
        ListaCopie->addTopLevelItem(riga);
    }
    if (ListaCopie->topLevelItemCount() > 0)
        ListaCopie->setCurrentItem(ListaCopie->topLevelItem(0));
    Command1[0]->setEnabled(!copie.isEmpty());
    Accessibile::Testo(LblStato, copie.isEmpty()
                                     ? QStringLiteral("Nessuna copia trovata.")
                                     : QStringLiteral("Scegliere la copia da ripristinare."));
}

void FormRipristino::Command1_Click(int index) {
    if (occupata_)
        return;
    if (index == 1) {
        accept();
        return;
    }
    const QTreeWidgetItem* riga = ListaCopie->currentItem();
    if (!riga) {
        MsgBox(QStringLiteral("Scegliere prima la copia da ripristinare."), Stile::Esclamazione,
               kTitolo, this);
        return;
    }
    // The file, not the row: the list may be drawn again before the answers come.
    ripristina(riga->data(0, Qt::UserRole).toString());
}

void FormRipristino::reject() {
    // Not while a copy is checked or put in place: the window waits for it.
    if (!occupata_)
        QDialog::reject();
}

bool FormRipristino::verifica(const QString& copia, QString* riassunto) {
    Accessibile::Testo(LblStato, QStringLiteral("Verifica della copia in corso…"));
    std::future<VerificaCopia::Esito> lavoro =
        std::async(std::launch::async, [copia] { return VerificaCopia::Verifica(copia); });
    QEventLoop attesa;
    QTimer controllo;
    connect(&controllo, &QTimer::timeout, &attesa, [&] {
        if (lavoro.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            attesa.quit();
    });
    controllo.start(20);
    attesa.exec();
    const VerificaCopia::Esito esito = lavoro.get();
    if (!esito.valida) {
        Accessibile::Testo(LblStato, esito.messaggio);
        MsgBox(esito.messaggio + QStringLiteral("\nIl ripristino non è stato eseguito."),
               Stile::Critico, kTitolo, this);
        return false;
    }
    *riassunto = VerificaCopia::Riassunto(esito.righe);
    Accessibile::Testo(LblStato, QStringLiteral("Copia valida: %1.").arg(*riassunto));
    return true;
}

QStringList FormRipristino::ordiniMancanti(const QString& copia) {
    QStringList righe;
    for (const RipristinoArchivio::Ordine& o :
         RipristinoArchivio::OrdiniMancanti(stato_.archivio, copia))
        righe << QStringLiteral("%1  %2 %3  %4")
                     .arg(o.numero, o.data, o.orario, o.testo.simplified().left(60));
    return righe;
}

QString FormRipristino::TestoConferma(const QString& copia, const QString& riassunto,
                                      const QStringList& ordiniMancanti) {
    QString testo = QStringLiteral("Ripristinare la copia \"%1\" (%2)?\n\nL'archivio in uso "
                                   "non viene cancellato: resta nella cartella del programma "
                                   "con la data e l'ora di oggi nel nome.")
                        .arg(QDir::toNativeSeparators(copia), riassunto);
    if (ordiniMancanti.isEmpty())
        return testo;
    testo += QStringLiteral("\n\nATTENZIONE: questi %1 SMS in attesa sono nell'archivio in uso "
                            "ma non nella copia, e dopo il ripristino non saranno più nella "
                            "lista:\n")
                 .arg(ordiniMancanti.size());
    testo += ordiniMancanti.mid(0, kOrdiniElencati).join(QLatin1Char('\n'));
    if (ordiniMancanti.size() > kOrdiniElencati)
        testo += QStringLiteral("\n… e altri %1.").arg(ordiniMancanti.size() - kOrdiniElencati);
    return testo;
}

void FormRipristino::ripristina(const QString& copia) {
    occupata_ = true;
    const auto libera = qScopeGuard([this] {
        occupata_ = false;
        for (QPushButton* b : Command1)
            b->setEnabled(true);
    });
    for (QPushButton* b : Command1)
        b->setEnabled(false);

    QString riassunto;
    if (!verifica(copia, &riassunto))
        return;
    // Orders keep arriving while the question is open: the list is taken again after the
    // answer, and the user is asked again when it grew.
    QStringList mancanti = ordiniMancanti(copia);
    for (;;) {
        const int risposta = MsgBox(TestoConferma(copia, riassunto, mancanti),
                                    Stile::SiNo + Stile::Esclamazione, kTitolo, this);
        if (risposta != Risposta::Si) {
            Accessibile::Testo(LblStato, QStringLiteral("Ripristino annullato."));
            return;
        }
        const QStringList adesso = ordiniMancanti(copia);
        if (adesso.size() <= mancanti.size())
            break;
        mancanti = adesso;
    }

    // The copy under way reads the archive that is about to go.
    backup_.Sospendi();
    const auto riprendi = qScopeGuard([this] { backup_.Avvia(); });
    QString accantonato;
    try {
        accantonato = RipristinoArchivio::Sostituisci(stato_.archivio, stato_.cartellaProgramma,
                                                      copia, Adesso());
    } catch (const ErroreRuntime& e) {
        // The archive in use is open again as it was, unless even that failed.
        if (stato_.archivio.Caricato())
            emit ArchivioSostituito();
        Accessibile::Testo(LblStato, e.Description());
        MsgBox(e.Description(), Stile::Critico, kTitolo, this);
        return;
    }
    emit ArchivioSostituito();
    Accessibile::Testo(LblStato, QStringLiteral("Archivio ripristinato."));
    MsgBox(QStringLiteral("Archivio ripristinato dalla copia \"%1\".\nL'archivio sostituito è "
                          "conservato in \"%2\".")
               .arg(QDir::toNativeSeparators(copia), QDir::toNativeSeparators(accantonato)),
           Stile::Informazione, kTitolo, this);
    accept();
}
