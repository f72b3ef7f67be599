#pragma once

#include <QString>

// Makes a new archive file with every step of SchemaArchivio: all tables, indexes and the one
// settings record, encrypted with the given password. Refuses to touch an existing file.
// Throws ErroreRuntime on failure (the half-made file is removed).
class CreatoreArchivio {
public:
    static void Crea(const QString& percorsoArchivio, const QString& password);
};
