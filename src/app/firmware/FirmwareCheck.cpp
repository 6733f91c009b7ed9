#include "FirmwareCheck.h"

#include "FirmwarePart.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"

#include <QDir>
#include <QProcess>

#include <cstdio>

namespace ombrel {

namespace {

constexpr char kUpdaterName[] = "Varn88-3-Updater";

} // namespace

FirmwareCheck::FirmwareCheck(WindowContext& context, FirmwarePart& firmware, QObject* parent)
    : QObject(parent), m_context(context), m_firmware(firmware) {
    setObjectName(QStringLiteral("firmwareCheck"));
}

void FirmwareCheck::run() {
    DeviceLink* link = m_context.link();
    std::array<std::uint8_t, kConfigSize> block{};
    if (!link || link->commands().ReadConfig(block) != LINK_OK) return;
    ConfigBlock config;
    std::copy(block.begin(), block.end(), config.bytes.begin());
    if (!config.needsFirmwareUpdate()) return;
    const auto answer = UserPrompts::ask(m_context.window(), m_context.text("FIRMWARE_TOO_OLD"),
                                         m_context.text("FIRMWARE_TOO_OLD_CAPTION"),
                                         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer != QMessageBox::Ok) {
        emit exitRequested();
        return;
    }
    startUpdater();
}

void FirmwareCheck::startUpdater() {
    // An update must never cost the user their assignments.
    if (!m_firmware.backupBeforeUpdater()) return;
    const QString folder = QString::fromStdString(m_context.paths().helpDir);
    const QString updater = QDir(folder).filePath(QString::fromLatin1(kUpdaterName));
    if (!QProcess::startDetached(updater, {QStringLiteral("In the upgrade")}, folder))
        std::fprintf(stderr, "ombrel: the firmware updater %s could not be started\n", qPrintable(updater));
}

} // namespace ombrel
