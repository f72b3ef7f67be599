#include "FormMsgBox4.h"

FormMsgBox4::FormMsgBox4(QWidget* parent)
    : SchedaSms(
          QStringLiteral("FormMsgBox4"),
          {QStringLiteral("Archiviazione SMS"), QStringLiteral("Vuoi confermare l'operazione?"),
           QStringLiteral("Nota Bene: Se SMS è stato gestito premi SI per memorizzarlo nel "
                          "DB.")},
          DidascalieSms(),
          {QStringLiteral("Si"), QStringLiteral("Annulla"), QStringLiteral("Stampa SMS")}, parent) {
}

FormMsgBox4::Scelta FormMsgBox4::Risposta() const {
    switch (Premuto()) {
    case 0:
        return Scelta::Archivia;
    case 2:
        return Scelta::Stampa;
    default:
        return Scelta::Annulla;
    }
}
