#include "FormLogo.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

FormLogo::FormLogo(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FormLogo"));
    auto* layout = new QVBoxLayout(this);
    auto* titolo = new QLabel(QStringLiteral("VELTRIKA"), this);
    titolo->setObjectName(QStringLiteral("LblTitolo"));
    QFont grande = titolo->font();
    grande.setPointSize(28);
    grande.setBold(true);
    titolo->setFont(grande);
    titolo->setAlignment(Qt::AlignCenter);
    LblCaricamento = new QLabel(QStringLiteral("  Caricamento in Corso."), this);
    LblCaricamento->setObjectName(QStringLiteral("LblCaricamento"));
    layout->addStretch();
    layout->addWidget(titolo);
    layout->addWidget(LblCaricamento);
    layout->addStretch();
    setStyleSheet(QStringLiteral("FormLogo { background: #1d4f91; } QLabel { color: white; }"));
    resize(420, 220);
    if (const QScreen* schermo = QGuiApplication::primaryScreen())
        move(schermo->availableGeometry().center() - rect().center());

    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &FormLogo::Timer1_Timer);
}

void FormLogo::Timer1_Timer() {
    LblCaricamento->setText(LblCaricamento->text() + QLatin1Char('.'));
}
