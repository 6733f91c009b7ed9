#include "CommandBar.h"

#include "DeviceTask.h"
#include "MainMessages.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "profiles/ProfileStore.h"
#include "transfer/KeyboardWriter.h"

#include <QEvent>
#include <QLabel>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
constexpr int kApplyFrames = 10;
constexpr int kIndicatorLingerMs = 100;

} // namespace

CommandBar::CommandBar(WindowContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_animation(this) {
    setObjectName(QStringLiteral("commandBar"));
    connect(&context, &WindowContext::languageChanged, this, &CommandBar::applyTexts);
    const std::pair<Button, const char*> keys[] = {{Button::Ok, "CONTROL_OK"},
                                                   {Button::Cancel, "CONTROL_CANCEL"},
                                                   {Button::Apply, "CONTROL2_APPLY"},
                                                   {Button::Default, "FUNC_DEFAULT"}};
    for (const auto& [which, key] : keys) {
        // Apply's disabled face is the normal one with dim text, so "nothing to apply" reads at a glance.
        SkinButton* b = m_context.addButton(QString::fromLatin1(key));
        StyleTextButton(b);
        m_buttons[static_cast<int>(which)] = b;
    }
    connect(button(Button::Ok), &SkinButton::clicked, this, [this] {
        // A failed Apply said why; the window stays so the edits are in view.
        if (apply()) emit hideRequested();
    });
    connect(button(Button::Cancel), &SkinButton::clicked, this, &CommandBar::hideRequested);
    connect(button(Button::Apply), &SkinButton::clicked, this, [this] { apply(); });
    connect(button(Button::Default), &SkinButton::clicked, this, &CommandBar::resetAll);
    connect(&m_context.pending(), &PendingChanges::changed, button(Button::Apply), &SkinButton::setEnabled);
    button(Button::Apply)->setEnabled(m_context.pending().pending());

    m_progress = new QLabel(m_context.window());
    m_progress->setObjectName(QStringLiteral("CONTROL_JDTStatic"));
    placeControl(m_progress, m_context.layoutFile(), kSection, m_progress->objectName());
    m_progress->setScaledContents(true);
    m_progress->hide();
    m_animation.setObjectName(QStringLiteral("applyAnimationTimer"));
    m_animation.setInterval(kApplyAnimIntervalMs);
    connect(&m_animation, &QTimer::timeout, this, &CommandBar::onAnimationTick);
    // The animation follows the window: it stops while the window is hidden and goes on when it is shown.
    m_context.window()->installEventFilter(this);
}

SkinButton* CommandBar::button(Button which) const {
    return m_buttons[static_cast<int>(which)];
}

void CommandBar::applyTexts() {
    struct Texts {
        Button which;
        const char* caption;
        const char* description;
    };
    const Texts texts[] = {{Button::Default, "PROFILE_DEFAULT", "ACC_DEFAULT_DESC"},
                           {Button::Ok, "PROFILE_OK", "ACC_OK_DESC"},
                           {Button::Cancel, "PROFILE_CANCLE", "ACC_CANCEL_DESC"},
                           {Button::Apply, "PROFILE_APPLY", "ACC_APPLY_DESC"}};
    for (const auto& [which, caption, description] : texts) {
        button(which)->setText(m_context.text(caption));
        button(which)->setAccessibleDescription(m_context.text(description));
    }
    button(Button::Cancel)->setInstantToolTip(m_context.text("MAIN_CANCEL_TIP"));
}

bool CommandBar::apply() {
    DeviceLink* link = m_context.link();
    if (m_context.pending().pending() && (!link || !link->state().devicePresent())) {
        UserPrompts::information(m_context.window(), m_context.text("MAIN_APPLY_UNPLUGGED"));
        return false;
    }
    startApplyIndicator();
    bool ok = true;
    if (m_context.pending().pending() && link) {
        KeyStores& stores = m_context.stores();
        const std::string path = StorePath(m_context.paths().userDir);
        ScreenPort& screen = m_context.screen();
        ok = DeviceTask::run(m_context.dispatcher(), m_context.window(), [&] {
                 std::lock_guard lock(stores.workingStore.lock);
                 const int saved = SaveStore(stores.workingStore, path, false);
                 const auto written = ApplyToKeyboard(stores, link->commands(), link->state(), screen, 0);
                 return saved == 1 && written == LINK_OK ? 1 : 0;
             }) == 1;
        if (ok) m_context.pending().set(false);
    }
    stopApplyIndicator();
    // A write the keyboard refused or could not keep is never passed over in silence: the edits stay pending.
    if (!ok) UserPrompts::information(m_context.window(), m_context.text("MAIN_APPLY_FAILED"));
    if (ok) emit applied();
    return ok;
}

void CommandBar::resetAll() {
    if (UserPrompts::ask(m_context.window(), m_context.text("MAIN_PROMPT_DEFAULT"), QString(),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    {
        auto& working = m_context.stores().workingStore;
        std::lock_guard lock(working.lock);
        const int layer = m_context.activeLayer();
        const int bank = m_context.bank();
        for (const KeyButton& k : KeyButtonTable())
            working.image.setRecord(RecordNumber(layer, KeyIndexOf(k.code)), KeyRecord{});
        for (int i = 0; i < kGKeyCount; ++i)
            working.image.setRecord(RecordNumber(layer, GKeyIndex(i, bank)), KeyRecord{});
    }
    m_context.pending().set(true);
    emit keysReset();
    apply();
}

bool CommandBar::confirmUnappliedChanges() {
    if (!m_context.pending().pending()) return true;
    const auto answer =
        UserPrompts::ask(m_context.window(), m_context.text("MAIN_PROMPT_UNAPPLIED"), QString(),
                         QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) return true;
    // A failed Apply keeps the window open with Apply lit, so nothing is lost.
    return answer == QMessageBox::Apply && apply();
}

void CommandBar::onAnimationTick() {
    m_frame = m_frame % kApplyFrames + 1;
    m_progress->setPixmap(*m_context.skinPicture(QStringLiteral("jdt%1.bmp").arg(m_frame)));
}

void CommandBar::startApplyIndicator() {
    m_frame = 0;
    onAnimationTick();
    m_progress->show();
    if (m_context.window()->isVisible()) m_animation.start();
}

void CommandBar::stopApplyIndicator() {
    // The picture stays a moment, so even an Apply with nothing to write is seen to happen.
    QTimer::singleShot(kIndicatorLingerMs, this, [this] {
        m_animation.stop();
        if (!DeviceTask::running()) m_progress->hide();
    });
}

bool CommandBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_context.window()) {
        if (event->type() == QEvent::Hide)
            m_animation.stop();
        else if (event->type() == QEvent::Show && m_progress->isVisible() && !m_animation.isActive() &&
                 DeviceTask::running())
            m_animation.start();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ombrel
