#include "KeyboardBusService.h"

#include "BackupWork.h"
#include "CliSetupNames.h"
#include "ColorArgument.h"
#include "KeyArguments.h"
#include "KeyChange.h"
#include "KeyPaint.h"
#include "KeyboardBusXml.h"
#include "KeyboardFileWork.h"
#include "LightingChange.h"

#include "apprules/ApplicationRulesFile.h"
#include "apprules/ProfileFollower.h"
#include "assign/AssignmentCaption.h"
#include "device/ActiveProfile.h"
#include "device/CommandTexts.h"
#include "device/DeviceLink.h"
#include "device/ForwardedRequest.h"
#include "device/Report.h"
#include "device/ScreenPort.h"
#include "keyboard/ConfigBlock.h"
#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "keys/Utf16Text.h"
#include "lighting/LightingState.h"
#include "lighting/LightingWriter.h"
#include "lighting/UserPatterns.h"
#include "platform/KeyboardBus.h"
#include "platform/PerUserFolder.h"
#include "profiles/ProfileNames.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/KeyboardWriter.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMetaObject>

#include <array>

namespace ombrel {

namespace {

constexpr int kSettleMs = 250;
constexpr int kEnglish = 0; // scripts get the same names on every machine, as from ombrelctl
// What the messages of ombrelctl restore name the file by, for a backup that came over the bus.
const std::string kBackupName = "the backup";
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QString errorName(const char* kind) {
    return QStringLiteral("io.github.ombrel.Error.") + QLatin1String(kind);
}

void replyError(const QDBusConnection& bus, const QDBusMessage& call, const char* kind, const std::string& text) {
    bus.send(call.createErrorReply(errorName(kind), QString::fromStdString(text)));
}

// The <interface> elements of the installed description, as the introspection of the object lists them.
QString interfaceElements(const char* xml) {
    const QString text = QString::fromUtf8(xml);
    const qsizetype begin = text.indexOf(QLatin1String("<interface"));
    const qsizetype end = text.lastIndexOf(QLatin1String("</interface>"));
    if (begin < 0 || end < begin) return {};
    return text.mid(begin, end + qsizetype(sizeof "</interface>" - 1) - begin) + QLatin1Char('\n');
}

const char* const kCommandLineXml = R"(<interface name="io.github.ombrel.CommandLine1">
    <method name="Target"><arg name="keyboard" type="s" direction="out"/></method>
    <method name="Exchange">
      <arg name="request" type="ay" direction="in"/>
      <arg name="result" type="i" direction="out"/>
      <arg name="reply" type="ay" direction="out"/>
    </method>
  </interface>
)";

QVariant propertyValue(const KeyboardBusService::Snapshot& s, const QString& name) {
    if (name == QLatin1String("Present")) return s.present;
    if (name == QLatin1String("FirmwareVersion")) return s.firmwareVersion;
    if (name == QLatin1String("ActiveProfile")) return QVariant::fromValue(s.activeProfile);
    if (name == QLatin1String("ProfileNames")) return s.profileNames;
    if (name == QLatin1String("Effects")) return s.effects;
    return {};
}

const std::array<const char*, 5> kPropertyNames{"Present", "FirmwareVersion", "ActiveProfile", "ProfileNames",
                                                "Effects"};

QVariantMap allProperties(const KeyboardBusService::Snapshot& s) {
    QVariantMap map;
    for (const char* name : kPropertyNames)
        map.insert(QLatin1String(name), propertyValue(s, QLatin1String(name)));
    return map;
}

// A whole number from a bus value of any integer type; what is no integer gives nothing.
std::optional<qlonglong> wholeNumber(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::LongLong: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (value.metaType().id() == QMetaType::ULongLong && value.toULongLong() > quint64(LLONG_MAX)) return -1;
        return ok ? std::optional(n) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

// One macro as ListMacros gives it, (usuuas): id, name, cycles, steps, the keys that play it ("1:Caps Lock").
struct BusMacro {
    uint id = 0;
    QString name;
    uint cycles = 0;
    uint steps = 0;
    QStringList keys;
};

QDBusArgument& operator<<(QDBusArgument& arg, const BusMacro& m) {
    arg.beginStructure();
    arg << m.id << m.name << m.cycles << m.steps << m.keys;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, BusMacro& m) {
    arg.beginStructure();
    arg >> m.id >> m.name >> m.cycles >> m.steps >> m.keys;
    arg.endStructure();
    return arg;
}

KeyboardBusService::KeyboardBusService(Setup setup, QObject* parent)
    : QDBusVirtualObject(parent), m_setup(std::move(setup)), m_texts(m_setup.dataDir) {
    qDBusRegisterMetaType<BusMacro>();
    qDBusRegisterMetaType<QList<BusMacro>>();
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (m_setup.changedByBus) m_setup.changedByBus();
        refresh();
    });
}

