#include "InibizioneModemManager.h"

#include "RegolaUdev.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>

namespace {

const QString kServizio = QStringLiteral("org.freedesktop.ModemManager1");
const QString kPercorso = QStringLiteral("/org/freedesktop/ModemManager1");
const QString kModem = QStringLiteral("org.freedesktop.ModemManager1.Modem");
// A ModemManager that does not answer in this time is not waited for: the window stays alive.
constexpr int kAttesaMs = 2500;

QDBusConnection bus(const QString& indirizzo) {
    if (indirizzo.isEmpty())
        return QDBusConnection::systemBus();
    // Named after its address: one connection per bus, kept open for the life of the program.
    return QDBusConnection::connectToBus(indirizzo, QStringLiteral("veltrika-mm ") + indirizzo);
}

QDBusMessage chiama(const QDBusConnection& connessione, const QString& interfaccia,
                    const QString& metodo, const QVariantList& argomenti = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(kServizio, kPercorso, interfaccia, metodo);
    // A ModemManager that is not running is not started for us.
    m.setAutoStartService(false);
    m.setArguments(argomenti);
    return connessione.call(m, QDBus::Block, kAttesaMs);
}

QString reale(const QString& dispositivo) {
    return QFileInfo(dispositivo).canonicalFilePath();
}

// Whether one of the ports a(su) of a modem is the device `cercato` (a real path).
bool traLePorte(const QDBusArgument& porte, const QString& cercato) {
    if (porte.currentSignature() != QLatin1String("a(su)"))
        return false;
    bool trovato = false;
    porte.beginArray();
    while (!porte.atEnd()) {
        QString nome;
        uint tipo = 0;
        porte.beginStructure();
        porte >> nome >> tipo;
        porte.endStructure();
        // ModemManager names ports as the kernel does ("ttyUSB2"); network ports have no node.
        const QString nodo =
            nome.startsWith(QLatin1Char('/')) ? nome : QStringLiteral("/dev/") + nome;
        if (!trovato && reale(nodo) == cercato)
            trovato = true;
    }
    porte.endArray();
    return trovato;
}

// The uid (the `Device` property) of the modem that has `cercato` among its ports, if any.
QString modemDellaPorta(const QDBusMessage& risposta, const QString& cercato) {
    if (risposta.type() != QDBusMessage::ReplyMessage || risposta.arguments().isEmpty())
        return {};
    const QDBusArgument oggetti = risposta.arguments().constFirst().value<QDBusArgument>();
    if (oggetti.currentSignature() != QLatin1String("a{oa{sa{sv}}}"))
        return {};
    QString uid;
    oggetti.beginMap();
    while (!oggetti.atEnd()) {
        QDBusObjectPath oggetto;
        oggetti.beginMapEntry();
        oggetti >> oggetto;
        oggetti.beginMap();
        while (!oggetti.atEnd()) {
            QString interfaccia;
            QVariantMap proprieta;
            oggetti.beginMapEntry();
            oggetti >> interfaccia >> proprieta;
            oggetti.endMapEntry();
            if (uid.isEmpty() && interfaccia == kModem &&
                traLePorte(proprieta.value(QStringLiteral("Ports")).value<QDBusArgument>(),
                           cercato))
                uid = proprieta.value(QStringLiteral("Device")).toString();
        }
        oggetti.endMap();
        oggetti.endMapEntry();
    }
    oggetti.endMap();
    return uid;
}

QString avvisoRifiuto(const QString& dispositivo, const QString& radiceSys) {
    return QStringLiteral(
               "Il modem su %1 è usato anche da ModemManager, il servizio dei modem del "
               "computer, che non ha accettato di lasciarlo a questo programma: la ricezione "
               "degli SMS può risultare irregolare.\n\n"
               "Perché ModemManager lasci stare questo modem per sempre, chi amministra il "
               "computer scriva questa riga nel file %2:\n\n%3\n\n"
               "poi scolleghi e ricolleghi il modem (o riavvii il computer).")
        .arg(dispositivo, RegolaUdev::File(), RegolaUdev::IgnoraModem(dispositivo, radiceSys));
}

} // namespace

InibizioneModemManager::InibizioneModemManager(QString indirizzoBus, QString radiceSys)
    : indirizzoBus_(std::move(indirizzoBus))
    , radiceSys_(std::move(radiceSys)) {}

InibizioneModemManager InibizioneModemManager::DaAmbiente() {
    const QString sys = qEnvironmentVariable("VELTRIKA_SYS");
    return InibizioneModemManager(qEnvironmentVariable("VELTRIKA_BUS_MODEMMANAGER"),
                                  sys.isEmpty() ? QStringLiteral("/sys") : sys);
}

QString InibizioneModemManager::Lascia(const QString& dispositivo) {
    const QString cercato = reale(dispositivo);
    if (cercato.isEmpty())
        return {};
    const QDBusConnection connessione = bus(indirizzoBus_);
    if (!connessione.isConnected())
        return {};
    const QString uid =
        modemDellaPorta(chiama(connessione, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                               QStringLiteral("GetManagedObjects")),
                        cercato);
    if (uid.isEmpty() || inibiti_.contains(uid) || rifiutati_.contains(uid))
        return {};
    const QDBusMessage risposta =
        chiama(connessione, kServizio, QStringLiteral("InhibitDevice"), {uid, true});
    if (risposta.type() == QDBusMessage::ReplyMessage) {
        inibiti_.insert(uid);
        return {};
    }
    rifiutati_.insert(uid);
    return avvisoRifiuto(cercato, radiceSys_);
}
