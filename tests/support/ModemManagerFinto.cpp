#include "ModemManagerFinto.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>
#include <QMutexLocker>

namespace {

struct PortaMm {
    QString nome;
    uint tipo = 2; // an AT port
};

QDBusArgument& operator<<(QDBusArgument& a, const PortaMm& p) {
    a.beginStructure();
    a << p.nome << p.tipo;
    a.endStructure();
    return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, PortaMm& p) {
    a.beginStructure();
    a >> p.nome >> p.tipo;
    a.endStructure();
    return a;
}

using Interfacce = QMap<QString, QVariantMap>;
using Oggetti = QMap<QDBusObjectPath, Interfacce>;

const QString kNome = QStringLiteral("org.freedesktop.ModemManager1");
const QString kPercorso = QStringLiteral("/org/freedesktop/ModemManager1");

QString nomeConnessione(const QString& indirizzo) {
    return QStringLiteral("modemmanager finto ") + indirizzo;
}

} // namespace

Q_DECLARE_METATYPE(PortaMm)
Q_DECLARE_METATYPE(Interfacce)
Q_DECLARE_METATYPE(Oggetti)

class OggettoModemManager : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        QMutexLocker blocco(&mutex);
        if (m.member() == QLatin1String("GetManagedObjects")) {
            bus.send(m.createReply(QVariant::fromValue(oggetti)));
            return true;
        }
        if (m.member() == QLatin1String("InhibitDevice") && m.arguments().size() == 2) {
            inibizioni << m.arguments().at(0).toString();
            bus.send(rifiuta ? m.createErrorReply(
                                   QStringLiteral(
                                       "org.freedesktop.ModemManager1.Error.Core.Unauthorized"),
                                   QStringLiteral("PolicyKit authorization failed"))
                             : m.createReply());
            return true;
        }
        return false;
    }

    mutable QMutex mutex;
    Oggetti oggetti;
    QStringList inibizioni;
    bool rifiuta = false;
};

ModemManagerFinto::ModemManagerFinto()
    : oggetto_(std::make_unique<OggettoModemManager>()) {
    qDBusRegisterMetaType<PortaMm>();
    qDBusRegisterMetaType<QList<PortaMm>>();
    qDBusRegisterMetaType<Interfacce>();
    qDBusRegisterMetaType<Oggetti>();
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address")});
    if (!bus_.waitForStarted(5000))
        return;
    while (!bus_.canReadLine() && bus_.waitForReadyRead(5000)) {
    }
    indirizzo_ = QString::fromLatin1(bus_.readLine()).trimmed();
    // The service answers from its own thread: the program waits for it on the main one.
    filo_.start();
    oggetto_->moveToThread(&filo_);
    QDBusConnection bus = QDBusConnection::connectToBus(indirizzo_, nomeConnessione(indirizzo_));
    bus.registerVirtualObject(kPercorso, oggetto_.get());
}

ModemManagerFinto::~ModemManagerFinto() {
    QDBusConnection::disconnectFromBus(nomeConnessione(indirizzo_));
    filo_.quit();
    filo_.wait();
    bus_.terminate();
    bus_.waitForFinished(5000);
}

void ModemManagerFinto::aggiungiModem(const QString& uid, const QStringList& porte) {
    QList<PortaMm> elenco;
    for (const QString& p : porte)
        elenco << PortaMm{p, 2};
    QMutexLocker blocco(&oggetto_->mutex);
    const QDBusObjectPath percorso(kPercorso +
                                   QStringLiteral("/Modem/%1").arg(oggetto_->oggetti.size()));
    oggetto_->oggetti[percorso][QStringLiteral("org.freedesktop.ModemManager1.Modem")] = {
        {QStringLiteral("Device"), uid},
        {QStringLiteral("Ports"), QVariant::fromValue(elenco)},
    };
}

bool ModemManagerFinto::offri() {
    return QDBusConnection(nomeConnessione(indirizzo_)).registerService(kNome);
}

void ModemManagerFinto::rifiuta(bool rifiuta) {
    QMutexLocker blocco(&oggetto_->mutex);
    oggetto_->rifiuta = rifiuta;
}

QStringList ModemManagerFinto::inibizioni() const {
    QMutexLocker blocco(&oggetto_->mutex);
    return oggetto_->inibizioni;
}