KeyboardBusService::~KeyboardBusService() {
    withdraw();
}

bool KeyboardBusService::publish(const QDBusConnection& bus, QString* error) {
    if (!bus.isConnected()) {
        *error = QStringLiteral("no session bus: %1").arg(bus.lastError().message());
        return false;
    }
    m_bus = bus;
    if (!m_bus.registerVirtualObject(QLatin1String(kBusKeyboardPath), this)) {
        *error = QStringLiteral("the keyboard's object could not be registered on the session bus");
        return false;
    }
    // The first values are read before the name is taken, so the very first call (the one that started the program
    // by activation) already sees them. The worker is idle until the name is taken.
    updateSnapshot(m_bus);
    if (!m_bus.registerService(QLatin1String(kBusServiceName))) {
        m_bus.unregisterObject(QLatin1String(kBusKeyboardPath));
        *error = QStringLiteral("the name %1 is taken on the session bus (another Ombrel serves its keyboard)")
                     .arg(QLatin1String(kBusServiceName));
        return false;
    }
    m_published = true;
    return true;
}

void KeyboardBusService::withdraw() {
    if (m_published) {
        m_bus.unregisterService(QLatin1String(kBusServiceName));
        m_bus.unregisterObject(QLatin1String(kBusKeyboardPath));
        m_published = false;
    }
    m_worker.stop();
}

KeyboardBusService::Snapshot KeyboardBusService::snapshot() const {
    std::lock_guard lock(m_snapshotMutex);
    return m_snapshot;
}

void KeyboardBusService::refresh() {
    const QDBusConnection bus = m_bus;
    m_worker.post([this, bus] { updateSnapshot(bus); });
}

void KeyboardBusService::updateSnapshot(const QDBusConnection& bus) {
    const Snapshot after = readSnapshot();
    Snapshot before;
    {
        std::lock_guard lock(m_snapshotMutex);
        before = std::exchange(m_snapshot, after);
    }
    announce(before, after, bus);
}

KeyboardBusService::Snapshot KeyboardBusService::readSnapshot() {
    const TextLookup text = [this](std::string_view key) { return m_texts.lookupText(key, kEnglish); };
    Snapshot s;
    for (int p = 0; p < kProfileCount; ++p)
        s.profileNames << QString::fromStdString(ProfileDisplayName(p, text));
    DeviceLink& link = *m_setup.link;
    ConfigBlock block;
    if (link.exchange().DeviceCount() <= 0 || link.commands().ReadConfig(block.bytes) != LINK_OK) return s;
    s.present = true;
    s.firmwareVersion = QString::fromStdString(FirmwareVersionText(block.firmwareVersion()));
    if (block.activeProfile() < kProfileCount) s.activeProfile = block.activeProfile() + 1u;
    for (const LightingEffect e : block.offeredEffects())
        s.effects << QString::fromStdString(m_texts.lookupMode(std::to_string(EffectNumber(e)), kEnglish));
    return s;
}

void KeyboardBusService::announce(const Snapshot& before, const Snapshot& after, const QDBusConnection& bus) {
    QVariantMap changed;
    for (const char* name : kPropertyNames) {
        const QString key = QLatin1String(name);
        const QVariant was = propertyValue(before, key);
        const QVariant now = propertyValue(after, key);
        if (was != now) changed.insert(key, now);
    }
    if (changed.isEmpty() || !bus.isConnected()) return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kBusKeyboardPath), kPropertiesInterface,
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(kBusKeyboardInterface) << changed << QStringList();
    bus.send(signal);
}

void KeyboardBusService::writtenByClient() {
    // Restarted on every write: the window reloads once, after the client's last write of a command.
    QMetaObject::invokeMethod(&m_settle, qOverload<>(&QTimer::start), Qt::QueuedConnection);
}

