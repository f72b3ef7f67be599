#include "platform/IstanzaUnica.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TstIstanzaUnica : public QObject {
    Q_OBJECT
private slots:
    // One holder per folder, whatever the other folders do; the lock goes with its holder and
    // its file stays for the shop's group, under a newcomer's umask too.
    void unaSolaPerCartella() {
        const mode_t prima = ::umask(022);
        const auto rimetti = qScopeGuard([prima] { ::umask(prima); });
        QTemporaryDir cartella;
        QTemporaryDir altra;
        auto primo = std::make_unique<IstanzaUnica>(cartella.path());
        QVERIFY(primo->Acquisita());
        QVERIFY(!IstanzaUnica(cartella.path()).Acquisita());
        QVERIFY(IstanzaUnica(altra.path()).Acquisita());
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(QDir(cartella.path()).filePath(IstanzaUnica::NomeFile()))
                            .constData(),
                        &st),
                 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0660));
        primo.reset();
        QVERIFY(IstanzaUnica(cartella.path()).Acquisita());
    }
};

QTEST_GUILESS_MAIN(TstIstanzaUnica)
#include "tst_istanzaunica.moc"
