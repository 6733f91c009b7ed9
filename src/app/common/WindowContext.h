#pragma once
// What a part of the main window may reach: the device link, the key stores, the parent for its prompts, the paths
// and settings, the current language, the skin and whether edits wait for Apply. Parts take this instead of the
// whole window, so each one can be built, read and tested on its own.

#include "UiDispatcher.h"

#include "device/DeviceLink.h"
#include "keys/AssignmentStore.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <string_view>

class QPixmap;
class QWidget;

namespace ombrel {

class SkinButton;

class ScreenPort;

// Whether the working store holds edits that Apply has not written yet.
class PendingChanges : public QObject {
    Q_OBJECT
public:
    bool pending() const { return m_pending; }
    void set(bool pending);

signals:
    void changed(bool pending);

private:
    bool m_pending = false;
};

class WindowContext : public QObject {
    Q_OBJECT
public:
    WindowContext(QWidget& window, QString layoutFile, const AppPaths& paths, SettingsStore& settings,
                  UiDispatcher& dispatcher, ScreenPort& screen);
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;

    // The window: parent of the parts' widgets and of every prompt they show.
    QWidget* window() const { return &m_window; }
    const AppPaths& paths() const { return m_paths; }
    SettingsStore& settings() const { return m_settings; }
    UiDispatcher& dispatcher() const { return m_dispatcher; }
    ScreenPort& screen() const { return m_screen; }
    KeyStores& stores() { return m_stores; }
    PendingChanges& pending() { return m_pending; }
    // The key assignment dialog is open: the active profile must not change under it. Its owner sets this.
    bool keyDialogOpen() const { return m_keyDialogOpen; }
    void setKeyDialogOpen(bool open) { m_keyDialogOpen = open; }

    // Null until the window has started the link, and after a failed start.
    DeviceLink* link() const { return m_link; }
    void setLink(DeviceLink* link) { m_link = link; }
    // The layer of the key image the map shows: the active profile, or profile 1's when it is unknown.
    int activeLayer() const;
    int bank() const;

    int languageIndex() const { return m_languageIndex; }
    // Every part that shows texts follows languageChanged, so a new part needs no entry in the window.
    void setLanguageIndex(int index) {
        m_languageIndex = index;
        emit languageChanged(index);
    }
    QString text(std::string_view key) const;
    // A text that carries one argument, such as a file's path, filled in safely.
    QString text(std::string_view key, const QString& argument) const;

    QString layoutFile() const { return m_layoutFile; }
    QString skinFolder() const;
    // A picture of the skin folder, read once per process.
    const QPixmap* skinPicture(const QString& fileName) const;
    // A whole-window state picture of the skin folder, which buttons cut their faces from (see SkinImageCache).
    const QPixmap* statePicture(const QString& fileName, QColor veil = Qt::transparent) const;
    // A button of the window placed from the layout key `skinKey` with the main window's faces (its checked face
    // from main_disable); it takes the focus from Tab and a click.
    SkinButton* addButton(const QString& skinKey) const;

signals:
    void languageChanged(int languageIndex);

private:
    QWidget& m_window;
    QString m_layoutFile;
    const AppPaths& m_paths;
    SettingsStore& m_settings;
    UiDispatcher& m_dispatcher;
    ScreenPort& m_screen;
    KeyStores m_stores;
    PendingChanges m_pending;
    bool m_keyDialogOpen = false;
    DeviceLink* m_link = nullptr;
    int m_languageIndex = 0;
};

} // namespace ombrel
