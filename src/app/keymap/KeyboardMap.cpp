#include "KeyboardMap.h"

#include "KeyCaption.h"
#include "MainMessages.h"
#include "MapKeyFocus.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "WindowContext.h"

#include "assign/CompositeKeyChoice.h"
#include "keyboard/KeyTable.h"

#include <QColor>
#include <QWidget>

#include <cstdlib>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
const QString kSection2 = QStringLiteral("BUTTONINFO2");
constexpr int kGKeysPerCaptionedRow = 5; // G1..G5 carry bank captions; G6..G9 none

int GKeyPosition(int controlId) {
    const auto& ids = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i)
        if (ids[static_cast<std::size_t>(i)] == controlId) return i;
    return -1;
}

const KeyButton* KeyButtonOf(int controlId) {
    for (const KeyButton& k : KeyButtonTable())
        if (k.control == controlId) return &k;
    return nullptr;
}

// The veil over main_normal that makes the face of a key the layout switches off.
const QColor kSwitchedOffVeil(10, 12, 15, 150);

} // namespace

MapPictures MapPictures::fromSkin(const WindowContext& context) {
    auto picture = [&](const char* name) { return context.statePicture(QString::fromLatin1(name)); };
    MapPictures pictures;
    pictures.normal = picture("main_normal.jpg");
    pictures.over = picture("main_over.jpg");
    pictures.down = picture("main_down.jpg");
    pictures.disable = picture("main_disable.jpg");
    pictures.normal2 = pictures.normal; // the second set is read from the same files
    pictures.arrow = context.skinPicture(QStringLiteral("Arrow.jpg"));
    pictures.color0 = picture("main_color0.jpg");
    pictures.color1 = picture("main_color1.jpg");
    pictures.dimmed = context.statePicture(QStringLiteral("main_normal.jpg"), kSwitchedOffVeil);
    return pictures;
}

KeyboardMap::KeyboardMap(WindowContext& context, MapPictures pictures, QObject* parent)
    : QObject(parent), m_context(context), m_layoutFile(context.layoutFile()), m_pictures(std::move(pictures)),
      m_keyFocus(new MapKeyFocus(this)) {
    setObjectName(QStringLiteral("keyboardMap"));
    connect(&context, &WindowContext::languageChanged, this, &KeyboardMap::applyTexts);
    placeKeyButtons();
    placeMapControls();
    applyLayout(storedLayout());
}

std::optional<KeyIndex> KeyboardMap::keyIndexOfButton(int controlId, int bank) {
    if (const KeyButton* k = KeyButtonOf(controlId)) return KeyIndexOf(k->code);
    const int g = GKeyPosition(controlId);
    if (g >= 0) return GKeyIndex(g, bank);
    return std::nullopt;
}

SkinButton* KeyboardMap::button(int controlId) const {
    const auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

SkinButton* KeyboardMap::switchButton() const {
    return button(kIdSwitch);
}

SkinButton* KeyboardMap::make(int controlId, const QString& skinKey) {
    auto* b = new SkinButton(m_context.window());
    b->setObjectName(skinKey);
    b->setProperty("controlId", controlId);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &SkinButton::clicked, this, [this, controlId] { onButtonClicked(controlId); });
    m_buttons[controlId] = b;
    return b;
}

void KeyboardMap::onButtonClicked(int controlId) {
    switch (controlId) {
    case kIdLayoutToggle:
    case kIdLayoutToggleAlt:
        toggleLayout();
        return;
    case kIdSwitch:
        // While keys are painted the clicks belong to the lighting panel; its switch ends painting.
        if (m_mode != MapMode::PaintColours)
            setMode(m_mode == MapMode::MultiSelect ? MapMode::ShowAssignments : MapMode::MultiSelect);
        return;
    default:
        // Fn, D1..D6, the indicators, Flip0 and the arrows have no record of their own: clickKey ignores them.
        clickKey(controlId);
    }
}

void KeyboardMap::clickKey(int controlId) {
    // Painting colours the keys and Fn; the G keys share one colour, so a click on one opens its assignment.
    if (m_mode == MapMode::PaintColours && (controlId == kIdFn || KeyButtonOf(controlId))) {
        emit keyPainted(controlId);
        return;
    }
    const auto key = keyIndexOfButton(controlId, m_context.bank());
    if (!key) return;
    switch (m_mode) {
    case MapMode::ShowAssignments:
        emit keyClicked(*key);
        break;
    case MapMode::MultiSelect:
        toggleMark(*key);
        break;
    case MapMode::PaintColours:
        emit keyClicked(*key);
        break;
    }
}

