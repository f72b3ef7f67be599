#include "RigaPulsanti.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* RigaPulsanti(QWidget* padre, std::span<QPushButton*> pulsanti,
                          const QStringList& didascalie, const QString& nome,
                          const std::function<void(int)>& clic) {
    auto* riga = new QHBoxLayout;
    for (int i = 0; i < int(pulsanti.size()); ++i) {
        auto* b = new QPushButton(didascalie.value(i), padre);
        b->setObjectName(QStringLiteral("%1_%2").arg(nome).arg(i));
        b->setAutoDefault(false);
        riga->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, padre, [clic, i] { clic(i); });
        pulsanti[size_t(i)] = b;
    }
    return riga;
}
