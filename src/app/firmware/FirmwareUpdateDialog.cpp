#include "FirmwareUpdateDialog.h"

#include "ColorStatic.h"
#include "DialogHeading.h"
#include "FileFilters.h"
#include "PromptQuestions.h"
#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "UserPrompts.h"

#include "firmware/FirmwareTexts.h"
#include "firmware/FirmwareUpdate.h"
#include "platform/AppPaths.h"
#include "text/LanguageTexts.h"

#include <QKeyEvent>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");

} // namespace

FirmwareUpdateDialog::FirmwareUpdateDialog(const QString& layoutFile, const AppPaths& paths, FirmwareUpdate& update,
                                           int languageIndex, QWidget* parent)
    : SkinnedDialog(layoutFile, parent), m_paths(paths), m_update(update), m_languageIndex(languageIndex) {
    setObjectName(QStringLiteral("UpdateDialog"));
    const TextLookup text = [languageIndex](std::string_view key) { return lookupText(key, languageIndex); };
    setWindowTitle(QString::fromStdString(FixedTextOf(text, kUpdateCaption)));
    applyDialogSkin();
    setStyleSheet(ControlStyleSheet());
    MakeDialogLabel(this, layoutFile, QStringLiteral("CONTROL_TitleStatic"), windowTitle(), true);
    MakeDialogLabel(this, layoutFile, QStringLiteral("CONTROL_UPLabel"),
                    QString::fromStdString(FixedTextOf(text, kUpdateProgramLabel)), false);

    m_path = new ColorStatic(this);
    m_path->setObjectName(QStringLiteral("CONTROL_UPStatic"));
    placeControl(m_path, layoutFile, kSection, QStringLiteral("CONTROL_UPStatic"));
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);

    makeButton(kIdOpen, "CONTROL_OPENButton", FixedTextOf(text, kUpdateOpen));
    makeButton(kIdUpdate, "CONTROL_UPButton", FixedTextOf(text, kUpdateStart));
    makeButton(kIdCancelUpdate, "CONTROL_CUPButton", FixedTextOf(text, kUpdateCancel));
    makeButton(kIdBackup, "CONTROL_BACKUPButton", FixedTextOf(text, kUpdateBackup));
    const std::pair<int, const char*> descriptions[] = {{kIdOpen, "ACC_UPDATE_OPEN_DESC"},
                                                        {kIdUpdate, "ACC_UPDATE_START_DESC"},
                                                        {kIdCancelUpdate, "ACC_UPDATE_CANCEL_DESC"},
                                                        {kIdBackup, "ACC_UPDATE_BACKUP_DESC"}};
    // What each button does, for the pointer as for a screen reader.
    for (const auto& [id, key] : descriptions) {
        button(id)->setAccessibleDescription(QString::fromStdString(text(key)));
        button(id)->setInstantToolTip(button(id)->accessibleDescription());
    }
    connect(button(kIdOpen), &SkinButton::clicked, this, &FirmwareUpdateDialog::onOpen);
    connect(button(kIdUpdate), &SkinButton::clicked, this, &FirmwareUpdateDialog::onUpdate);
    connect(button(kIdCancelUpdate), &SkinButton::clicked, this, [this] {
        m_update.cancel();
        reject();
    });
    connect(button(kIdBackup), &SkinButton::clicked, this, &FirmwareUpdateDialog::onBackup);
    showPath();
}

SkinButton* FirmwareUpdateDialog::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

SkinButton* FirmwareUpdateDialog::makeButton(int id, const char* skinKey, const std::string& caption) {
    auto& images = SkinImageCache::instance();
    const QPixmap* normal = images.pixmap(QStringLiteral("update_normal.jpg"));
    const QPixmap* over = images.pixmap(QStringLiteral("update_over.jpg"));
    auto* b = new SkinButton(this);
    b->setObjectName(QString::fromLatin1(skinKey));
    b->setProperty("controlId", id);
    placeSkinButton(b, layoutFile(), kSection, QString::fromLatin1(skinKey), normal, over, over, normal, over);
    b->setText(QString::fromStdString(caption));
    StyleTextButton(b);
    b->setFocusPolicy(Qt::StrongFocus);
    m_buttons[id] = b;
    return b;
}

void FirmwareUpdateDialog::showPath() {
    m_path->setText(QString::fromStdString(m_update.updaterPath()));
}

void FirmwareUpdateDialog::onOpen() {
    const QString chosen = UserPrompts::openFileName(this, QString(), UserPrompts::fileFilter("FILTER_UPDATERS"),
                                                     QString::fromStdString(m_paths.packageDir));
    // Cancelling the dialog clears an earlier choice, so an update never runs a program the user just turned from.
    m_update.chooseUpdater(chosen.toStdString());
    showPath();
}

void FirmwareUpdateDialog::onUpdate() {
    PromptQuestions questions(this);
    const UpdateOutcome outcome = m_update.update(questions);
    showPath();
    if (outcome == UpdateOutcome::Started) accept();
}

void FirmwareUpdateDialog::onBackup() {
    const QString path = UserPrompts::saveFileName(this, QString(), ProfileFileFilter(), QStringLiteral("obp"),
                                                   UserPrompts::proposedBackupName());
    if (path.isEmpty()) return;
    PromptQuestions questions(this);
    m_update.backup(path.toStdString(), questions);
}

void FirmwareUpdateDialog::keyPressEvent(QKeyEvent* event) {
    // Enter must not start an update by accident: only the Update button does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ombrel
