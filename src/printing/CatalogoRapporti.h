#pragma once

#include "RapportoBande.h"

#include <QStringList>
#include <memory>

// The fourteen page-report layouts, each document in a wide layout for ordinary paper and a
// narrow one (name ending in _n) for 80 mm rolls. The title of every layout is the label
// "Titolo"; the labels the program fills are named as the print routines expect them.
class CatalogoRapporti {
public:
    static constexpr int LarghezzaLarga = 10772; // an A4 page less the margins
    static constexpr int LarghezzaStretta = 3005;

    static QStringList Nomi();
    // The layout of that name; nullptr for an unknown name.
    static std::unique_ptr<RapportoBande> Crea(const QString& nome);

    static std::unique_ptr<RapportoBande> DR_ListaClienti();
    static std::unique_ptr<RapportoBande> DR_ListaClienti_n();
    static std::unique_ptr<RapportoBande> DR_ListaClienti_sub();
    static std::unique_ptr<RapportoBande> DR_ListaClienti_sub_n();
    static std::unique_ptr<RapportoBande> DR_ListaClienti_sin();
    static std::unique_ptr<RapportoBande> DR_ListaClienti_sin_n();
    static std::unique_ptr<RapportoBande> DR_ListaSMS();
    static std::unique_ptr<RapportoBande> DR_ListaSMS_n();
    static std::unique_ptr<RapportoBande> DR_ListaSMS_cliente();
    static std::unique_ptr<RapportoBande> DR_ListaSMS_cliente_n();
    static std::unique_ptr<RapportoBande> DR_SMS_singolo();
    static std::unique_ptr<RapportoBande> DR_SMS_singolo_n();
    static std::unique_ptr<RapportoBande> Dr_Volantino();
    static std::unique_ptr<RapportoBande> Dr_Volantino_n();
};