void KeyboardMap::toggleMark(KeyIndex key) {
    ToggleKeyMark(m_context.stores().workingStore, m_context.activeLayer(), key);
    emit marksChanged();
    refreshOverlays();
}

void KeyboardMap::setMode(MapMode mode) {
    const bool changed = mode != m_mode;
    m_mode = mode;
    applyTexts();
    refreshOverlays();
    if (changed) emit modeChanged(mode);
}

void KeyboardMap::setKeyCursor(Qt::CursorShape shape) {
    for (const auto& [id, button] : m_buttons)
        if (id == kIdFn || KeyButtonOf(id)) button->setCursor(shape);
}

void KeyboardMap::applyTexts() {
    // The switch is a toggle named after what it turns on; it looks pressed while keys are being marked.
    if (SkinButton* b = switchButton()) {
        b->setText(m_context.text("MAIN_SWITCH_COLOR_TEXT"));
        b->setCheckedLook(m_mode == MapMode::MultiSelect);
    }
    showLayoutLabel();
    m_macro->setText(m_context.text("PROFILE_MACRO"));
    if (SkinButton* b = switchButton()) b->setAccessibleDescription(m_context.text("ACC_SWITCH_DESC"));
    m_macro->setAccessibleDescription(m_context.text("ACC_MACRO_DESC"));
    if (SkinButton* toggle = button(kIdLayoutToggle)) {
        toggle->setAccessibleName(m_context.text("ACC_LAYOUT"));
        toggle->setAccessibleDescription(m_context.text("ACC_LAYOUT_DESC"));
    }
}

void KeyboardMap::placeKeyButtons() {
    const MapPictures& p = m_pictures;
    // Key and G-key buttons: their checked face (a key with an assignment) comes from main_disable; a key that the
    // layout switches off shows the dimmed face.
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i) {
        const QString key = QString::fromStdString(SkinKeyOfGKey(i));
        placeSkinButton(make(gIds[static_cast<std::size_t>(i)], key), m_layoutFile, kSection, key, p.normal, p.over,
                        p.down, p.dimmed, p.disable);
        m_keyFocus->addKey(button(gIds[static_cast<std::size_t>(i)]));
    }
    for (const KeyButton& k : KeyButtonTable()) {
        const QString key = QString::fromStdString(SkinKeyOfButton(k.code));
        placeSkinButton(make(k.control, key), m_layoutFile, kSection, key, p.normal, p.over, p.down, p.dimmed,
                        p.disable);
        m_keyFocus->addKey(button(k.control));
    }
    for (std::size_t i = 0; i < kLayoutDKeyIds.size(); ++i) {
        const QString key = QStringLiteral("KEY_D%1").arg(i + 1);
        SkinButton* d = make(kLayoutDKeyIds[i], key);
        placeSkinButton(d, m_layoutFile, kSection, key, p.normal, p.over, p.down, p.dimmed, p.disable);
        // D1..D6 have no function of their own: only their picture.
        d->setAccessibleKind(AccessibleKind::Decoration);
    }
    placeSkinButton(make(kIdFn, QStringLiteral("KEY_FN")), m_layoutFile, kSection, QStringLiteral("KEY_FN"), p.normal,
                    p.over, p.down, p.dimmed, p.disable);
    // D1..D6 have no function of their own, so the arrows pass them by; Fn takes a colour while keys are painted.
    m_keyFocus->addKey(button(kIdFn));
    // A wide key is drawn in two pieces on some layouts: Enter repaints the key above it.
    if (SkinButton* enter = button(kIdEnterKey)) enter->setAfterPaint([this](SkinButton* b, bool) { onAfterPaint(b); });
}

