#include "ProgramRoute.h"

#include "platform/KeyboardBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace ombrel::cli {

namespace {

constexpr int kQuickCallMs = 2000;
// The program tries an exchange three times with a second's wait each before it gives up.
constexpr int kExchangeCallMs = 15000;

// Whether a session bus can be there at all; without one no Qt is started for nothing.
bool sessionBusLikely() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return false;
    struct stat st {};
    return ::stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

QDBusMessage keyboardCall(const char* interface, const char* member) {
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kBusServiceName), QLatin1String(kBusKeyboardPath),
                                                       QLatin1String(interface), QLatin1String(member));
    // Only a program that runs already: a call must never start one.
    call.setAutoStartService(false);
    return call;
}

std::int32_t quietDebug(std::int32_t) {
    return 0;
}
std::int32_t quietInit(std::int32_t) {
    return 1;
}
std::int32_t quietEnd() {
    return 0;
}
std::int32_t quietCount(const std::uint8_t*, VevNotifyFn, std::uint32_t, std::uint32_t, std::uint32_t*) {
    return 1; // the program said it has the keyboard
}
std::int32_t quietDeleteUnit(std::uint32_t) {
    return 0;
}
std::int32_t quietDeleteHandle(void*) {
    return 0;
}
std::int32_t quietWrite(const std::uint8_t*, VevNotifyFn, std::uint32_t, const std::uint8_t*, std::int32_t,
                        std::uint32_t, std::uint32_t*) {
    return 0; // nothing is sent past the program (the boot request goes the direct way)
}
std::int32_t quietStatusGet(const std::uint8_t*, VevNotifyFn, std::uint32_t, std::uint8_t*, std::int32_t, std::uint32_t,
                            std::uint32_t*) {
    return 0;
}
std::int32_t quietAsyncRead(const std::uint8_t*, VevNotifyFn, std::uint32_t, std::uint32_t, std::uint32_t* unit) {
    if (unit) *unit = 0;
    return 1;
}

} // namespace

struct ProgramRoute::Bus {
    int argc = 1;
    char name[10] = "ombrelctl";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QDBusConnection> connection;
};

std::unique_ptr<ProgramRoute> ProgramRoute::find(const std::string& target) {
    if (target.empty() || !sessionBusLikely()) return nullptr;
    std::unique_ptr<ProgramRoute> route(new ProgramRoute);
    route->m_bus = std::make_unique<Bus>();
    Bus& bus = *route->m_bus;
    if (!QCoreApplication::instance()) bus.app = std::make_unique<QCoreApplication>(bus.argc, bus.argv);
    bus.connection = std::make_unique<QDBusConnection>(QDBusConnection::sessionBus());
    QDBusConnection& c = *bus.connection;
    if (!c.isConnected() || !c.interface()) return nullptr;
    const auto owned = c.interface()->isServiceRegistered(QLatin1String(kBusServiceName));
    if (!owned.isValid() || !owned.value()) return nullptr;

    const QDBusMessage served = c.call(keyboardCall(kBusCommandLineInterface, "Target"), QDBus::Block, kQuickCallMs);
    if (served.type() != QDBusMessage::ReplyMessage || served.arguments().size() != 1 ||
        served.arguments().at(0).toString().toStdString() != target)
        return nullptr;
    QDBusMessage present = keyboardCall("org.freedesktop.DBus.Properties", "Get");
    present << QLatin1String(kBusKeyboardInterface) << QStringLiteral("Present");
    const QDBusMessage answer = c.call(present, QDBus::Block, kQuickCallMs);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().size() != 1 ||
        !answer.arguments().at(0).value<QDBusVariant>().variant().toBool())
        return nullptr;
    return route;
}

ProgramRoute::~ProgramRoute() = default;

LinkResult ProgramRoute::exchange(std::span<const std::uint8_t> request, std::uint8_t* reply, std::size_t capacity,
                                  int* replyLength) {
    *replyLength = 0;
    QDBusMessage call = keyboardCall(kBusCommandLineInterface, "Exchange");
    call << QByteArray(reinterpret_cast<const char*>(request.data()), qsizetype(request.size()));
    const QDBusMessage answer = m_bus->connection->call(call, QDBus::Block, kExchangeCallMs);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().size() != 2) return LINK_NO_DEVICE;
    const auto result = static_cast<LinkResult>(answer.arguments().at(0).toInt());
    const QByteArray bytes = answer.arguments().at(1).toByteArray();
    const std::size_t copied = std::min(capacity, std::size_t(bytes.size()));
    if (copied > 0) std::memcpy(reply, bytes.constData(), copied);
    *replyLength = static_cast<int>(copied);
    return result;
}

const ServiceApi& ProgramRoute::quietApi() {
    static const ServiceApi api = [] {
        ServiceApi a;
        a.Debug = quietDebug;
        a.Init = quietInit;
        a.End = quietEnd;
        a.RequestGetDeviceCount = quietCount;
        a.DeleteRequestFromUnitId = quietDeleteUnit;
        a.DeleteRequestFromHandle = quietDeleteHandle;
        a.RequestWrite = quietWrite;
        a.RequestWriteOne = quietWrite;
        a.RequestStatusWrite = quietWrite;
        a.RequestStatusGet = quietStatusGet;
        a.RequestAsyncRead = quietAsyncRead;
        a.RequestStatusSetFeature = quietWrite;
        return a;
    }();
    return api;
}

} // namespace ombrel::cli
