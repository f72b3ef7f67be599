#pragma once

#include "SchedaSms.h"

// "Gestione SMS": take a pending message in hand: "Si", "No" (delete it), "Annulla" (also Esc
// and the close box).
class FormMsgBox2 : public SchedaSms {
    Q_OBJECT
public:
    enum class Scelta { Gestisci, Elimina, Annulla };

    explicit FormMsgBox2(QWidget* parent = nullptr);
    Scelta Risposta() const;
};
