#include "BancoPty.h"

#include "DatiDiProva.h"
#include "platform/PortaSerialeQt.h"

#include <QDir>
#include <QElapsedTimer>
#include <thread>

BancoPty::BancoPty(int com, bool conDtr, const std::function<void(Archivio&)>& preparaArchivio) {
    {
        StatoGlobale iniziale(cartella.percorso());
        iniziale.archivio.ApriArchivio(cartella.percorso());
        DatiDiProva::Gestore(iniziale.archivio, QStringLiteral("TIM"), QStringLiteral("*123#"),
                             true);
        DatiDiProva::Impostazioni(iniziale.archivio, false, conDtr, false, QStringLiteral("2"));
        if (preparaArchivio)
            preparaArchivio(iniziale.archivio);
    }
    QString errore;
    const QString collegamento =
        QDir(cartella.percorso()).filePath(QStringLiteral("porte/COM%1").arg(com));
    if (!sim.apri(collegamento, &errore))
        qFatal("simulatore: %s", qPrintable(errore));
    stato = std::make_unique<StatoGlobale>(cartella.percorso());
    auto p = std::make_unique<PortaSerialeQt>(cartella.percorso());
    porta = p.get();
    form = std::make_unique<FormMain>(*stato, std::move(p),
                                      std::make_unique<PortaSerialeQt>(cartella.percorso()));
}

void BancoPty::passa() {
    sim.attendiByte(porta->byteScritti(), 2000);
    sim.servi();
    QElapsedTimer attesa;
    attesa.start();
    while (porta->PortOpen() && porta->byteRicevuti() < sim.byteInviati() &&
           attesa.elapsed() < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void BancoPty::tick(int n) {
    for (int i = 0; i < n && !form->Scaricata(); ++i) {
        passa();
        form->Timer1_Timer();
        if (statiPorta.value(statiPorta.size() - 1) != form->LbLPortaModem->text())
            statiPorta << form->LbLPortaModem->text();
    }
}

bool BancoPty::finche(const std::function<bool()>& condizione, int massimo) {
    for (int i = 0; i < massimo && !condizione(); ++i)
        tick();
    return condizione();
}

bool BancoPty::abilitato() const {
    return form->LblPinCode->text() == QLatin1String("GSM ABILITATO");
}

bool BancoPty::avvia() {
    if (!form->Avvia())
        return false;
    tick(21);
    return true;
}

QList<QByteArray> BancoPty::comandi() {
    return sim.modem().comandiRicevuti();
}
