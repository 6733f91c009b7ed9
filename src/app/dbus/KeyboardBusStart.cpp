#include "KeyboardBusStart.h"

#include "KeyboardBusService.h"
#include "MainWindow.h"

#include "platform/AppPaths.h"

#include <QDBusConnection>

#include <cstdio>

namespace ombrel {

std::unique_ptr<KeyboardBusService>
ServeKeyboardOnBus(MainWindow& window, const std::string& target, const std::string& dataDir, const AppPaths& userPaths,
                   std::function<void(const apprules::ApplicationIdentity&)> applicationActivated) {
    if (!window.link()) return nullptr;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return nullptr; // no desktop session: nothing to serve
    KeyboardBusService::Setup setup;
    setup.link = window.link();
    setup.target = target;
    setup.dataDir = dataDir;
    setup.paths = userPaths;
    setup.changedByBus = [&window] { window.showChangedElsewhere(); };
    if (applicationActivated)
        setup.applicationActivated =
            [&window, activated = std::move(applicationActivated)](const apprules::ApplicationIdentity& front) {
                QMetaObject::invokeMethod(
                    &window, [activated, front] { activated(front); }, Qt::QueuedConnection);
            };
    auto service = std::make_unique<KeyboardBusService>(std::move(setup));
    QString error;
    if (!service->publish(bus, &error)) {
        std::fprintf(stderr, "ombrel: %s; scripts and ombrelctl reach the keyboard directly\n", qPrintable(error));
        return nullptr;
    }
    KeyboardBusService* served = service.get();
    QObject::connect(&window, &MainWindow::keyboardChanged, served, &KeyboardBusService::refresh);
    // Before the link goes: no client call may reach a keyboard connection that is shutting down.
    QObject::connect(&window, &MainWindow::ended, served, &KeyboardBusService::withdraw);
    return service;
}

} // namespace ombrel