QString KeyboardBusService::introspect(const QString&) const {
    return interfaceElements(kKeyboardInterfaceXml) + QLatin1String(kCommandLineXml);
}

bool KeyboardBusService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage || message.path() != QLatin1String(kBusKeyboardPath))
        return false;
    const QString interface = message.interface();
    const QString member = message.member();
    if (interface == kPropertiesInterface) return handleProperties(message, connection);
    // Introspection and the peer interface are Qt's.
    if (interface.startsWith(QLatin1String("org.freedesktop.DBus."))) return false;
    const QVariantList args = message.arguments();
    const bool keyboardCall = interface == QLatin1String(kBusKeyboardInterface) || interface.isEmpty();
    if (keyboardCall && member == QLatin1String("SetActiveProfile") && message.signature() == QLatin1String("u")) {
        const uint profile = args.at(0).toUInt();
        switchProfile(message, connection, profile, QString::number(profile));
        return true;
    }
    if (keyboardCall && member == QLatin1String("GetKey") && message.signature() == QLatin1String("us")) {
        readKey(message, connection, args.at(0).toUInt(), args.at(1).toString());
        return true;
    }
    if (keyboardCall && member == QLatin1String("SetKey") && message.signature() == QLatin1String("uss")) {
        writeKey(message, connection, args.at(0).toUInt(), args.at(1).toString(), args.at(2).toString());
        return true;
    }
    if (keyboardCall && member == QLatin1String("ResetKey") && message.signature() == QLatin1String("us")) {
        writeKey(message, connection, args.at(0).toUInt(), args.at(1).toString(), QStringLiteral("default"));
        return true;
    }
    if (keyboardCall && member == QLatin1String("GetLighting") && message.signature() == QLatin1String("u")) {
        readLighting(message, connection, args.at(0).toUInt());
        return true;
    }
    if (keyboardCall && member == QLatin1String("SetLighting") && message.signature() == QLatin1String("uss")) {
        writeLighting(message, connection, args.at(0).toUInt(), args.at(1).toString(), args.at(2).toString());
        return true;
    }
    if (keyboardCall && member == QLatin1String("PaintKey") && message.signature() == QLatin1String("uss")) {
        paintKey(message, connection, args.at(0).toUInt(), args.at(1).toString(), args.at(2).toString());
        return true;
    }
    if (keyboardCall && member == QLatin1String("ListMacros") && message.signature().isEmpty()) {
        listMacros(message, connection);
        return true;
    }
    if (keyboardCall && member == QLatin1String("Export") && message.signature() == QLatin1String("u")) {
        exportSetup(message, connection, args.at(0).toUInt());
        return true;
    }
    if (keyboardCall && member == QLatin1String("Import") && message.signature() == QLatin1String("sb")) {
        importSetup(message, connection, args.at(0).toString(), args.at(1).toBool());
        return true;
    }
    if (keyboardCall && member == QLatin1String("Backup") && message.signature().isEmpty()) {
        backup(message, connection);
        return true;
    }
    if (keyboardCall && member == QLatin1String("Restore") && message.signature() == QLatin1String("ay")) {
        restore(message, connection, args.at(0).toByteArray());
        return true;
    }
    if (keyboardCall && member == QLatin1String("ApplicationActivated") && message.signature() == QLatin1String("s")) {
        applicationActivated(message, connection, args.at(0).toString());
        return true;
    }
    const bool commandLineCall = interface == QLatin1String(kBusCommandLineInterface) || interface.isEmpty();
    if (commandLineCall && member == QLatin1String("Target") && message.signature().isEmpty()) {
        connection.send(message.createReply(QString::fromStdString(m_setup.target)));
        return true;
    }
    if (commandLineCall && member == QLatin1String("Exchange") && message.signature() == QLatin1String("ay")) {
        forwardExchange(message, connection);
        return true;
    }
    connection.send(message.createErrorReply(
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("no method %1.%2 with arguments (%3)").arg(interface, member, message.signature())));
    return true;
}

