#include "FormChiusura.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

FormChiusura::FormChiusura(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormChiusura"));
    auto* layout = new QVBoxLayout(this);
    auto* titolo = new QLabel(QStringLiteral("CHIUSURA IN CORSO"), this);
    titolo->setObjectName(QStringLiteral("LblChiusura"));
    QFont grande = titolo->font();
    grande.setPointSize(20);
    grande.setBold(true);
    titolo->setFont(grande);
    titolo->setAlignment(Qt::AlignCenter);
    auto* attesa = new QLabel(QStringLiteral("Attendere Spegnimento del modulo GSM"), this);
    attesa->setObjectName(QStringLiteral("LblAttesa"));
    attesa->setAlignment(Qt::AlignCenter);
    layout->addWidget(titolo);
    layout->addWidget(attesa);
    resize(420, 160);
    if (const QScreen* schermo = QGuiApplication::primaryScreen())
        move(schermo->availableGeometry().center() - rect().center());
}
