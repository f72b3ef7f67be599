#include "FormMsgBox4.h"

#include "platform/StiliMessaggio.h"

FormMsgBox4::FormMsgBox4(int& rispformbox, QWidget* parent)
    : SchedaSms(
          QStringLiteral("FormMsgBox4"),
          {QStringLiteral("Archiviazione SMS"), QStringLiteral("Vuoi confermare l'operazione?"),
           QStringLiteral("Nota Bene: Se SMS è stato gestito premi SI per memorizzarlo nel "
                          "DB.")},
          {QStringLiteral("Numero:"), QStringLiteral("Nome:"), QStringLiteral("Data:"),
           QStringLiteral("Ora:"), QStringLiteral("Testo:")},
          {QStringLiteral("Si"), QStringLiteral("Annulla"), QStringLiteral("Stampa SMS")}, parent,
          &rispformbox, {Risposta::Si, Risposta::No, Risposta::Ignora}, Risposta::No) {}
