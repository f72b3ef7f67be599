#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// What the tests of the copies look at on the disk, below the program's own layer.
namespace EsameFile {

// The file's inode: the same number means the same file, not one renamed into its place.
ino_t Nodo(const QString& file);
// Its permission bits, and its group.
mode_t Modo(const QString& file);
gid_t Gruppo(const QString& file);
// The first 16 bytes of an encrypted archive: the salt its key is derived with.
QByteArray Sale(const QString& file);
// Overwrites part of every page in the middle of the file, as a failing disk would.
bool Danneggia(const QString& file);
// Two customers, then the index on their numbers redefined on their names: the index
// disagrees with its table, which only the full integrity check sees.
bool IndiceDiscorde(const QString& archivio);
// Adds `quante` archived messages whose text starts with `testo`.
bool RiempiSms(const QString& archivio, int quante, const char* testo);
// "<rows>:<first text>:<last text>" of the archived messages, empty when it does not read.
QString ContenutoSms(const QString& archivio);

} // namespace EsameFile
