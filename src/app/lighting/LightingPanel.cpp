#include "LightingPanel.h"
#include "LegacyKeys.h"

#include "ClickablePicture.h"
#include "ColorPicker.h"
#include "ColorStatic.h"
#include "EffectGroup.h"
#include "KeyColorOverlay.h"
#include "KeyboardMap.h"
#include "MainMessages.h"
#include "PanelLabel.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinSlider.h"
#include "SkinStyle.h"
#include "UserEffectGroup.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingSession.h"
#include "platform/AppPaths.h"
#include "text/LanguageTexts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegion>
#include <QShortcut>

#include <algorithm>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");
const char* const kRateCaptions[4] = {"1000", "500", "250", "125"};
constexpr int kStatusMs = 8000;

Rgb rgbOf(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

bool isMapKey(int controlId) {
    if (controlId == kFnControl) return true;
    const auto& g = GKeyControls();
    if (std::find(g.begin(), g.end(), controlId) != g.end()) return true;
    const auto& keys = KeyButtonTable();
    return std::any_of(keys.begin(), keys.end(), [&](const KeyButton& k) { return k.control == controlId; });
}

} // namespace

LightingPanel::LightingPanel(WindowContext& context, const MapPictures& pictures)
    : QWidget(context.window()), m_context(context), m_statusTimer(this), m_previewTimer(this), m_reloadTimer(this) {
    setObjectName(QStringLiteral("lightingPanel"));
    connect(&context, &WindowContext::languageChanged, this, &LightingPanel::applyTexts);
    m_previewTimer.setObjectName(QStringLiteral("lightingPreviewTimer"));
    m_previewTimer.setSingleShot(true);
    connect(&m_previewTimer, &QTimer::timeout, this, &LightingPanel::onPreviewTick);
    m_reloadTimer.setObjectName(QStringLiteral("lightingReloadTimer"));
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(0);
    connect(&m_reloadTimer, &QTimer::timeout, this, [this] {
        load(false);
        emit reloaded();
    });
    m_statusTimer.setSingleShot(true);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] {
        m_status->hide();
        updateMask();
    });
    context.window()->installEventFilter(this); // minimising stops the preview; the first paint builds the rest

    m_overlay = new KeyColorOverlay(context.window());
    const QString layoutFile = context.layoutFile();
    setGeometry(context.window()->rect());
    auto label = [&](const char* key, const char* textKey) {
        ColorStatic* l = MakePanelLabel(this, layoutFile, key);
        m_labels.append({l, QString::fromLatin1(textKey)});
        adopt(l);
        return l;
    };

    m_switch = new ClickablePicture(this);
    m_switch->setObjectName(QString::fromLatin1(skinkey::kLightSwitch));
    placeControl(m_switch, layoutFile, kSection, m_switch->objectName());
    m_switch->showPicture(context.skinPicture(QString::fromLatin1(skinpicture::kLightOn)));
    adopt(m_switch);
    m_switch->setAccessibleKind(AccessibleKind::Toggle);
    connect(m_switch, &ClickablePicture::clicked, this, &LightingPanel::onSwitch);
    // The switch decides what a click on the map does, so its label names both sides, the current one lit.
    m_modeLabel = label(skinkey::kLightSwitchLabel, textkey::kLighting);
    m_modeLabel->setTextFormat(Qt::RichText);
    m_modeLabel->installEventFilter(this);
    auto* undo = new QShortcut(QKeySequence::Undo, context.window());
    undo->setObjectName(QStringLiteral("paintUndoShortcut"));
    connect(undo, &QShortcut::activated, this, &LightingPanel::undoPaint);
    m_effectGroup = new EffectGroup(
        context, this, [this](QWidget* w) { adopt(w); },
        [this] { return ensureSession() ? m_session.get() : nullptr; });
    for (const auto& [l, key] : m_effectGroup->labels())
        m_labels.append({l, key});
    connect(m_effectGroup, &EffectGroup::effectChosen, this, &LightingPanel::onEffectChosen);
    connect(m_effectGroup, &EffectGroup::colorPicked, this, &LightingPanel::onColorPicked);
    connect(m_effectGroup, &EffectGroup::written, this, [this](int result) {
        check(result);
        refresh();
    });
    connect(m_effectGroup, &EffectGroup::writeFailed, this, &LightingPanel::check);
    label("CONTROL_UsbStatic", "Usb");
    for (int i = 0; i < 4; ++i) {
        auto* b = new SkinButton(this);
        const QString key = QStringLiteral("FUNC_REPORT%1").arg(i + 1);
        b->setObjectName(key);
        b->setProperty("controlId", kReportRateIds[i]);
        placeSkinButton(b, layoutFile, kSection, key, pictures.normal, pictures.over, pictures.down, pictures.normal,
                        pictures.disable);
        b->setText(QString::fromLatin1(kRateCaptions[i]));
        b->setAccessibleKind(AccessibleKind::Choice);
        m_rates[i] = b;
        adopt(b);
        connect(b, &QAbstractButton::clicked, this, [this, i] {
            if (!ensureSession()) return;
            check(m_session->writer().setReportRate(i));
            for (int k = 0; k < 4; ++k)
                m_rates[k]->setCheckedLook(k == m_session->state().fields.reportRate);
        });
    }

    // Tab visits the report rate between the speed and the direction, in the reading order the panel has always had.
    QWidget* before = m_effectGroup->speedSlider();
    for (SkinButton* rate : m_rates) {
        setTabOrder(before, rate);
        before = rate;
    }
    // Its controls are made once the window is up (see showEvent), unless the user effect shows at once.
    m_user = new UserEffectGroup(context, this, [this](QWidget* w) { adopt(w); });
    connect(m_user, &UserEffectGroup::colorsChanged, this, &LightingPanel::showUserColorsOrClear);
    connect(m_user, &UserEffectGroup::writeFailed, this, &LightingPanel::check);
    connect(m_user, &UserEffectGroup::brushColorChanged, this, &LightingPanel::showColorFields);

    m_rgbLabel = label("CONTROL_RGBStatic", "");
    m_colorPicker = new ColorPicker(context, this, [this](QWidget* w) { adopt(w); });
    connect(m_colorPicker, &ColorPicker::colorChosen, this, &LightingPanel::onColorPicked);
    // Failures are told below the swatches, without stopping the user.
    m_status = new ColorStatic(this);
    m_status->setObjectName(QStringLiteral("lightingStatus"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QRect entry = m_colorPicker->area();
    m_status->setGeometry(entry.left(), entry.bottom() + 8, entry.width() - 1, 2 * entry.height());
    m_status->hide();
    adopt(m_status);
    refresh();
}

LightingPanel::~LightingPanel() = default;

QString LightingPanel::lightText(const char* key) const {
    return QString::fromStdString(lookupLight(key, m_context.languageIndex()));
}

const QPixmap* LightingPanel::picture(const QString& file) const {
    static const QPixmap kNone;
    const QPixmap* p = m_context.skinPicture(file);
    return p ? p : &kNone;
}

void LightingPanel::adopt(QWidget* control) {
    m_controls << control;
    // A control moved or resized later (the skin re-places some) keeps the panel's mask right.
    control->installEventFilter(this);
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_modeLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QString keys = m_context.text("MAP_MODE_KEYS") + QStringLiteral("  | ");
        if (mouse->button() == Qt::LeftButton)
            setPanelOn(mouse->position().x() > m_modeLabel->fontMetrics().horizontalAdvance(keys));
        return true;
    }
    if (watched == m_context.window()) {
        if (event->type() == QEvent::WindowStateChange) updatePreviewTimer();
        // The window is on the screen: what it does not show yet is made now, so that what a screen reader lists
        // is complete.
        if (event->type() == QEvent::Paint && !m_user->built())
            QTimer::singleShot(0, this, &LightingPanel::buildUserGroup);
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        updateMask();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void LightingPanel::updateMask() {
    QRegion region;
    for (QWidget* w : m_controls)
        if (!w->isHidden()) region += w->geometry();
    // An empty mask would mean "no mask": the panel would cover the whole window.
    setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
}

void LightingPanel::applyTexts() {
    const int language = m_context.languageIndex();
    for (const auto& [l, key] : m_labels)
        l->setText(key.isEmpty() ? QStringLiteral("RGB")
                                 : QString::fromStdString(lookupLight(key.toStdString(), language)));
    applyAccessibleTexts();
    m_effectGroup->applyTexts();
    showModeSwitch();
    if (m_session) refresh(); // the effect names
}

void LightingPanel::applyAccessibleTexts() {
    // What a screen reader says for each control: a "LIGHT" name (the label beside it) or a "TEXT" one, and what
    // the control does.
    struct Spoken {
        const char* control;
        const char* lightName; // "LIGHT" key, or null
        const char* textName;  // "TEXT" key when there is no "LIGHT" one
        const char* description;
    };
    static const Spoken kSpoken[] = {
        {skinkey::kLightSwitch, textkey::kLighting, nullptr, "ACC_LIGHT_SWITCH_DESC"},
        {skinkey::kEffectList, nullptr, "ACC_LIGHT_EFFECT", "ACC_LIGHT_EFFECT_DESC"},
        {"CONTROL_LightSlider", "Light", nullptr, "ACC_LIGHT_BRIGHTNESS_DESC"},
        {"CONTROL_SpeedSlider", "Speed", nullptr, "ACC_LIGHT_SPEED_DESC"},
        {skinkey::kDirectionForward, nullptr, "ACC_LIGHT_FORWARD", "ACC_LIGHT_DIRECTION_DESC"},
        {skinkey::kDirectionBackward, nullptr, "ACC_LIGHT_BACKWARD", "ACC_LIGHT_DIRECTION_DESC"},
        {skinkey::kColorGroups[0][1], "Color", nullptr, "ACC_LIGHT_COLOR_DESC"},
        {skinkey::kColorGroups[1][1], "Color", nullptr, "ACC_LIGHT_COLOR_DESC"},
        {skinkey::kColorGroups[0][2], "DC", nullptr, "ACC_LIGHT_MULTI_DESC"},
        {skinkey::kColorGroups[1][2], "DC", nullptr, "ACC_LIGHT_MULTI_DESC"},
        {skinkey::kFourColors[0], nullptr, "ACC_LIGHT_RED", "ACC_LIGHT_FOURCOLOR_DESC"},
        {skinkey::kFourColors[1], nullptr, "ACC_LIGHT_YELLOW", "ACC_LIGHT_FOURCOLOR_DESC"},
        {skinkey::kFourColors[2], nullptr, "ACC_LIGHT_GREEN", "ACC_LIGHT_FOURCOLOR_DESC"},
        {skinkey::kFourColors[3], nullptr, "ACC_LIGHT_BLUE", "ACC_LIGHT_FOURCOLOR_DESC"},
        {skinkey::kUserBrushTool, nullptr, "ACC_LIGHT_BRUSH", "ACC_LIGHT_TOOL_DESC"},
        {skinkey::kUserBaseTool, nullptr, "ACC_LIGHT_BASE", "ACC_LIGHT_TOOL_DESC"},
        {skinkey::kUserBrushColor, "Color", nullptr, "ACC_LIGHT_COLOR_DESC"},
        {skinkey::kUserBaseColor, "JColor", nullptr, "ACC_LIGHT_COLOR_DESC"},
        {skinkey::kUserPatternList, nullptr, "ACC_LIGHT_PATTERN", "ACC_LIGHT_PATTERN_DESC"},
        {"COLOR_R", nullptr, "ACC_LIGHT_RED", "ACC_LIGHT_RGB_DESC"},
        {"COLOR_G", nullptr, "ACC_LIGHT_GREEN", "ACC_LIGHT_RGB_DESC"},
        {"COLOR_B", nullptr, "ACC_LIGHT_BLUE", "ACC_LIGHT_RGB_DESC"},
    };
    for (QWidget* control : std::as_const(m_controls)) {
        const QByteArray name = control->objectName().toLatin1();
        for (const Spoken& s : kSpoken) {
            if (name != s.control) continue;
            control->setAccessibleName(s.lightName ? lightText(s.lightName) : m_context.text(s.textName));
            control->setAccessibleDescription(m_context.text(s.description));
            // The typing field of an editable list is a stop of its own.
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                combo->view()->setAccessibleName(control->accessibleName());
                if (QLineEdit* edit = combo->lineEdit()) {
                    edit->setAccessibleName(control->accessibleName());
                    edit->setAccessibleDescription(control->accessibleDescription());
                }
            }
        }
    }
    setAccessibleName(lightText(textkey::kLighting));
    for (SkinButton* rate : m_rates)
        rate->setAccessibleDescription(m_context.text("ACC_LIGHT_RATE_DESC"));
    m_colorPicker->applyAccessibleTexts();
}

void LightingPanel::showDefaultReportRate() {
    for (int i = 0; i < 4; ++i)
        m_rates[i]->setCheckedLook(i == 0);
}

UserEffectGroup* LightingPanel::userGroup() {
    buildUserGroup();
    return m_user;
}

void LightingPanel::buildUserGroup() {
    if (m_user->built()) return;
    m_user->build();
    const QList<QWidget*>& made = m_user->controls();
    // A screen reader lists the panel's controls in the order of its children, and Tab follows its own chain:
    // both get the group where the panel was made with it, before the colour fields, not at the end.
    for (QWidget* w : made)
        w->stackUnder(m_rgbLabel);
    const auto isMade = [&made](const QWidget* w) {
        return std::any_of(made.begin(), made.end(), [w](const QWidget* m) { return m == w || m->isAncestorOf(w); });
    };
    // Tab goes from the control before the group's place to the group, then on to the first control after it.
    const QObjectList& siblings = children();
    QWidget* next = nullptr;
    for (qsizetype i = siblings.indexOf(m_rgbLabel); i >= 0 && i < siblings.size() && !next; ++i)
        if (auto* w = qobject_cast<QWidget*>(siblings[i]); w && w->focusPolicy() != Qt::NoFocus) next = w;
    QWidget* before = next ? next->previousInFocusChain() : this;
    while (before != this && (isMade(before) || before->focusPolicy() == Qt::NoFocus))
        before = before->previousInFocusChain();
    for (QWidget* w : made) {
        if (w->focusPolicy() == Qt::NoFocus) continue;
        setTabOrder(before, w);
        before = w;
    }
    const int language = m_context.languageIndex();
    for (const auto& [l, key] : m_user->labels()) {
        m_labels.append({l, key});
        l->setText(QString::fromStdString(lookupLight(key.toStdString(), language)));
    }
    applyAccessibleTexts();
    showModeSwitch(); // the switch says what a click on the map does, over its general description
    m_user->refresh();
    showEffectControls();
}

QComboBox* LightingPanel::effectList() const {
    return m_effectGroup->effectList();
}

QLabel* LightingPanel::statusLine() const {
    return m_status;
}

void LightingPanel::attachMap(KeyboardMap& map) {
    std::vector<KeyColorOverlay::Key> keys;
    for (const auto& [id, button] : map.buttons())
        if (isMapKey(id)) keys.push_back({SlotOfControl(id), button->geometry(), button});
    m_overlay->setKeys(std::move(keys));
    m_overlay->raise();
    raise();
    connect(&map, &KeyboardMap::keyPainted, this, &LightingPanel::paintKey);
}

bool LightingPanel::ensureSession() {
    if (m_session) return true;
    DeviceLink* link = m_context.link();
    if (!link) return false;
    const AppPaths& paths = m_context.paths();
    m_session = std::make_unique<LightingSession>(
        link->commands(),
        LightingPaths{paths.userIni, paths.userColorPrefix, UserColorFile(paths.userColorTemplatePrefix, 3)});
    m_session->patterns().onFileUnwritable = [this](const std::string& path) {
        showStatus(lightText("ColorFileFailed") + QLatin1Char(' ') + QString::fromStdString(path));
    };
    m_user->setSession(m_session.get());
    return true;
}

bool LightingPanel::load(bool withUserColors) {
    if (!ensureSession()) return false;
    const int r = m_session->load(withUserColors);
    refresh();
    if (r != LINK_OK) showStatus(lightText("ReadFailed"));
    return r == LINK_OK;
}

bool LightingPanel::panelOn() const {
    return m_session && m_session->panelOn();
}

void LightingPanel::refresh() {
    if (!m_session) {
        showEffectControls();
        return;
    }
    const LightingFields& f = m_session->state().fields;
    m_effectGroup->refresh(*m_session);
    for (int k = 0; k < 4; ++k)
        m_rates[k]->setCheckedLook(k == f.reportRate);
    m_user->refresh();
    showColorFields();
    m_switch->showPicture(picture(QString::fromLatin1(panelOn() ? skinpicture::kLightOff : skinpicture::kLightOn)));
    m_switch->setChecked(panelOn());
    showModeSwitch();
    showEffectControls();
    showUserColorsOrClear();
    setPreviewing(panelOn());
    emit paintModeChanged(panelOn());
}

void LightingPanel::showEffectControls() {
    const bool on = panelOn();
    const LightingEffect effect = m_session ? m_session->state().fields.effect : LightingEffect::None;
    m_effectGroup->showControlsOf(effect, on);
    const EffectControls c = on ? ControlsOfEffect(effect) : EffectControls{};
    if (c.userGroup) buildUserGroup();
    for (QWidget* w : m_user->controls())
        w->setVisible(c.userGroup);
    updateMask();
}

void LightingPanel::showUserColorsOrClear() {
    if (panelOn() && m_session && m_session->state().fields.effect == LightingEffect::User)
        m_overlay->showColors(m_session->patterns().colors(m_session->state().profile));
    else
        m_overlay->clearFills();
}

void LightingPanel::check(int result) {
    if (result == LINK_OK) return;
    // The writer has read the block back: show what the keyboard holds, and say that the change did not take.
    refresh();
    showStatus(lightText("WriteFailed"));
}

void LightingPanel::showStatus(const QString& text) {
    m_status->setText(text);
    m_status->setAccessibleDescription(text);
    m_status->show();
    m_status->raise();
    updateMask();
    m_statusTimer.start(kStatusMs);
}

void LightingPanel::onEffectChosen(LightingEffect effect) {
    if (!ensureSession()) return;
    m_overlay->clearFills();
    const int r = m_session->writer().selectEffect(effect);
    refresh();
    check(r);
}

void LightingPanel::showModeSwitch() {
    const QString keys = m_context.text("MAP_MODE_KEYS").toHtmlEscaped();
    const QString lighting = lightText(textkey::kLighting).toHtmlEscaped();
    const QString lit = QStringLiteral("<b style=\"color:%1\">%2</b>");
    const QString dim = QStringLiteral("<span style=\"color:%1\">%2</span>");
    const bool on = panelOn();
    const QString accent = Hex(palette::kAccent), muted = Hex(palette::kTextDim);
    m_modeLabel->setText((on ? dim.arg(muted, keys) : lit.arg(accent, keys)) + QStringLiteral(" &nbsp;|&nbsp; ") +
                         (on ? lit.arg(accent, lighting) : dim.arg(muted, lighting)));
    m_modeLabel->setAccessibleName(on ? lighting : keys);
    m_switch->setAccessibleDescription(m_context.text(on ? "MAP_HINT_VIEW" : "MAP_HINT_ASSIGN"));
}

void LightingPanel::undoPaint() {
    if (!paintsUserColors() || !m_session->patterns().canUndoPaint()) return;
    const int r = m_session->patterns().undoPaint();
    showUserColorsOrClear();
    check(r);
}

void LightingPanel::forgetPaints() {
    if (m_session) m_session->patterns().forgetPaints();
}

bool LightingPanel::paintsUserColors() const {
    return panelOn() && m_session && m_session->state().fields.effect == LightingEffect::User;
}

void LightingPanel::showColorFields() {
    if (!m_session) return;
    // One colour at a time is in play: the brush's while keys are painted, else the effect's.
    m_colorPicker->showColor(paintsUserColors() ? m_session->patterns().settings().brushColor
                                                : m_session->state().fields.color);
}

void LightingPanel::onColorPicked(const QColor& colour) {
    if (!ensureSession()) return;
    if (paintsUserColors()) {
        // The user effect has no colour of its own: a picked colour is the brush's, so the next stroke uses it.
        m_user->setBrushColor(colour);
        showColorFields();
        return;
    }
    const int r = m_session->writer().setColor(rgbOf(colour));
    refresh();
    check(r);
    // With the panel off nothing else shows the colour the keyboard now runs.
    if (r == LINK_OK && !panelOn())
        showStatus(m_context.text("LIGHT_COLOR_WRITTEN", colour.name(QColor::HexRgb).mid(1).toUpper()));
}

void LightingPanel::setPanelOn(bool on) {
    if (!ensureSession() || on == panelOn()) return;
    if (on && confirmSwitchOn && !confirmSwitchOn()) return;
    if (!m_session->setPanelOn(on))
        showStatus(lightText("SettingsFailed") + QLatin1Char(' ') + QString::fromStdString(m_context.paths().userIni));
    m_overlay->clearFills();
    refresh();
}

void LightingPanel::onSwitch() {
    setPanelOn(!panelOn());
}

void LightingPanel::paintKey(int controlId) {
    if (!panelOn() || !m_session) return;
    const int r = m_session->paintKey(controlId);
    showUserColorsOrClear();
    check(r);
}

void LightingPanel::resetLighting() {
    if (!ensureSession()) return;
    m_overlay->clearFills();
    const int r = m_session->reset();
    refresh();
    check(r);
}

void LightingPanel::requestReload() {
    if (isVisible())
        m_reloadTimer.start();
    else
        m_reloadPending = true;
}

void LightingPanel::setPreviewing(bool on) {
    m_previewing = on;
    updatePreviewTimer();
}

void LightingPanel::updatePreviewTimer() {
    if (m_previewing && isVisible() && !m_context.window()->isMinimized()) {
        if (!m_previewTimer.isActive()) m_previewTimer.start(kPreviewFirstIntervalMs);
    } else {
        m_previewTimer.stop();
    }
}

void LightingPanel::onPreviewTick() {
    if (!m_previewing || !isVisible() || m_context.window()->isMinimized()) return;
    m_previewTimer.start(kPreviewIntervalMs);
    if (!m_session || m_session->state().fields.effect == LightingEffect::User) return;
    if (m_session->tickPreview()) m_overlay->showFills(m_session->preview().frame());
}

void LightingPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updatePreviewTimer();
    if (m_reloadPending) {
        m_reloadPending = false;
        m_reloadTimer.start();
    }
}

void LightingPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Nothing of the panel ticks while nobody can see it.
    m_previewTimer.stop();
    if (m_reloadTimer.isActive()) {
        m_reloadTimer.stop();
        m_reloadPending = true;
    }
}

} // namespace ombrel
