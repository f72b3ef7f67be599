#pragma once

#include "SchedaSms.h"

// "Archiviazione SMS": archive a message taken in hand: "Si", "Annulla" (also Esc and the close
// box), "Stampa SMS".
class FormMsgBox4 : public SchedaSms {
    Q_OBJECT
public:
    enum class Scelta { Archivia, Annulla, Stampa };

    explicit FormMsgBox4(QWidget* parent = nullptr);
    Scelta Risposta() const;
};