bool KeyboardBusService::handleProperties(const QDBusMessage& message, const QDBusConnection& connection) {
    const QVariantList args = message.arguments();
    const QString member = message.member();
    const QString signature = message.signature();
    const bool ours = !args.isEmpty() && (args.at(0).toString() == QLatin1String(kBusKeyboardInterface) ||
                                          args.at(0).toString().isEmpty());
    if (member == QLatin1String("GetAll") && signature == QLatin1String("s")) {
        connection.send(message.createReply(ours ? allProperties(snapshot()) : QVariantMap()));
        return true;
    }
    if (member == QLatin1String("Get") && signature == QLatin1String("ss")) {
        const QVariant value = ours ? propertyValue(snapshot(), args.at(1).toString()) : QVariant();
        if (!value.isValid()) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                                                     QStringLiteral("no property %1").arg(args.at(1).toString())));
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
        return true;
    }
    if (member == QLatin1String("Set") && signature == QLatin1String("ssv")) {
        const QString name = args.at(1).toString();
        if (!ours || !propertyValue(Snapshot(), name).isValid()) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                                                     QStringLiteral("no property %1").arg(name)));
            return true;
        }
        if (name != QLatin1String("ActiveProfile")) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                                                     QStringLiteral("%1 cannot be set").arg(name)));
            return true;
        }
        const QVariant value = args.at(2).value<QDBusVariant>().variant();
        const auto n = wholeNumber(value);
        if (!n) {
            replyError(connection, message, "InvalidArgument", NotAProfileText(value.toString().toStdString()));
            return true;
        }
        switchProfile(message, connection, *n, QString::number(*n));
        return true;
    }
    connection.send(
        message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                 QStringLiteral("no method %1 with arguments (%2)").arg(member, signature)));
    return true;
}

void KeyboardBusService::switchProfile(const QDBusMessage& message, const QDBusConnection& connection,
                                       qlonglong profile, const QString& given) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(given.toStdString()));
        return;
    }
    m_worker.post([this, message, connection, profile] {
        DeviceLink& link = *m_setup.link;
        if (!keyboardPresent(message, connection)) return;
        const int r = SetActiveProfile(link.commands(), link.state(), int(profile - 1));
        if (r != LINK_OK) {
            const bool refused = r == LINK_STATUS_FF || r == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed", FailureText("switching the profile", r));
            return;
        }
        // The property is current, and its change announced, by the time the caller hears back.
        updateSnapshot(connection);
        connection.send(message.createReply());
        writtenByClient();
    });
}

void KeyboardBusService::applicationActivated(const QDBusMessage& message, const QDBusConnection& connection,
                                              const QString& id) {
    std::string problem;
    // Each UTF-16 unit is at least one byte: what is over the bound here is over it in UTF-8 too.
    const auto identity = std::size_t(id.size()) > apprules::kMaxApplicationLength
                              ? std::nullopt
                              : apprules::IdentityFromDesktopId(id.toStdString(), &problem);
    if (!identity) {
        replyError(connection, message, "InvalidArgument",
                   problem.empty()
                       ? "the application is longer than " + std::to_string(apprules::kMaxApplicationLength) + " bytes"
                       : problem);
        return;
    }
    // The desktop calls this on every activation and must not wait for the keyboard: the switch follows.
    connection.send(message.createReply());
    if (m_setup.applicationActivated) m_setup.applicationActivated(*identity);
}

bool KeyboardBusService::keyboardPresent(const QDBusMessage& message, const QDBusConnection& connection) {
    if (m_setup.link->exchange().DeviceCount() > 0) return true;
    replyError(connection, message, "NoKeyboard", kNoKeyboardText);
    return false;
}

bool KeyboardBusService::readKeyStore(AssignmentStore& store, const TextLookup& text, const QDBusMessage& message,
                                      const QDBusConnection& connection) {
    DeviceLink& link = *m_setup.link;
    int result = LINK_OK;
    const auto image = ReadKeyboardImage(link.commands(), link.state(), text, &result);
    if (!image) {
        replyError(connection, message, "Failed", FailureText("reading the key functions and macros", result));
        return false;
    }
    ReplaceStoreContents(store, ParseStoreFile(*image, false).contents);
    return true;
}

void KeyboardBusService::readKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile,
                                 const QString& key) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    m_worker.post([this, message, connection, profile, key] {
        const TextLookup text = [this](std::string_view k) { return m_texts.lookupText(k, kEnglish); };
        const KeyNameLookup keyName = [this](KeyCode code) { return KeyText(m_texts, code, kEnglish); };
        const cli::KeyNames names(text);
        const cli::KeyArgumentLookup found = cli::LookupKeyArgument(key.toStdString(), names);
        if (!found.index) {
            replyError(connection, message, "InvalidArgument", found.problem);
            return;
        }
        if (!keyboardPresent(message, connection)) return;
        AssignmentStore store;
        if (!readKeyStore(store, text, message, connection)) return;
        const KeyRecord record = store.image.record(RecordNumber(int(profile) - 1, *found.index));
        const std::string description = cli::FunctionDescription(record, text, keyName, MacroNamesOf(store));
        connection.send(message.createReply(
            QVariantList{QString::fromStdString(cli::FunctionArgument(record)), QString::fromStdString(description)}));
    });
}

