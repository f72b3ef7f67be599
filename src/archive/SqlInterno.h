#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement that finalizes itself. Every value reaches the engine as a bound
// parameter; failures throw the classic error of ErroriArchivio::DaSqlite.
class Istruzione {
public:
    Istruzione() = default;
    Istruzione(sqlite3* db, const QString& sql);
    ~Istruzione();
    Istruzione(Istruzione&& altra) noexcept;
    Istruzione& operator=(Istruzione&& altra) noexcept;
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    bool valida() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    // Parameters are numbered from 1, as the engine numbers them.
    void lega(int indice, const QVariant& valore);
    void lega(int indice, qint64 valore);
    // True while there is a row to read; the statement is reset (and its lock released) once it
    // reports the end or fails.
    bool passo();
    // Columns are numbered from 0.
    QVariant colonna(int indice) const;
    qint64 intero(int indice) const;
    // Ends the statement early so that it holds no lock, and clears its parameters.
    void azzera();

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// An identifier quoted for the engine: the names come from the file's own catalogue, but they
// are quoted all the same so that no name can change the meaning of a statement.
QString Cita(const QString& identificatore);

// Runs statements that take no parameters (schema text, transactions).
void Esegui(sqlite3* db, const QByteArray& sql);
