#pragma once
// The keyboard on the session bus: the running program owns io.github.ombrel.Ombrel and serves the keyboard's
// object with the public io.github.ombrel.Keyboard1 interface (properties with PropertiesChanged, methods, named
// errors) and ombrelctl's io.github.ombrel.CommandLine1, through which its device exchanges reach the keyboard
// over the program's own connection to it.
//
// Calls arrive on the bus connection's thread, are answered from the cached properties at once or handed to a
// worker thread for the keyboard, and never wait on the window's thread. What a client changed is shown by the
// window when the client's writes have settled.

#include "BusWorker.h"

#include "apprules/ApplicationRules.h"
#include "keys/TextSources.h"
#include "platform/AppPaths.h"
#include "text/LanguageTexts.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <mutex>
#include <string>

namespace ombrel {

struct AssignmentStore;
struct SetupPlaces;
class ScreenPort;
struct LightingState;

class DeviceLink;

class KeyboardBusService : public QDBusVirtualObject {
    Q_OBJECT
public:
    struct Setup {
        DeviceLink* link = nullptr;         // outlives the service
        std::string target;                 // KeyboardTargetName of this run
        std::string dataDir;                // the language files, for the English names of effects and profiles
        AppPaths paths;                     // the per-user folder with the profiles' colour files
        std::function<void()> changedByBus; // on the window's thread, after a client changed the keyboard
        // On the bus connection's thread: the desktop said which application is in front (ApplicationActivated).
        std::function<void(const apprules::ApplicationIdentity&)> applicationActivated;
    };

    // The current values of the properties.
    struct Snapshot {
        bool present = false;
        QString firmwareVersion;
        uint activeProfile = 0; // 1..3, 0 while unknown
        QStringList profileNames;
        QStringList effects;
        bool operator==(const Snapshot&) const = default;
    };

    explicit KeyboardBusService(Setup setup, QObject* parent = nullptr);
    ~KeyboardBusService() override;

    // Registers the object and takes the name on `bus`; false with the reason when either is not available.
    bool publish(const QDBusConnection& bus, QString* error);
    // Gives the name back and finishes the work in hand; no call reaches the keyboard afterwards.
    void withdraw();

    // The keyboard may have changed (the window wrote, the keyboard's profile key was pressed): its properties are
    // read again and the changed ones announced.
    void refresh();
    Snapshot snapshot() const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    bool handleProperties(const QDBusMessage& message, const QDBusConnection& connection);
    void switchProfile(const QDBusMessage& message, const QDBusConnection& connection, qlonglong profile,
                       const QString& given);
    void readKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile, const QString& key);
    void writeKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile, const QString& key,
                  const QString& function);
    void readLighting(const QDBusMessage& message, const QDBusConnection& connection, uint profile);
    void writeLighting(const QDBusMessage& message, const QDBusConnection& connection, uint profile,
                       const QString& field, const QString& value);
    void paintKey(const QDBusMessage& message, const QDBusConnection& connection, uint profile, const QString& key,
                  const QString& color);
    void listMacros(const QDBusMessage& message, const QDBusConnection& connection);
    void applicationActivated(const QDBusMessage& message, const QDBusConnection& connection, const QString& id);
    // Worker thread: false, with the error replied, when there is no keyboard or its key functions cannot be read.
    bool keyboardPresent(const QDBusMessage& message, const QDBusConnection& connection);
    bool readLighting(LightingState& state, int profile, const QDBusMessage& message,
                      const QDBusConnection& connection); // shows `profile` (0..2)
    bool readKeyStore(AssignmentStore& store, const TextLookup& text, const QDBusMessage& message,
                      const QDBusConnection& connection);
    void exportSetup(const QDBusMessage& message, const QDBusConnection& connection, uint profile);
    void importSetup(const QDBusMessage& message, const QDBusConnection& connection, const QString& text, bool dryRun);
    void backup(const QDBusMessage& message, const QDBusConnection& connection);
    void restore(const QDBusMessage& message, const QDBusConnection& connection, const QByteArray& data);
    // Worker thread: false, with the error replied, when the per-user folder cannot be created.
    bool ensureUserFolder(const QDBusMessage& message, const QDBusConnection& connection);
    SetupPlaces setupPlaces(ScreenPort& screen, const TextLookup& text); // worker thread
    void forwardExchange(const QDBusMessage& message, const QDBusConnection& connection);
    Snapshot readSnapshot();                         // worker thread
    void updateSnapshot(const QDBusConnection& bus); // worker thread: read, keep, announce what changed
    void announce(const Snapshot& before, const Snapshot& after, const QDBusConnection& connection);
    void writtenByClient(); // any thread

    Setup m_setup;
    LanguageTexts m_texts;              // worker thread only
    QTimer m_settle;                    // the window shows a client's change once its writes have paused
    mutable std::mutex m_snapshotMutex; // guards m_snapshot between the bus thread and the worker
    Snapshot m_snapshot;
    QDBusConnection m_bus{QString()};
    bool m_published = false;
    BusWorker m_worker; // last: stopped first, while everything it uses is still there
};

} // namespace ombrel
