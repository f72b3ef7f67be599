#include "FormMsgBox2.h"

FormMsgBox2::FormMsgBox2(QWidget* parent)
    : SchedaSms(QStringLiteral("FormMsgBox2"),
                {QStringLiteral("Gestione SMS"), QStringLiteral("Vuoi Gestirlo?")}, DidascalieSms(),
                {QStringLiteral("Si"), QStringLiteral("No"), QStringLiteral("Annulla")}, parent) {}

FormMsgBox2::Scelta FormMsgBox2::Risposta() const {
    switch (Premuto()) {
    case 0:
        return Scelta::Gestisci;
    case 1:
        return Scelta::Elimina;
    default:
        return Scelta::Annulla;
    }
}
