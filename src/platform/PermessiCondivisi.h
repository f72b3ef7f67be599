#pragma once

#include <QString>
#include <sys/types.h>

// The customers' data is for the shop's users only: the files the copies and the restore write
// belong to the group of the folder they are in, and others get nothing, whatever the umask of
// whoever wrote them.
class PermessiCondivisi {
public:
    // Read and write for owner and group: what the program changes (the archive, backup.ini).
    static constexpr mode_t Condiviso = 0660;
    // Read for the group: the copies, which nobody changes once written.
    static constexpr mode_t Copia = 0640;

    // Gives `percorso` the mode and the group of its folder; false when either could not be set.
    static bool Applica(const QString& percorso, mode_t modo);
    // The same for a file already open.
    static bool Applica(int fd, const QString& percorso, mode_t modo);
};
