#include "FormMsgBox3.h"

#include "platform/StiliMessaggio.h"

FormMsgBox3::FormMsgBox3(int& rispformbox, QWidget* parent)
    : SchedaSms(QStringLiteral("FormMsgBox3"),
                {QStringLiteral("Lettura SMS"), QStringLiteral("Lettura SMS Completata")},
                {QStringLiteral("Numero:"), QStringLiteral("Nome:"), QStringLiteral("Data Arrivo:"),
                 QStringLiteral("Ora Arrivo:"), QStringLiteral("Testo:")},
                {QStringLiteral("Ok"), QStringLiteral("Stampa SMS")}, parent, &rispformbox,
                {Risposta::Ok, Risposta::No}, Risposta::Ok) {}
