#pragma once

#include "archive/Archivio.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;

// Another program's connection to an archive file: to lock it, or to look at what really landed
// in it without the program's own layer.
class ConnessioneEsterna {
public:
    explicit ConnessioneEsterna(const QString& percorso,
                                const QByteArray& chiave = Archivio::Password().toUtf8());
    ~ConnessioneEsterna();
    ConnessioneEsterna(const ConnessioneEsterna&) = delete;
    ConnessioneEsterna& operator=(const ConnessioneEsterna&) = delete;

    int esegui(const char* sql);
    // The first column of the first row, as text; invalid when there is none.
    QVariant valore(const char* sql);

private:
    sqlite3* db_ = nullptr;
};