void KeyboardMap::placeMapControls() {
    const MapPictures& p = m_pictures;
    const std::pair<int, const char*> locks[] = {
        {kIdLockCaps, "LOCK_CAPS"}, {kIdLockNum, "LOCK_NUM"}, {kIdLockScroll, "LOCK_SCROLL"}, {kIdLockBank, "LOCK_AB"}};
    for (const auto& [id, key] : locks) {
        SkinButton* b = make(id, QString::fromLatin1(key));
        placeSkinButton(b, m_layoutFile, kSection, b->objectName(), p.normal, p.normal, p.normal, p.normal, p.over);
    }
    SkinButton* layoutLabel = make(kIdLayoutLabel, QStringLiteral("FLIP_0"));
    StyleTextButton(layoutLabel, 9);
    placeSkinButton(layoutLabel, m_layoutFile, kSection, layoutLabel->objectName(), p.normal, p.normal, p.normal,
                    p.normal, p.disable);
    for (const auto& [id, key] : {std::pair{kIdLayoutToggle, "FLIP_1"}, std::pair{kIdLayoutToggleAlt, "FLIP_2"}}) {
        SkinButton* b = make(id, QString::fromLatin1(key));
        placeSkinButton(b, m_layoutFile, kSection, b->objectName(), p.normal, p.over, p.down, p.normal, p.disable);
    }
    for (int id : {kIdLockBank, kIdLayoutLabel, kIdLayoutToggle, kIdLayoutToggleAlt})
        button(id)->setAfterPaint([this](SkinButton* b, bool) { onAfterPaint(b); });
    // The lock lights, FLIP_0 and FLIP_2 (FLIP_1 does what FLIP_2 does) are parts of the keyboard's picture that
    // no click changes: a screen reader does not list them.
    for (const auto& [id, key] : locks)
        button(id)->setAccessibleKind(AccessibleKind::Decoration);
    for (int id : {kIdLayoutLabel, kIdLayoutToggleAlt})
        button(id)->setAccessibleKind(AccessibleKind::Decoration);
    placeArrow(kIdLeftArrow, "LEFT_ARROW", "UP_ARROW_LEFT", "DOWN_ARROW_LEFT");
    placeArrow(kIdRightArrow, "RIGHT_ARROW", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT");
    SkinButton* switchButton = make(kIdSwitch, QStringLiteral("FUNC_SWITCH"));
    placeSkinButton(switchButton, m_layoutFile, kSection, switchButton->objectName(), p.normal, p.over, p.down,
                    p.normal, p.down);
    StyleTextButton(switchButton);
    // FLIP_1 and FLIP_2 do the same, so one of them is enough for the keyboard.
    for (SkinButton* b : {switchButton, button(kIdLayoutToggle)})
        b->setFocusPolicy(Qt::StrongFocus);
    // The Macro button acts as a click on the last G key, the one that usually holds a macro.
    m_macro = new SkinButton(m_context.window());
    m_macro->setObjectName(QStringLiteral("FUNC_MACRO"));
    placeSkinButton(m_macro, m_layoutFile, kSection, m_macro->objectName(), p.normal, p.over, p.down, p.normal,
                    p.disable);
    StyleTextButton(m_macro);
    connect(m_macro, &SkinButton::clicked, this, [this] { clickKey(GKeyControls()[kGKeyCount - 1]); });
}

void KeyboardMap::placeArrow(int controlId, const char* key, const char* upFace, const char* downFace) {
    SkinButton* arrow = button(controlId);
    if (!arrow) arrow = make(controlId, QString::fromLatin1(key));
    arrow->setAccessibleKind(AccessibleKind::Decoration); // it only points at the layout switch
    // The face number stays 0, so the face used is always the one numbered 1.
    const QString face = QString::fromLatin1(m_layout == 1 ? upFace : downFace) + QLatin1Char('1');
    placeArrowButton(arrow, m_layoutFile, kSection, QString::fromLatin1(key), kSection2, face, m_pictures.arrow);
}

void KeyboardMap::onAfterPaint(SkinButton* b) {
    const int id = b->property("controlId").toInt();
    const bool hover = b->isHovered();
    bool& last = m_lastHover[id];
    if (last == hover) return; // only a change of the hover face concerns the neighbours
    last = hover;
    auto repaint = [this](int other) {
        if (SkinButton* o = button(other)) o->update();
    };
    switch (id) {
    case kIdLockBank:
        for (int g : GKeyControls())
            repaint(g);
        break;
    case kIdEnterKey:
        repaint(kIdBackslashKey);
        break;
    case kIdLayoutLabel:
        if (m_layout == 0) {
            for (int f : kLayoutFKeyIds)
                repaint(f);
        } else {
            for (int d : kLayoutDKeyIds)
                repaint(d);
        }
        repaint(kIdF5);
        repaint(kIdLayoutToggle);
        repaint(kIdLayoutToggleAlt);
        break;
    case kIdLayoutToggle:
        placeArrow(kIdLeftArrow, "LEFT_ARROW", "UP_ARROW_LEFT", "DOWN_ARROW_LEFT");
        button(kIdLeftArrow)->setEnabled(hover);
        break;
    case kIdLayoutToggleAlt:
        placeArrow(kIdRightArrow, "RIGHT_ARROW", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT");
        button(kIdRightArrow)->setEnabled(hover);
        break;
    default:
        break;
    }
}

void KeyboardMap::refresh() {
    const int languageIndex = m_context.languageIndex();
    auto& working = m_context.stores().workingStore;
    {
        std::lock_guard lock(working.lock);
        const KeyImage& image = working.image;
        const int layer = m_context.activeLayer();
        const MacroNameLookup macroName = MacroNamesOf(working);
        auto mark = [&](int controlId, KeyIndex index) {
            SkinButton* b = button(controlId);
            if (!b) return;
            b->setCheckedLook(image.record(RecordNumber(layer, index)).type != KF_DEFAULT);
            b->setInstantToolTip(KeyCaption(image, layer, index, macroName, languageIndex));
            const SpokenKey spoken = SpokenKeyOf(image, layer, index, macroName, languageIndex);
            b->setAccessibleName(spoken.name);
            b->setAccessibleDescription(spoken.assignment);
        };
        const int bank = m_context.bank();
        const auto& gIds = GKeyControls();
        for (int i = 0; i < kGKeyCount; ++i)
            mark(gIds[static_cast<std::size_t>(i)], GKeyIndex(i, bank));
        for (const KeyButton& k : KeyButtonTable())
            mark(k.control, KeyIndexOf(k.code));
    }
    if (SkinButton* fn = button(kIdFn)) {
        fn->setAccessibleName(QStringLiteral("Fn"));
        fn->setAccessibleDescription(m_context.text("ACC_KEY_FN"));
    }
    applyLayout(storedLayout());
}

void KeyboardMap::showBank() {
    const int bank = m_context.bank();
    auto& working = m_context.stores().workingStore;
    {
        std::lock_guard lock(working.lock);
        const int layer = m_context.activeLayer();
        const auto& gIds = GKeyControls();
        const MacroNameLookup macroName = MacroNamesOf(working);
        for (int i = 0; i < kGKeyCount; ++i) {
            SkinButton* b = button(gIds[static_cast<std::size_t>(i)]);
            if (!b) continue;
            b->setCheckedLook(working.image.record(RecordNumber(layer, GKeyIndex(i, bank))).type != KF_DEFAULT);
            // A screen reader tells what the key does in the bank now shown.
            const SpokenKey spoken =
                SpokenKeyOf(working.image, layer, GKeyIndex(i, bank), macroName, m_context.languageIndex());
            b->setAccessibleName(spoken.name);
            b->setAccessibleDescription(spoken.assignment);
        }
    }
    refreshOverlays();
    if (SkinButton* indicator = button(kIdLockBank)) indicator->setCheckedLook(bank != 0);
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i) {
        SkinButton* b = button(gIds[static_cast<std::size_t>(i)]);
        if (!b) continue;
        b->setText(i < kGKeysPerCaptionedRow ? QStringLiteral("%1%2").arg(bank ? 'B' : 'A').arg(i + 1) : QString());
    }
}

void KeyboardMap::refreshOverlays() {
    const bool multiSelect = m_mode == MapMode::MultiSelect;
    auto& working = m_context.stores().workingStore;
    std::lock_guard lock(working.lock);
    const int layer = m_context.activeLayer();
    const int bank = m_context.bank();
    auto overlay = [&](int controlId, KeyIndex index) {
        SkinButton* b = button(controlId);
        if (!b) return;
        const bool marked = working.image.record(RecordNumber(layer, index)).mark != 0;
        b->setAlternate(m_pictures.color0, m_pictures.color1, multiSelect, marked);
    };
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i)
        overlay(gIds[static_cast<std::size_t>(i)], GKeyIndex(i, bank));
    for (const KeyButton& k : KeyButtonTable())
        overlay(k.control, KeyIndexOf(k.code));
}

