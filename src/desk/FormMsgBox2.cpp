#include "FormMsgBox2.h"

#include "platform/StiliMessaggio.h"

FormMsgBox2::FormMsgBox2(int& rispformbox, QWidget* parent)
    : SchedaSms(QStringLiteral("FormMsgBox2"),
                {QStringLiteral("Gestione SMS"), QStringLiteral("Vuoi Gestirlo?")},
                {QStringLiteral("Numero:"), QStringLiteral("Nome:"), QStringLiteral("Data:"),
                 QStringLiteral("Ora:"), QStringLiteral("Testo:")},
                {QStringLiteral("Si"), QStringLiteral("No"), QStringLiteral("Annulla")}, parent,
                &rispformbox, {Risposta::Si, Risposta::No, Risposta::Ignora}, Risposta::Ignora) {}
