#include "KeyboardMap.h"

#include "CPngButton.h"
#include "MainMessages.h"
#include "SkinPlacement.h"

#include "keyboard/KeyTable.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"

#include <QWidget>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
const QString kSection2 = QStringLiteral("BUTTONINFO2");
constexpr int kExtraKeyCount = 6;
constexpr int kFKeysInFlip = 4;
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

} // namespace

KeyboardMap::KeyboardMap(QWidget* window, QString layoutFile, MapPictures pictures, CommandHandler onCommand)
    : QObject(window), m_window(window), m_layoutFile(std::move(layoutFile)), m_pictures(std::move(pictures)),
      m_onCommand(std::move(onCommand)) {}

bool KeyboardMap::IsKeyButton(int controlId) {
    return KeyButtonOf(controlId) != nullptr;
}

bool KeyboardMap::IsGKeyButton(int controlId) {
    return GKeyPosition(controlId) >= 0;
}

bool KeyboardMap::IsExtraKeyButton(int controlId) {
    return controlId >= kIdD1 && controlId < kIdD1 + kExtraKeyCount;
}

std::optional<KeyIndex> KeyboardMap::KeyIndexOfButton(int controlId, int bank) {
    if (const KeyButton* k = KeyButtonOf(controlId)) return KeyIndexOf(k->code);
    const int g = GKeyPosition(controlId);
    if (g >= 0) return GKeyIndex(g, bank);
    return std::nullopt;
}

CPngButton* KeyboardMap::button(int controlId) const {
    const auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

CPngButton* KeyboardMap::make(int controlId, const QString& skinKey) {
    auto* b = new CPngButton(m_window);
    b->setObjectName(skinKey);
    b->setProperty("controlId", controlId);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &CPngButton::clicked, this, [this, controlId] { m_onCommand(controlId); });
    m_buttons[controlId] = b;
    return b;
}

void KeyboardMap::PlaceKeyButtons() {
    const MapPictures& p = m_pictures;
    // Key and G-key buttons: their checked face (a key with an assignment) comes from main_disable; a key that the
    // layout switches off shows the dimmed face.
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i) {
        const QString key = QString::fromStdString(SkinKeyOfGKey(i));
        placeSkinButton(make(gIds[static_cast<std::size_t>(i)], key), m_layoutFile, kSection, key, p.normal, p.over,
                        p.down, &p.dimmed, p.disable);
    }
    for (const KeyButton& k : KeyButtonTable()) {
        const QString key = QString::fromStdString(SkinKeyOfButton(k.code));
        placeSkinButton(make(k.control, key), m_layoutFile, kSection, key, p.normal, p.over, p.down, &p.dimmed,
                        p.disable);
    }
    for (int i = 0; i < kExtraKeyCount; ++i) {
        const QString key = QStringLiteral("KEY_D%1").arg(i + 1);
        placeSkinButton(make(kIdD1 + i, key), m_layoutFile, kSection, key, p.normal, p.over, p.down, &p.dimmed,
                        p.disable);
    }
    placeSkinButton(make(kIdFn, QStringLiteral("KEY_FN")), m_layoutFile, kSection, QStringLiteral("KEY_FN"), p.normal,
                    p.over, p.down, &p.dimmed, p.disable);
    // A wide key is drawn in two pieces on some layouts: Enter repaints the key above it.
    if (CPngButton* enter = button(kIdEnterKey)) enter->SetAfterPaint([this](CPngButton* b, bool) { onAfterPaint(b); });
}