void KeyboardBusService::writeKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile,
                                  const QString& key, const QString& function) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    m_worker.post([this, message, connection, profile, key, function] {
        const TextLookup text = [this](std::string_view k) { return m_texts.lookupText(k, kEnglish); };
        const KeyNameLookup keyName = [this](KeyCode code) { return KeyText(m_texts, code, kEnglish); };
        const cli::KeyNames names(text);
        const cli::KeyArgumentLookup found = cli::LookupKeyArgument(key.toStdString(), names);
        if (!found.index) {
            replyError(connection, message, "InvalidArgument", found.problem);
            return;
        }
        std::string problem;
        const auto record = cli::ParseFunctionArgument(function.toStdString(), names, &problem);
        if (!record) {
            replyError(connection, message, "InvalidArgument", problem);
            return;
        }
        DeviceLink& link = *m_setup.link;
        if (!keyboardPresent(message, connection)) return;
        if (!cli::FactoryBlockHasKey(link.state().defaultKeymap(), *found.index)) {
            replyError(connection, message, "InvalidArgument", cli::NoSuchKeyText(key.toStdString()));
            return;
        }
        // Read, changed and written back in one go, as ombrelctl does: what the keyboard holds is the truth, and
        // the window reloads from it once the write has settled.
        KeyStores stores;
        AssignmentStore& working = stores.workingStore;
        std::lock_guard guard(working.lock);
        if (!readKeyStore(working, text, message, connection)) return;
        if (problem = cli::ChangeKeyFunction(working, int(profile) - 1, *found.index, *record); !problem.empty()) {
            replyError(connection, message, "InvalidArgument", problem);
            return;
        }
        NullScreen screen;
        const int one[] = {int(profile) - 1};
        const int result = WriteKeysToKeyboard(stores, link.commands(), link.state(), screen, one);
        if (result != LINK_OK) {
            const bool refused = result == LINK_STATUS_FF || result == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed",
                       FailureText("writing the key functions and macros", result));
            return;
        }
        const KeyRecord now = working.image.record(RecordNumber(int(profile) - 1, *found.index));
        connection.send(message.createReply(
            QVariantList{QString::fromStdString(cli::FunctionArgument(now)),
                         QString::fromStdString(cli::FunctionDescription(now, text, keyName, MacroNamesOf(working)))}));
        writtenByClient();
    });
}

bool KeyboardBusService::readLighting(LightingState& state, int profile, const QDBusMessage& message,
                                      const QDBusConnection& connection) {
    if (!keyboardPresent(message, connection)) return false;
    if (const int r = LoadLighting(m_setup.link->commands(), state); r != LINK_OK) {
        replyError(connection, message, "Failed", FailureText("reading the lighting", r));
        return false;
    }
    state.showProfile(profile);
    return true;
}

void KeyboardBusService::readLighting(const QDBusMessage& message, const QDBusConnection& connection, uint profile) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    m_worker.post([this, message, connection, profile] {
        LightingState state;
        if (!readLighting(state, int(profile) - 1, message, connection)) return;
        const LightingFields& f = state.fields;
        const auto effectName = [this](LightingEffect e) {
            return QString::fromStdString(m_texts.lookupMode(std::to_string(EffectNumber(e)), kEnglish));
        };
        // The fields under the names 'ombrelctl lighting set' takes, with the values it takes for them.
        const QVariantMap fields{
            {QStringLiteral("active"), state.profile == state.config.activeProfile()},
            {QStringLiteral("effect"), effectName(f.effect)},
            {QStringLiteral("effect-number"), uint(EffectNumber(f.effect))},
            {QStringLiteral("brightness"), uint(f.brightness)},
            {QStringLiteral("speed"), uint(f.speed)},
            {QStringLiteral("direction"), QString::fromLatin1(cli::DirectionName(f.direction))},
            {QStringLiteral("direction-number"), uint(f.direction)},
            {QStringLiteral("colorful"), f.colorful},
            {QStringLiteral("color"), QString::fromStdString(cli::HexColor(f.color))},
            {QStringLiteral("four-color"), QString::fromLatin1(cli::kFourColorNames[f.colorChoice & 3])},
            {QStringLiteral("report-rate"), uint(f.reportRate)},
        };
        connection.send(message.createReply(fields));
    });
}

