#include "BancoModem.h"

#include "DatiDiProva.h"

#include <QTest>

BancoModem::BancoModem(bool conDtr) {
    DatiDiProva::Gestore(archivioDiretto(), QStringLiteral("TIM"), QStringLiteral("*123#"), true);
    DatiDiProva::Impostazioni(archivioDiretto(), false, conDtr, false, QStringLiteral("2"));
    rinnova();
    porta->porteEsistenti = {1};
    modem.collega(*porta);
}

bool BancoModem::abilitato() const {
    return form->LblPinCode->text() == QLatin1String("GSM ABILITATO");
}

void BancoModem::avviaFinoAdAbilitato() {
    avviaFinoAllaLista();
    QVERIFY(tickFinche([this] { return abilitato(); }) >= 0);
}

QStringList BancoModem::nuoveRighe() {
    const QStringList nuove = porta->righeScritte.mid(righeViste_);
    righeViste_ = porta->righeScritte.size();
    return nuove;
}
