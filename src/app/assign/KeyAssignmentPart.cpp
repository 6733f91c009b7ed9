#include "KeyAssignmentPart.h"

#include "KeyAssignmentDialog.h"
#include "KeyboardMap.h"
#include "SkinButton.h"
#include "WindowContext.h"

#include "keys/KeyImage.h"

namespace ombrel {

namespace {

constexpr int kGKeysPerBank = 9;
constexpr int kMacroOnlyPosition = kGKeysPerBank - 1; // the ninth G key

} // namespace

KeyAssignmentPart::KeyAssignmentPart(WindowContext& context, KeyboardMap& map, QObject* parent)
    : QObject(parent), m_context(context), m_map(map) {
    connect(&m_map, &KeyboardMap::keyClicked, this, &KeyAssignmentPart::open);
    connect(&context, &WindowContext::languageChanged, this, &KeyAssignmentPart::applyTexts);
}

SkinButton* KeyAssignmentPart::buttonOf(KeyIndex key) const {
    if (key >= kFirstGKeyIndex && key < kFirstGKeyIndex + kGKeySlots)
        return m_map.button(GKeyControls()[static_cast<std::size_t>((key - kFirstGKeyIndex) % kGKeysPerBank)]);
    for (const KeyButton& b : KeyButtonTable())
        if (KeyIndexOf(b.code) == key) return m_map.button(b.control);
    return nullptr;
}

void KeyAssignmentPart::open(KeyIndex key) {
    if (m_dialog && m_dialog->isVisible()) return;
    if (!m_dialog) {
        m_dialog = new KeyAssignmentDialog(QString::fromStdString(m_context.paths().compositeIni),
                                           m_context.stores().workingStore, m_context.settings(), m_context.window());
        connect(m_dialog, &KeyAssignmentDialog::applied, this, [this] {
            m_map.refresh();
            m_context.pending().set(true);
        });
        connect(m_dialog, &KeyAssignmentDialog::helpRequested, this, &KeyAssignmentPart::helpRequested);
        connect(m_dialog, &QDialog::finished, this, [this] {
            if (m_pressed) m_pressed->setDown(false);
            m_pressed = nullptr;
            m_context.setKeyDialogOpen(false);
        });
    }
    const bool gKey = key >= kFirstGKeyIndex && key < kFirstGKeyIndex + kGKeySlots;
    const bool macroOnly = gKey && (key - kFirstGKeyIndex) % kGKeysPerBank == kMacroOnlyPosition;
    SkinButton* button = buttonOf(key);
    std::optional<QRect> rect;
    if (button) rect = QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    if (!m_dialog->prepare(key, m_context.activeLayer(), macroOnly, rect, m_context.languageIndex())) return;
    m_pressed = button;
    if (button) button->setDown(true);
    // A profile switch meanwhile would change the store the dialog edits; the profile bar refuses it while open.
    m_context.setKeyDialogOpen(true);
    m_dialog->open();
}

void KeyAssignmentPart::closeForDetach() {
    if (m_dialog) m_dialog->cancelForUnplug();
}

void KeyAssignmentPart::applyTexts() {
    if (m_dialog && m_dialog->isVisible()) m_dialog->applyTexts(m_context.languageIndex());
}

} // namespace ombrel