void KeyboardBusService::writeLighting(const QDBusMessage& message, const QDBusConnection& connection, uint profile,
                                       const QString& field, const QString& value) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    std::string problem;
    auto change = cli::ParseLightingChange(field.toStdString(), value.toStdString(), &problem);
    if (!change) {
        replyError(connection, message, "InvalidArgument", problem);
        return;
    }
    m_worker.post([this, message, connection, profile, change = std::move(*change)]() mutable {
        LightingState state;
        if (!readLighting(state, int(profile) - 1, message, connection)) return;
        const auto effectName = [this](LightingEffect e) {
            return m_texts.lookupMode(std::to_string(EffectNumber(e)), kEnglish);
        };
        std::string why;
        if (!change.apply && !cli::ResolveLightingEffect(change, state.config, effectName, &why)) {
            replyError(connection, message, "InvalidArgument", why);
            return;
        }
        LightingWriter writer(m_setup.link->commands(), state);
        if (const int r = change.apply(writer); r != LINK_OK) {
            const bool refused = r == LINK_STATUS_FF || r == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed", FailureText("writing the lighting", r));
            return;
        }
        connection.send(message.createReply(QString::fromStdString(change.description)));
        writtenByClient();
    });
}

void KeyboardBusService::paintKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile,
                                  const QString& key, const QString& color) {
    if (profile < 1 || profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    const auto rgb = cli::ParseColorArgument(color.toStdString());
    if (!rgb) {
        replyError(connection, message, "InvalidArgument", cli::NotAColorText(color.toStdString()));
        return;
    }
    m_worker.post([this, message, connection, profile, key, rgb = *rgb] {
        const TextLookup text = [this](std::string_view k) { return m_texts.lookupText(k, kEnglish); };
        std::string problem;
        const auto control = cli::PaintableControl(key.toStdString(), cli::KeyNames(text), &problem);
        if (!control) {
            replyError(connection, message, "InvalidArgument", problem);
            return;
        }
        DeviceLink& link = *m_setup.link;
        if (!keyboardPresent(message, connection)) return;
        // The colour file is the pattern's truth, as for ombrelctl: opened, painted and saved in one go, and the
        // window reloads it once the write has settled.
        if (const PerUserFolderResult folder = EnsurePerUserFolder(m_setup.paths);
            folder.status == PerUserFolderStatus::Failed) {
            replyError(connection, message, "Failed", "cannot create " + m_setup.paths.userDir + ": " + folder.error);
            return;
        }
        UserPatterns patterns(link.commands(), m_setup.paths.userColorPrefix);
        std::string unsaved;
        patterns.onFileUnwritable = [&unsaved](const std::string& why) { unsaved = why; };
        patterns.open(int(profile) - 1);
        const int r = cli::PaintControl(patterns, *control, rgb, false);
        if (r != LINK_OK) {
            const bool refused = r == LINK_STATUS_FF || r == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed", FailureText("writing the key colours", r));
        } else if (!unsaved.empty()) {
            replyError(connection, message, "Failed", "the colours are not saved: " + unsaved);
        } else {
            connection.send(message.createReply());
        }
        writtenByClient();
    });
}

void KeyboardBusService::listMacros(const QDBusMessage& message, const QDBusConnection& connection) {
    m_worker.post([this, message, connection] {
        const TextLookup text = [this](std::string_view k) { return m_texts.lookupText(k, kEnglish); };
        const KeyNameLookup keyName = [this](KeyCode code) { return KeyText(m_texts, code, kEnglish); };
        if (!keyboardPresent(message, connection)) return;
        AssignmentStore store;
        if (!readKeyStore(store, text, message, connection)) return;
        QList<BusMacro> rows;
        for (const MacroRecord& m : store.macros) {
            BusMacro row{m.macroId(), QString::fromStdString(Utf16ToUtf8(m.name())), m.cycles(), m.actionCount(), {}};
            for (const auto& [p, index] : cli::KeysPlayingMacro(store, m.macroId()))
                row.keys << QString::number(p + 1) + QLatin1Char(':') +
                                QString::fromStdString(cli::KeyLabel(index, keyName));
            rows << row;
        }
        connection.send(message.createReply(QVariant::fromValue(rows)));
    });
}

bool KeyboardBusService::ensureUserFolder(const QDBusMessage& message, const QDBusConnection& connection) {
    // Created as the window creates it, so the colour files and the profile store file are where it reads them.
    const PerUserFolderResult folder = EnsurePerUserFolder(m_setup.paths);
    if (folder.status != PerUserFolderStatus::Failed) return true;
    replyError(connection, message, "Failed", "cannot create " + m_setup.paths.userDir + ": " + folder.error);
    return false;
}

void KeyboardBusService::exportSetup(const QDBusMessage& message, const QDBusConnection& connection, uint profile) {
    if (profile > kProfileCount) {
        replyError(connection, message, "InvalidArgument", NotAProfileText(std::to_string(profile)));
        return;
    }
    m_worker.post([this, message, connection, profile] {
        if (!keyboardPresent(message, connection) || !ensureUserFolder(message, connection)) return;
        const cli::CliTexts texts = cli::LoadCliTexts(kEnglish);
        const cli::CliSetupNames names(texts);
        NullScreen quiet;
        SetupPlaces places = setupPlaces(quiet, texts.text);
        KeyboardSetup setup;
        std::string what;
        if (const int r = ReadKeyboardSetup(places, setup, &what); r != LINK_OK) {
            replyError(connection, message, "Failed", FailureText(what.c_str(), r));
            return;
        }
        const std::optional<int> one = profile == 0 ? std::nullopt : std::optional(int(profile) - 1);
        connection.send(message.createReply(QString::fromStdString(cli::ExportKeyboardText(setup, one, names))));
    });
}

void KeyboardBusService::importSetup(const QDBusMessage& message, const QDBusConnection& connection,
                                     const QString& text, bool dryRun) {
    // Each UTF-16 unit is at least one byte of the file: what is over the bound here is over it as a file too.
    if (std::size_t(text.size()) > kMaxKeyboardFileSize) {
        replyError(connection, message, "InvalidArgument",
                   DescribeProblem({1, 1, "the text is larger than 16 MB; no keyboard file is that large"}));
        return;
    }
    m_worker.post([this, message, connection, file = text.toStdString(), dryRun] {
        const cli::CliTexts texts = cli::LoadCliTexts(kEnglish);
        const cli::CliSetupNames names(texts);
        const KeyboardFileRead read = ReadKeyboardFile(file, names);
        if (!keyboardPresent(message, connection)) return;
        if (read.setup && !ensureUserFolder(message, connection)) return;
        NullScreen quiet;
        SetupPlaces places = setupPlaces(quiet, texts.text);
        const cli::ApplyOutcome applied = cli::ApplyKeyboardSetup(places, read, names, dryRun);
        std::string difference;
        for (const std::string& line : applied.difference)
            difference += line + '\n';
        switch (applied.stage) {
        case cli::ApplyOutcome::Stage::ReadFailed:
            replyError(connection, message, "Failed", FailureText(applied.why.c_str(), applied.result));
            return;
        case cli::ApplyOutcome::Stage::Refused:
            replyError(connection, message, "InvalidArgument",
                       cli::DescribeProblems(applied.problems) +
                           "\nthe keyboard file was not applied; nothing was written");
            return;
        case cli::ApplyOutcome::Stage::WriteFailed: {
            // Part of it may have gone through: the window shows what the keyboard holds now.
            writtenByClient();
            if (applied.result == LINK_NOT_KEPT && !applied.why.empty()) {
                replyError(connection, message, "Failed", applied.why);
                return;
            }
            const bool refused = applied.result == LINK_STATUS_FF || applied.result == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed",
                       FailureText(applied.why.c_str(), applied.result) +
                           "\nthe state before the write is kept: see ombrelctl history list");
            return;
        }
        case cli::ApplyOutcome::Stage::Done:
            break;
        }
        connection.send(
            message.createReply(QVariantList{!applied.difference.empty(), QString::fromStdString(difference)}));
        if (!dryRun && !applied.difference.empty()) writtenByClient();
    });
}

