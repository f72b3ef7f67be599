#include "AttesaBlocco.h"

#include <sqlite3.h>

bool AttesaBlocco::EBlocco(int rc) {
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

bool AttesaBlocco::Riprova(int rc) {
    if (!EBlocco(rc))
        return false;
    const auto adesso = std::chrono::steady_clock::now();
    if (!inAttesa_) {
        inAttesa_ = true;
        scadenza_ = adesso + limite_;
    }
    return adesso < scadenza_;
}
