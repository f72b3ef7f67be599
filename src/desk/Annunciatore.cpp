#include "Annunciatore.h"

#include "FormMsgBox1.h"
#include "LetturaSmsInAttesa.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "printing/ModulofnStampa.h"

#include <QWidget>

Annunciatore::Annunciatore(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                           ModulofnStampa& stampa, QWidget* finestra)
    : QObject(finestra)
    , stato_(stato)
    , impostazioni_(impostazioni)
    , stampa_(stampa)
    , finestra_(finestra) {}

Annunciatore::~Annunciatore() {
    // The notice writes into `pronto_`: it goes first.
    delete avviso_;
}

FormMsgBox1* Annunciatore::Avviso() const {
    return avviso_;
}

void Annunciatore::Accoda(qint64 id) {
    if (id > 0 && !coda_.contains(id))
        coda_.append(id);
}

void Annunciatore::Ritira(qint64 id) {
    coda_.removeAll(id);
}

void Annunciatore::ScansioneConclusa() {
    if (!coda_.isEmpty())
        pronto_ = true;
}

void Annunciatore::Svuota() {
    delete avviso_;
    coda_.clear();
    pronto_ = false;
}

void Annunciatore::Passo() {
    if (!pronto_)
        return;
    // Records gone before their turn are not waited for.
    std::optional<RigaListaSms> riga;
    while (finestra_->isEnabled() && !coda_.isEmpty() &&
           !(riga = LetturaSmsInAttesa::Riga(stato_.archivio, stato_.rubrica, coda_.first())))
        coda_.removeFirst();
    // Nothing is announced over a window open modally.
    if (!riga) {
        delete avviso_;
        pronto_ = false;
        return;
    }
    const qint64 id = coda_.takeFirst();
    pronto_ = false;
    // Each message is announced with its sound: the notice plays it when it loads, and again for
    // every further message it shows.
    if (!avviso_)
        avviso_ = new FormMsgBox1(stato_.cartellaProgramma, pronto_, finestra_);
    else
        avviso_->Suona();
    // The sound lasts seconds with the timers running: the notice may have been unloaded, and
    // the record joined or handled, meanwhile.
    if (!avviso_)
        return;
    riga = LetturaSmsInAttesa::Riga(stato_.archivio, stato_.rubrica, id);
    if (!riga) {
        pronto_ = true;
        return;
    }
    avviso_->Riempi(*riga);
    avviso_->show();
    if (impostazioni_.stampaAutomatica)
        stampa_.StampaSms(riga->numero, riga->nome, riga->data, riga->orario, riga->testo);
}