void KeyboardMap::PlaceMapControls() {
    const MapPictures& p = m_pictures;
    const std::pair<int, const char*> locks[] = {
        {kIdLockCaps, "LOCK_CAPS"}, {kIdLockNum, "LOCK_NUM"}, {kIdLockScroll, "LOCK_SCROLL"}, {kIdLockBank, "LOCK_AB"}};
    for (const auto& [id, key] : locks) {
        CPngButton* b = make(id, QString::fromLatin1(key));
        placeSkinButton(b, m_layoutFile, kSection, b->objectName(), p.normal, p.normal, p.normal, p.normal, p.over);
    }
    CPngButton* flip0 = make(kIdFlip0, QStringLiteral("FLIP_0"));
    placeSkinButton(flip0, m_layoutFile, kSection, flip0->objectName(), p.normal, p.normal, p.normal, p.normal,
                    p.disable);
    for (const auto& [id, key] : {std::pair{kIdFlip1, "FLIP_1"}, std::pair{kIdFlip2, "FLIP_2"}}) {
        CPngButton* b = make(id, QString::fromLatin1(key));
        placeSkinButton(b, m_layoutFile, kSection, b->objectName(), p.normal, p.over, p.down, p.normal, p.disable);
    }
    for (int id : {kIdLockBank, kIdFlip0, kIdFlip1, kIdFlip2})
        button(id)->SetAfterPaint([this](CPngButton* b, bool) { onAfterPaint(b); });
    placeArrow(kIdLeftArrow, "LEFT_ARROW", "UP_ARROW_LEFT", "DOWN_ARROW_LEFT");
    placeArrow(kIdRightArrow, "RIGHT_ARROW", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT");
    for (int i = 0; i < 3; ++i) {
        const QString key = QStringLiteral("FUNC_PROFILE%1").arg(i + 1);
        placeSkinButton(make(kIdProfile1 + i, key), m_layoutFile, kSection, key, p.normal, p.over, p.down, p.normal,
                        p.disable);
    }
    placeSkinButton(make(kIdSwitch, QStringLiteral("FUNC_SWITCH")), m_layoutFile, kSection,
                    QStringLiteral("FUNC_SWITCH"), p.normal, p.over, p.down, p.normal, p.disable);
}

void KeyboardMap::placeArrow(int controlId, const char* key, const char* upFace, const char* downFace) {
    CPngButton* arrow = button(controlId);
    if (!arrow) arrow = make(controlId, QString::fromLatin1(key));
    // The face number stays 0, so the face used is always the one numbered 1.
    const QString face = QString::fromLatin1(m_flip == 1 ? upFace : downFace) + QLatin1Char('1');
    placeArrowButton(arrow, m_layoutFile, kSection, QString::fromLatin1(key), kSection2, face, m_pictures.arrow);
}

void KeyboardMap::onAfterPaint(CPngButton* b) {
    const int id = b->property("controlId").toInt();
    const bool hover = b->IsHover();
    bool& last = m_lastHover[id];
    if (last == hover) return; // only a change of the hover face concerns the neighbours
    last = hover;
    auto repaint = [this](int other) {
        if (CPngButton* o = button(other)) o->update();
    };
    switch (id) {
    case kIdLockBank:
        for (int g : GKeyControls())
            repaint(g);
        break;
    case kIdEnterKey:
        repaint(kIdBackslashKey);
        break;
    case kIdFlip0:
        if (m_flip == 0) {
            for (int i = 0; i < kFKeysInFlip; ++i)
                repaint(kIdF1 + i);
        } else {
            for (int i = 0; i < kExtraKeyCount; ++i)
                repaint(kIdD1 + i);
        }
        repaint(kIdF5);
        repaint(kIdFlip1);
        repaint(kIdFlip2);
        break;
    case kIdFlip1:
        placeArrow(kIdLeftArrow, "LEFT_ARROW", "UP_ARROW_LEFT", "DOWN_ARROW_LEFT");
        button(kIdLeftArrow)->setEnabled(hover);
        break;
    case kIdFlip2:
        placeArrow(kIdRightArrow, "RIGHT_ARROW", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT");
        button(kIdRightArrow)->setEnabled(hover);
        break;
    default:
        break;
    }
}

void KeyboardMap::RefreshKeyMarks(const KeyImage& image, int layer, int bank, const MacroNameLookup& macroName,
                                  int languageIndex) {
    const TextLookup text = [languageIndex](std::string_view key) { return lookupText(key, languageIndex); };
    const KeyNameLookup keyNames = [languageIndex](KeyCode code) { return KeyText(code, languageIndex); };
    auto mark = [&](int controlId, KeyIndex index) {
        CPngButton* b = button(controlId);
        if (!b) return;
        const KeyRecord record = image.record(RecordNumber(layer, index));
        b->SetChecked(record.type != KF_DEFAULT);
        const std::string caption =
            AssignmentCaption(KeyDisplayName(index, keyNames), record, text, keyNames, macroName);
        b->SetTooltip(QString::fromStdString(caption));
    };
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i)
        mark(gIds[static_cast<std::size_t>(i)], GKeyIndex(i, bank));
    for (const KeyButton& k : KeyButtonTable())
        mark(k.control, KeyIndexOf(k.code));
    ApplyLayout(m_flip);
}

void KeyboardMap::RefreshGKeyMarks(const KeyImage& image, int layer, int bank) {
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i) {
        if (CPngButton* b = button(gIds[static_cast<std::size_t>(i)]))
            b->SetChecked(image.record(RecordNumber(layer, GKeyIndex(i, bank))).type != KF_DEFAULT);
    }
}

void KeyboardMap::RefreshOverlays(const KeyImage& image, int layer, int bank, bool multiSelect) {
    auto overlay = [&](int controlId, KeyIndex index) {
        CPngButton* b = button(controlId);
        if (!b) return;
        const bool marked = image.record(RecordNumber(layer, index)).mark != 0;
        b->SetAlternate(m_pictures.color0, m_pictures.color1, multiSelect, marked);
    };
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i)
        overlay(gIds[static_cast<std::size_t>(i)], GKeyIndex(i, bank));
    for (const KeyButton& k : KeyButtonTable())
        overlay(k.control, KeyIndexOf(k.code));
}

void KeyboardMap::ApplyLayout(int flip) {
    m_flip = flip == 1 ? 1 : 0;
    for (int i = 0; i < kFKeysInFlip; ++i)
        if (CPngButton* b = button(kIdF1 + i)) b->setEnabled(m_flip == 0);
    for (int i = 0; i < kExtraKeyCount; ++i)
        if (CPngButton* b = button(kIdD1 + i)) b->setEnabled(m_flip == 1);
    if (CPngButton* flip0 = button(kIdFlip0)) {
        const QPixmap* face = m_flip == 0 ? m_pictures.normal : m_pictures.normal2;
        flip0->SetStateImages(face, face, face, face, m_pictures.disable);
    }
}

void KeyboardMap::MarkProfileButtons(int active) {
    if (active < 0 || active > 2) return;
    for (int i = 0; i < 3; ++i)
        if (CPngButton* b = button(kIdProfile1 + i)) b->SetChecked(i == active);
}

void KeyboardMap::SetBankDisplay(int bank) {
    if (CPngButton* indicator = button(kIdLockBank)) indicator->SetChecked(bank != 0);
    const auto& gIds = GKeyControls();
    for (int i = 0; i < kGKeyCount; ++i) {
        CPngButton* b = button(gIds[static_cast<std::size_t>(i)]);
        if (!b) continue;
        b->setText(i < kGKeysPerCaptionedRow ? QStringLiteral("%1%2").arg(bank ? 'B' : 'A').arg(i + 1) : QString());
    }
}

void KeyboardMap::SetSwitchCaption(const QString& caption) {
    if (CPngButton* b = button(kIdSwitch)) b->setText(caption);
}

} // namespace ombrel