void KeyboardBusService::backup(const QDBusMessage& message, const QDBusConnection& connection) {
    m_worker.post([this, message, connection] {
        if (!keyboardPresent(message, connection)) return;
        const TextLookup text = [this](std::string_view k) { return m_texts.lookupText(k, kEnglish); };
        int result = LINK_OK;
        const auto image = ReadKeyboardImage(m_setup.link->commands(), m_setup.link->state(), text, &result);
        if (!image) {
            replyError(connection, message, "Failed", FailureText("reading the key functions and macros", result));
            return;
        }
        connection.send(
            message.createReply(QByteArray(reinterpret_cast<const char*>(image->data()), qsizetype(image->size()))));
    });
}

void KeyboardBusService::restore(const QDBusMessage& message, const QDBusConnection& connection,
                                 const QByteArray& data) {
    if (std::size_t(data.size()) > cli::kMaxBackupUpload) {
        replyError(connection, message, "InvalidArgument", cli::BackupTooLargeText(kBackupName));
        return;
    }
    m_worker.post([this, message, connection, data] {
        const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size()));
        cli::BackupUpload upload = cli::ReadBackupUpload(bytes, kBackupName);
        if (!upload.contents) {
            // A damaged backup ombrelctl would only restore with --force; a malformed one it cannot load at all.
            const bool damaged = upload.verdict == cli::BackupUpload::Verdict::Damaged;
            replyError(connection, message, damaged ? "Refused" : "InvalidArgument", upload.refusal);
            return;
        }
        if (!keyboardPresent(message, connection) || !ensureUserFolder(message, connection)) return;
        DeviceLink& link = *m_setup.link;
        KeyStores stores;
        AssignmentStore& working = stores.workingStore;
        std::lock_guard guard(working.lock);
        ReplaceStoreContents(working, std::move(*upload.contents));
        NullScreen screen;
        const int all[] = {0, 1, 2};
        const cli::StoreWriteOutcome written = cli::WriteStoreThrough(stores, link.commands(), link.state(), screen,
                                                                      all, StorePath(m_setup.paths.userDir));
        switch (written.stage) {
        case cli::StoreWriteOutcome::Stage::Done:
            connection.send(message.createReply());
            break;
        case cli::StoreWriteOutcome::Stage::MacrosDoNotFit:
            replyError(connection, message, "Refused", written.message);
            return;
        case cli::StoreWriteOutcome::Stage::WriteFailed: {
            const bool refused = written.result == LINK_STATUS_FF || written.result == LINK_STATUS_FE;
            replyError(connection, message, refused ? "Refused" : "Failed",
                       FailureText(cli::kWritingKeysWhat, written.result));
            break;
        }
        case cli::StoreWriteOutcome::Stage::StoreNotSaved:
            replyError(connection, message, "Failed", written.message);
            break;
        }
        writtenByClient();
    });
}

