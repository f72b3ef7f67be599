#include "Documento.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
Documento::Apritore& hook() {
    static Documento::Apritore h;
    return h;
}
} // namespace

bool Documento::Apri(const QString& percorso) {
    if (hook())
        return hook()(percorso);
    const QFileInfo info(percorso);
    if (!info.exists())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void Documento::InstallaHook(Apritore a) {
    hook() = std::move(a);
}

void Documento::RimuoviHook() {
    hook() = nullptr;
}
