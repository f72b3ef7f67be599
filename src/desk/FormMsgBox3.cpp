#include "FormMsgBox3.h"

FormMsgBox3::FormMsgBox3(QWidget* parent)
    : SchedaSms(QStringLiteral("FormMsgBox3"),
                {QStringLiteral("Lettura SMS"), QStringLiteral("Lettura SMS Completata")},
                {QStringLiteral("Numero:"), QStringLiteral("Nome:"), QStringLiteral("Data Arrivo:"),
                 QStringLiteral("Ora Arrivo:"), QStringLiteral("Testo:")},
                {QStringLiteral("Ok"), QStringLiteral("Stampa SMS")}, parent) {}