SetupPlaces KeyboardBusService::setupPlaces(ScreenPort& screen, const TextLookup& text) {
    return SetupPlaces{m_setup.link->commands(),         m_setup.link->state(),        screen, text,
                       StorePath(m_setup.paths.userDir), m_setup.paths.userColorPrefix};
}

void KeyboardBusService::forwardExchange(const QDBusMessage& message, const QDBusConnection& connection) {
    const QByteArray request = message.arguments().at(0).toByteArray();
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(request.constData()), std::size_t(request.size()));
    const ForwardedRequestCheck check = CheckForwardedRequest(bytes);
    if (!check.allowed) {
        replyError(connection, message, "Refused", check.problem);
        return;
    }
    m_worker.post([this, message, connection, request, writes = check.writes] {
        std::array<std::uint8_t, Report::kSize> reply{};
        int length = 0;
        const LinkResult r =
            m_setup.link->exchange().ExchangeReport(reinterpret_cast<const std::uint8_t*>(request.constData()),
                                                    std::size_t(request.size()), reply.data(), reply.size(), &length);
        // A client's configuration write may switch the profile: the window's cached one is asked again.
        if (writes && std::uint8_t(request.at(3)) == CMD_WRITE_CONFIG) m_setup.link->state().cachedProfile.store(-1);
        connection.send(message.createReply(
            QVariantList{int(r), QByteArray(reinterpret_cast<const char*>(reply.data()), r == LINK_OK ? length : 0)}));
        if (writes && r == LINK_OK) writtenByClient();
    });
}

} // namespace ombrel
