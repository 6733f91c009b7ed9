#pragma once
// The window's firmware part: the update the firmware dialog drives (its chosen updater survives the dialog), the
// dialog itself, and the automatic backup taken before any updater starts.

#include "firmware/FirmwareUpdate.h"

#include <QObject>

#include <memory>

namespace ombrel {

class WindowContext;

class FirmwarePart : public QObject {
    Q_OBJECT
public:
    FirmwarePart(WindowContext& context, QObject* parent);
    ~FirmwarePart() override;

    // The firmware dialog, modal.
    void openDialog();
    // Backs up the store before an updater starts; false (the user was told) when that failed.
    bool backupBeforeUpdater();
    FirmwareUpdate& update();
    // From a started update until the keyboard is back: the keyboard is in its boot loader, not unplugged.
    bool updating() const { return m_updating; }
    void keyboardBack() { m_updating = false; }

private:
    WindowContext& m_context;
    std::unique_ptr<FirmwareUpdate> m_update;
    bool m_updating = false;
};

} // namespace ombrel