int KeyboardMap::storedLayout() const {
    return m_context.settings().getProfileInt("Flip", 0);
}

void KeyboardMap::toggleLayout() {
    // Any value but 1 shows the first layout, so a press always leads to the other one.
    const int next = storedLayout() == 1 ? 0 : 1;
    m_context.settings().writeProfileString("Flip", next ? "1" : "0");
    applyLayout(next);
}

void KeyboardMap::applyLayout(int layout) {
    m_layout = layout == 1 ? 1 : 0;
    for (int f : kLayoutFKeyIds)
        if (SkinButton* b = button(f)) b->setEnabled(m_layout == 0);
    for (int d : kLayoutDKeyIds)
        if (SkinButton* b = button(d)) b->setEnabled(m_layout == 1);
    if (SkinButton* layoutLabel = button(kIdLayoutLabel)) {
        const QPixmap* face = m_layout == 0 ? m_pictures.normal : m_pictures.normal2;
        layoutLabel->setStateFaces(face, face, face, face, m_pictures.disable);
    }
    showLayoutLabel();
}

void KeyboardMap::showLayoutLabel() {
    // The chip between the arrows names the keys the strip shows now.
    if (SkinButton* layoutLabel = button(kIdLayoutLabel))
        layoutLabel->setText(m_context.text(m_layout == 0 ? "MAIN_BANK_F" : "MAIN_BANK_D"));
}

} // namespace ombrel
