#pragma once

#include <QString>

struct sqlite3;

// A connection to a file of the copies, keyed with the program's key: a copy being written or
// checked, the archive kept aside, the archive's file when the program's own layer cannot open
// it. Every copy and every restore opens its files here, so the key is given in one place.
class ConnessioneCopia {
public:
    enum class Modo {
        Lettura,   // an existing file, never changed
        Scrittura, // an existing file
        Nuovo,     // a file made here, never over one already there
    };

    ConnessioneCopia(const QString& percorso, Modo modo);
    ~ConnessioneCopia();
    ConnessioneCopia(ConnessioneCopia&& altra) noexcept;
    ConnessioneCopia(const ConnessioneCopia&) = delete;
    ConnessioneCopia& operator=(const ConnessioneCopia&) = delete;
    ConnessioneCopia& operator=(ConnessioneCopia&&) = delete;

    bool Aperta() const { return db_ != nullptr; }
    sqlite3* db() const { return db_; }
    // Why it did not open.
    const QString& Errore() const { return errore_; }
    // Hands the connection over; the caller closes it.
    sqlite3* Rilascia();

private:
    sqlite3* db_ = nullptr;
    QString errore_;
};
