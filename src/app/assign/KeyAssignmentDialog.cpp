#include "KeyAssignmentDialog.h"
#include "LegacyKeys.h"

#include "AppMessageEvent.h"
#include "ColorStatic.h"
#include "MacroTab.h"
#include "MainMessages.h"
#include "NativeKeyEvent.h"
#include "OnScreenKeyboard.h"
#include "SkinButton.h"
#include "SkinPlacement.h"
#include "SkinScale.h"
#include "SkinStyle.h"
#include "UiText.h"

#include "assign/AssignmentCaption.h"
#include "assign/DialogPlacement.h"
#include "keys/AssignmentStore.h"
#include "keys/FunctionLists.h"
#include "keys/MediaTable.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <mutex>

namespace ombrel {

namespace {

// Key codes of the keys that start capture from the keyboard.
constexpr KeyCode kTabCode = 0x00F;
constexpr KeyCode kSpaceCode = 0x039;
constexpr KeyCode kLeftShiftCode = 0x02A;
constexpr KeyCode kRightShiftCode = 0x036;
constexpr std::uint32_t kCaptionColour = 0xE4E4E4; // 0x00BBGGRR: captions drawn on the skin
const QString kSection = QStringLiteral("BUTTONINFO");
// The mouse list has no place in the layout file: it lies under the two choices, as wide as the key box.
const QRect kMouseListRect(40, 300, 470, 128);
// "Disabled" has no place in the layout file either: it sits right of the keyboard choice, on its row.
const QRect kDisabledRadioRect(330, 230, 22, 22);
const QRect kDisabledCaptionRect(360, 228, 240, 26);
// The note on a pressed combination, between the key box and the choices.
const QRect kComboHintRect(40, 211, 560, 18);
// Its offer to make a macro of the combination: right of the mouse choice, free while the keyboard is chosen.
const QRect kMakeMacroRect(330, 262, 270, 30);

bool IsModifier(KeyCode key) {
    switch (key) {
    case 0x01D: // Ctrl
    case 0x11D:
    case 0x02A: // Shift
    case 0x036:
    case 0x038: // Alt
    case 0x138:
        return true;
    default:
        return false;
    }
}

// The radio buttons and the play-count box, which the shared style sheet does not cover.
const char* kExtraStyle =
    "QSpinBox{background:%1;color:%2;border:1px solid %3;border-radius:4px;padding:2px 8px;}"
    "QSpinBox:focus{border-color:%4;}QSpinBox:disabled{color:%5;}"
    "QRadioButton::indicator{width:15px;height:15px;border:1px solid %5;border-radius:8px;background:%6;}"
    "QRadioButton::indicator:checked{background:%4;border-color:%4;}";

ColorStatic* Caption(QWidget* parent, const QString& layoutFile, const char* key, double points) {
    auto* c = new ColorStatic(parent);
    c->setObjectName(QString::fromLatin1(key));
    c->setTextColor(kCaptionColour);
    QFont f = c->font();
    f.setPointSizeF(ScaleSkinFont(points));
    c->setFont(f);
    placeControl(c, layoutFile, kSection, QString::fromLatin1(key));
    return c;
}

QListWidget* List(QWidget* parent, const QString& name, double points) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setPointSizeF(ScaleSkinFont(points));
    l->setFont(f);
    return l;
}

void SelectRow(QListWidget* list, int row) {
    const QSignalBlocker block(list);
    if (row < 0) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    } else {
        list->setCurrentRow(row);
    }
}

} // namespace

KeyAssignmentDialog::KeyAssignmentDialog(const QString& layoutFile, AssignmentStore& working, SettingsStore& settings,
                                         QWidget* parent)
    : SkinnedDialog(layoutFile, parent), m_working(working), m_settings(settings),
      m_pictures(KeyAssignmentPictures::load(skinFolder())), m_osk(InstalledOnScreenKeyboard()) {
    setObjectName(QStringLiteral("KeyAssignmentDialog"));
    using namespace palette;
    setStyleSheet(ControlStyleSheet() +
                  QString::fromLatin1(kExtraStyle)
                      .arg(Hex(kWell), Hex(kText), Hex(kEdge), Hex(kAccent), Hex(kTextMuted), Hex(kPanel)));
    buildControls();
    m_tap = std::make_unique<KeyEventTap>(this, [this](const KeyEvent& key, QKeyEvent& e) { return onKey(key, e); });
}

KeyAssignmentDialog::~KeyAssignmentDialog() = default;

QString KeyAssignmentDialog::text(const char* key) const {
    return UiText(key, m_languageIndex);
}

SkinButton* KeyAssignmentDialog::button(const char* skinKey) const {
    return findChild<SkinButton*>(QString::fromLatin1(skinKey));
}

void KeyAssignmentDialog::buildControls() {
    const QString ini = layoutFile();
    const PictureSet& key = m_pictures.key;
    // The page behind the tabs lies lowest; it only shows a picture.
    m_mask = MakeSkinButton(this, ini, "CONTROL_MASK", key);
    m_mask->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_mask->setFocusPolicy(Qt::NoFocus);
    m_title = MakeSkinButton(this, ini, "CONTROL_TITLE", key);
    m_title->setFocusPolicy(Qt::NoFocus);
    // The page and the title bar are pictures only; the caption over the title is a label of its own.
    m_mask->setAccessibleKind(AccessibleKind::Decoration);
    m_title->setAccessibleKind(AccessibleKind::Decoration);
    m_titleCaption = Caption(this, ini, "KEY_SETTING", 10.8);
    m_tabKey = MakeSkinButton(this, ini, "CONTROL_KEY", key);
    m_tabMacro = MakeSkinButton(this, ini, "CONTROL_MACRO", key);
    m_tabMedia = MakeSkinButton(this, ini, "CONTROL_MEDIA", key);
    m_tabFunction = MakeSkinButton(this, ini, "CONTROL_FUNCTION", key);
    for (SkinButton* tab : {m_tabKey, m_tabMacro, m_tabMedia, m_tabFunction})
        tab->setAccessibleKind(AccessibleKind::Tab);

    m_singleCaption = Caption(this, ini, skinkey::kSingleKeyCaption, 10.8);
    m_keyBox = new QLineEdit(this);
    m_keyBox->setObjectName(QStringLiteral("FUNC_KEY_INPUT"));
    m_keyBox->setReadOnly(true);
    m_keyBox->setAlignment(Qt::AlignCenter);
    // Tab reaches the key box like any field; only there, and only once asked, does it take a key.
    m_keyBox->setFocusPolicy(Qt::StrongFocus);
    m_keyBox->installEventFilter(this);
    QFont big = m_keyBox->font();
    big.setPointSizeF(ScaleSkinFont(18));
    m_keyBox->setFont(big);
    placeControl(m_keyBox, ini, kSection, QStringLiteral("FUNC_KEY_INPUT"));
    m_oskButton = MakeSkinButton(this, ini, "CONTROL_OSK", key);
    m_kb = new QRadioButton(this);
    m_kb->setObjectName(QStringLiteral("FUNC_KEY_RADIO_KB"));
    placeControl(m_kb, ini, kSection, QStringLiteral("FUNC_KEY_RADIO_KB"));
    m_kbCaption = Caption(this, ini, "FUNC_KEY_RADIO_KB_STATIC", 10.8);
    m_mouse = new QRadioButton(this);
    m_mouse->setObjectName(QStringLiteral("FUNC_KEY_RADIO_MOU"));
    placeControl(m_mouse, ini, kSection, QStringLiteral("FUNC_KEY_RADIO_MOU"));
    m_mouseCaption = Caption(this, ini, "FUNC_KEY_RADIO_MOU_STATIC", 10.8);
    m_disabled = new QRadioButton(this);
    m_disabled->setObjectName(QStringLiteral("keyDisabledChoice"));
    m_disabled->setGeometry(ScaleSkinRect(kDisabledRadioRect));
    m_disabledCaption = new ColorStatic(this);
    m_disabledCaption->setObjectName(QStringLiteral("keyDisabledCaption"));
    m_disabledCaption->setTextColor(kCaptionColour);
    m_disabledCaption->setFont(m_kbCaption->font());
    m_disabledCaption->setGeometry(ScaleSkinRect(kDisabledCaptionRect));
    m_comboHint = new ColorStatic(this);
    m_comboHint->setObjectName(QStringLiteral("combinationHint"));
    m_comboHint->setTextColor(kCaptionColour);
    m_comboHint->setGeometry(ScaleSkinRect(kComboHintRect));
    {
        QFont small = m_comboHint->font();
        small.setPointSizeF(ScaleSkinFont(9));
        m_comboHint->setFont(small);
    }
    m_comboHint->hide();
    m_makeMacro = new QPushButton(this);
    m_makeMacro->setObjectName(QStringLiteral("makeMacroOfCombination"));
    m_makeMacro->setGeometry(ScaleSkinRect(kMakeMacroRect));
    m_makeMacro->setAutoDefault(false);
    m_makeMacro->hide();
    connect(m_makeMacro, &QPushButton::clicked, this, &KeyAssignmentDialog::makeMacroOfCombination);
    // Tab from the key box, where the combination was pressed, reaches the offer next.
    setTabOrder(m_keyBox, m_makeMacro);
    auto* radios = new QButtonGroup(this);
    radios->addButton(m_kb);
    radios->addButton(m_mouse);
    radios->addButton(m_disabled);
    m_mouseList = List(this, QStringLiteral("mouseList"), 12);
    m_mouseList->setGeometry(ScaleSkinRect(kMouseListRect));

    m_mediaCaption = Caption(this, ini, skinkey::kMediaCaption, 10.8);
    m_mediaList = List(this, QStringLiteral("FUNC_MEDIA_SELECT"), 12);
    placeControl(m_mediaList, ini, kSection, QStringLiteral("FUNC_MEDIA_SELECT"));
    m_functionCaption = Caption(this, ini, skinkey::kFunctionCaption, 10.8);
    m_functionList = List(this, QStringLiteral("FUNC_FUNCTION_SELECT"), 12);
    placeControl(m_functionList, ini, kSection, QStringLiteral("FUNC_FUNCTION_SELECT"));

    m_macroTab = new MacroTab(this, ini, m_pictures, m_settings, m_working);

    m_clear = MakeSkinButton(this, ini, "CONTROL_CLEAR", key);
    m_ok = MakeSkinButton(this, ini, "CONTROL_OK", key);
    m_cancel = MakeSkinButton(this, ini, "CONTROL_CANCEL", key);
    m_apply = MakeSkinButton(this, ini, "CONTROL2_APPLY", key);

    connect(m_tabKey, &SkinButton::clicked, this, [this] { onTab(&CompositeKeyChoice::showSingleKeyTab); });
    connect(m_tabMacro, &SkinButton::clicked, this, [this] { onTab(&CompositeKeyChoice::showMacroTab); });
    connect(m_tabMedia, &SkinButton::clicked, this, [this] { onTab(&CompositeKeyChoice::showMediaTab); });
    connect(m_tabFunction, &SkinButton::clicked, this, [this] { onTab(&CompositeKeyChoice::showFunctionTab); });
    connect(m_clear, &SkinButton::clicked, this, [this] { onTab(&CompositeKeyChoice::clear); });
    connect(m_kb, &QRadioButton::clicked, this, [this] { onTab(&CompositeKeyChoice::chooseKeyboard); });
    connect(m_mouse, &QRadioButton::clicked, this, [this] { onTab(&CompositeKeyChoice::chooseMouse); });
    connect(m_disabled, &QRadioButton::clicked, this, [this] { onTab(&CompositeKeyChoice::disable); });
    connect(m_mouseList, &QListWidget::currentRowChanged, this, [this](int row) {
        m_choice->setMouseRow(row);
        updateApply();
    });
    // A row counts once it is selected (a click, the arrow keys), not when the list merely gets the focus.
    connect(m_mediaList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_mediaList->selectedItems().isEmpty()) return;
        m_choice->setMediaRow(m_mediaList->row(m_mediaList->selectedItems().constFirst()));
        updateApply();
    });
    connect(m_functionList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_functionList->selectedItems().isEmpty()) return;
        m_choice->setFunctionRow(m_functionList->row(m_functionList->selectedItems().constFirst()));
        updateApply();
    });
    connect(m_oskButton, &SkinButton::clicked, this, &KeyAssignmentDialog::onOsk);
    connect(m_ok, &SkinButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &SkinButton::clicked, this, &QDialog::reject);
    connect(m_apply, &SkinButton::clicked, this, &KeyAssignmentDialog::apply);
    connect(m_macroTab, &MacroTab::edited, this, &KeyAssignmentDialog::updateApply);
    connect(m_macroTab, &MacroTab::recordingChanged, this, &KeyAssignmentDialog::updateKeyTap);
}

bool KeyAssignmentDialog::prepare(KeyIndex keyIndex, int layer, bool macroOnly, std::optional<QRect> keyButton,
                                  int languageIndex) {
    if (!m_pictures.missing.isEmpty()) {
        reportMissingPicture(m_pictures.missing);
        return false;
    }
    if (!applyDialogSkin()) return false;
    m_layer = layer;
    m_languageIndex = languageIndex;
    KeyRecord record;
    {
        std::lock_guard guard(m_working.lock);
        record = m_working.image.record(RecordNumber(layer, keyIndex));
    }
    m_choice = std::make_unique<CompositeKeyChoice>(keyIndex, macroOnly, record);
    m_captureArmed = false;
    m_heldModifier = 0;
    hideCombination();
    m_macroTab->load(languageIndex);
    m_macroTab->selectMacro(m_choice->initialMacroRow(m_macroTab->model()));
    m_macroTab->clearModified();

    // Macro-only mode: the other tabs and Clear are greyed, their captions hidden.
    for (SkinButton* b : {m_clear, m_title})
        UseSet(b, macroOnly ? m_pictures.macro2 : m_pictures.key);
    for (SkinButton* b : {m_tabKey, m_tabMedia, m_tabFunction, m_clear})
        b->setEnabled(!macroOnly);
    m_oskButton->setEnabled(!m_osk.isEmpty());
    applyTexts(languageIndex);
    showChoice();
    placeBeside(macroOnly ? std::nullopt : keyButton);
    return true;
}

int KeyAssignmentDialog::openForKey(KeyIndex keyIndex, int layer, bool macroOnly, std::optional<QRect> keyButton,
                                    int languageIndex) {
    if (!prepare(keyIndex, layer, macroOnly, keyButton, languageIndex)) return QDialog::Rejected;
    return exec();
}

void KeyAssignmentDialog::placeBeside(std::optional<QRect> keyButton) {
    const QPoint anchor = keyButton ? keyButton->center() : QPoint();
    QScreen* screen = keyButton ? QGuiApplication::screenAt(anchor) : nullptr;
    if (!screen) screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->availableGeometry();
    if (!keyButton) {
        move(s.center() - rect().center());
        return;
    }
    const QRect& b = *keyButton;
    const ScreenPoint p =
        PlaceBesideKey({s.left(), s.top(), s.left() + s.width(), s.top() + s.height()},
                       {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()}, width(), height());
    move(p.x, p.y);
}

// ---- showing the choice ----

void KeyAssignmentDialog::showChoice() {
    const CompositeKeyChoice& c = *m_choice;
    const CompositeTab tab = c.tab();
    const PictureSet& page = tab == CompositeTab::Macro      ? m_pictures.macro
                             : tab == CompositeTab::Media    ? m_pictures.media
                             : tab == CompositeTab::Function ? m_pictures.function
                                                             : m_pictures.key;
    UseSet(m_mask, page);
    // The tabs are cut from the shown page's pictures, which draw that tab as the current one.
    for (SkinButton* b : {m_tabKey, m_tabMacro, m_tabMedia, m_tabFunction})
        UseSet(b, c.macroOnly() ? m_pictures.macro2 : page);
    m_tabKey->setCheckedLook(tab == CompositeTab::SingleKey);
    m_tabMacro->setCheckedLook(tab == CompositeTab::Macro);
    m_tabMedia->setCheckedLook(tab == CompositeTab::Media);
    m_tabFunction->setCheckedLook(tab == CompositeTab::Function);

    const bool single = tab == CompositeTab::SingleKey && !c.macroOnly();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_singleCaption, m_keyBox, m_oskButton, m_kb, m_kbCaption, m_mouse,
                                         m_mouseCaption, m_mouseList, m_disabled, m_disabledCaption})
        w->setVisible(single);
    const bool disabled = c.selectedType() == KF_DISABLED;
    {
        const QSignalBlocker blockKb(m_kb);
        const QSignalBlocker blockMouse(m_mouse);
        const QSignalBlocker blockDisabled(m_disabled);
        m_kb->setChecked(!c.mouseChosen() && !disabled);
        m_mouse->setChecked(c.mouseChosen());
        m_disabled->setChecked(disabled);
    }
    m_keyBox->setEnabled(!c.mouseChosen());
    m_mouseList->setEnabled(c.mouseChosen());
    if (!single) {
        m_captureArmed = false;
        hideCombination();
    }
    showKeyBox();
    SelectRow(m_mouseList, c.mouseRow());
    SelectRow(m_mediaList, c.mediaRow());
    SelectRow(m_functionList, c.functionRow());

    m_macroTab->setVisible(tab == CompositeTab::Macro);
    m_mediaCaption->setVisible(tab == CompositeTab::Media);
    m_mediaList->setVisible(tab == CompositeTab::Media);
    m_functionCaption->setVisible(tab == CompositeTab::Function);
    m_functionList->setVisible(tab == CompositeTab::Function);
    updateApply();
    updateKeyTap();
}

void KeyAssignmentDialog::updateApply() {
    m_apply->setEnabled(m_choice && (m_choice->modified() || m_macroTab->modified()));
}

void KeyAssignmentDialog::showKeyBox() {
    const CompositeKeyChoice& c = *m_choice;
    const bool showKey = c.selectedType() == KF_KEY && !c.mouseChosen() && c.capturedKey() != 0;
    m_keyBox->setText(m_captureArmed ? QString()
                      : showKey      ? QString::fromStdString(KeyText(c.capturedKey(), m_languageIndex))
                                     : QString());
    m_keyBox->setPlaceholderText(text(m_captureArmed ? "COMPOSITE_CAPTURE_WAITING" : "COMPOSITE_CAPTURE_START"));
    m_keyBox->setProperty("capturing", m_captureArmed);
    m_keyBox->setStyleSheet(
        m_captureArmed ? QStringLiteral("QLineEdit{border:2px solid %1;}").arg(Hex(palette::kAccent)) : QString());
}

bool KeyAssignmentDialog::capturing() const {
    return m_captureArmed && m_choice && isVisible() && m_choice->tab() == CompositeTab::SingleKey &&
           !m_choice->macroOnly();
}

void KeyAssignmentDialog::startCapture() {
    if (!m_choice || m_choice->macroOnly() || m_choice->tab() != CompositeTab::SingleKey) return;
    m_captureArmed = true;
    m_heldModifier = 0;
    m_choice->forgetHeldKeys();
    hideCombination();
    showKeyBox();
    updateKeyTap();
}

void KeyAssignmentDialog::stopCapture() {
    if (!m_captureArmed) return;
    m_captureArmed = false;
    showKeyBox();
    updateKeyTap();
}

bool KeyAssignmentDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_keyBox) {
        switch (event->type()) {
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            startCapture();
            // The key that moved the focus here is still down; its release is no key to capture.
            if (m_captureArmed && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)) {
                m_choice->assumeHeld(kTabCode);
                if (reason == Qt::BacktabFocusReason) {
                    m_choice->assumeHeld(kLeftShiftCode);
                    m_choice->assumeHeld(kRightShiftCode);
                }
            }
            break;
        }
        case QEvent::FocusOut:
            stopCapture();
            break;
        case QEvent::MouseButtonPress:
            startCapture();
            break;
        case QEvent::KeyPress:
            // Outside capture, Space on the box starts it again; Tab, Esc and Enter do what they do in a dialog.
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && !m_captureArmed) {
                startCapture();
                if (m_captureArmed) m_choice->assumeHeld(kSpaceCode);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void KeyAssignmentDialog::updateKeyTap() {
    m_tap->setActive(capturing() || m_releasePending != 0 || m_macroTab->recording());
}

void KeyAssignmentDialog::applyTexts(int languageIndex) {
    m_languageIndex = languageIndex;
    const bool macroOnly = m_choice && m_choice->macroOnly();
    QString title = text(macroOnly ? textkey::kMacroEditTitle : textkey::kKeySettingTitle);
    if (m_choice) {
        const KeyNameLookup keyNames = [this](KeyCode code) { return KeyText(code, m_languageIndex); };
        title += QStringLiteral(" \u2014 ") + QString::fromStdString(KeyDisplayName(m_choice->keyIndex(), keyNames));
    }
    m_titleCaption->setText(title);
    setWindowTitle(title); // for the task bar, the window switcher and screen readers
    m_singleCaption->setText(text("SINGLE_STATIC"));
    m_mediaCaption->setText(text(textkey::kMediaEditTitle));
    m_functionCaption->setText(text(textkey::kFunctionTitle));
    m_kbCaption->setText(text("IDS_MACRO_KB_KEY"));
    m_mouseCaption->setText(text("IDS_MACRO_MOU_KEY"));
    m_disabledCaption->setText(text("COMPOSITE_DISABLED"));
    m_tabKey->setText(macroOnly ? QString() : text("SINGLE_KEY"));
    m_tabMacro->setText(text("MACRO_SETTING"));
    m_tabMedia->setText(macroOnly ? QString() : text("MULTI_MEDIA"));
    m_tabFunction->setText(macroOnly ? QString() : text("FUNCTION_KEY"));
    m_ok->setText(text("MACRO_OK"));
    m_cancel->setText(text("MACRO_CANCLE"));
    m_apply->setText(text("COMPOSITE_APPLY"));
    m_clear->setText(text("A_CLEAR"));
    m_clear->setInstantToolTip(text("COMPOSITE_PROMPT_CLEAR"));
    const QString osk = text(m_osk.isEmpty() ? "COMPOSITE_PROMPT_OSK_MISSING" : "COMPOSITE_PROMPT_OSK");
    m_oskButton->setInstantToolTip(osk);
    m_oskButton->setToolTip(osk);

    auto fill = [](QListWidget* list, const QStringList& rows) {
        const QSignalBlocker block(list);
        const int row = list->currentRow();
        list->clear();
        list->addItems(rows);
        list->setCurrentRow(row >= 0 ? row : 0);
    };
    QStringList mouse;
    for (const MouseFunctionRow& r : MouseFunctionList())
        mouse << UiText(r.textKey, languageIndex);
    fill(m_mouseList, mouse);
    QStringList media;
    for (const MediaRow& r : MediaTable())
        media << QString::fromStdString(KeyText(r.code, languageIndex));
    fill(m_mediaList, media);
    QStringList functions;
    for (std::string_view k : FunctionKeyList())
        functions << UiText(k, languageIndex);
    fill(m_functionList, functions);
    // What a keyboard function does is the keyboard's own business: its manual names them, not this program.
    const QString functionTip = text("FUNC_KEY_TIP");
    for (int row = 0; row < m_functionList->count(); ++row)
        m_functionList->item(row)->setToolTip(functionTip);
    applyAccessibleTexts();
    m_macroTab->applyTexts(languageIndex);
    if (m_choice) showChoice();
}

namespace {
QString untilColonName(QString s) {
    return s.endsWith(QLatin1Char(':')) ? s.chopped(1) : s;
}
} // namespace

void KeyAssignmentDialog::applyAccessibleTexts() {
    // The radio buttons' captions are labels of their own beside them; a screen reader gets them as the names.
    m_kb->setAccessibleName(m_kbCaption->text());
    m_mouse->setAccessibleName(m_mouseCaption->text());
    m_disabled->setAccessibleName(m_disabledCaption->text());
    m_keyBox->setAccessibleName(untilColonName(m_singleCaption->text()));
    m_keyBox->setAccessibleDescription(text("COMPOSITE_CAPTURE_START"));
    const auto untilColon = [](QString s) { return s.endsWith(QLatin1Char(':')) ? s.chopped(1) : s; };
    m_kb->setAccessibleDescription(untilColon(m_singleCaption->text()));
    m_mouse->setAccessibleDescription(untilColon(m_singleCaption->text()));
    m_disabled->setAccessibleDescription(untilColon(m_singleCaption->text()));
    const std::pair<SkinButton*, const char*> described[] = {{m_tabKey, "SINGLE_STATIC"},
                                                             {m_tabMacro, textkey::kMacroEditTitle},
                                                             {m_tabMedia, textkey::kMediaEditTitle},
                                                             {m_tabFunction, textkey::kFunctionTitle},
                                                             {m_ok, "ACC_DIALOG_OK_DESC"},
                                                             {m_cancel, "ACC_DIALOG_CANCEL_DESC"},
                                                             {m_apply, "ACC_DIALOG_APPLY_DESC"},
                                                             {m_clear, "COMPOSITE_PROMPT_CLEAR"}};
    for (const auto& [button, key] : described)
        button->setAccessibleDescription(untilColon(text(key)));
    // The key box and the lists are named by the captions above them.
    m_keyBox->setAccessibleName(text("SINGLE_KEY"));
    m_keyBox->setAccessibleDescription(untilColon(m_singleCaption->text()));
    m_mouseList->setAccessibleName(m_mouseCaption->text());
    m_mediaList->setAccessibleName(untilColon(m_mediaCaption->text()));
    m_functionList->setAccessibleName(untilColon(m_functionCaption->text()));
    m_oskButton->setAccessibleName(text("ACC_OSK"));
}

// ---- user actions ----

void KeyAssignmentDialog::onTab(void (CompositeKeyChoice::*choose)()) {
    ((*m_choice).*choose)();
    showChoice();
}

void KeyAssignmentDialog::hideCombination() {
    m_combination.reset();
    m_comboHint->hide();
    m_makeMacro->hide();
}

void KeyAssignmentDialog::makeMacroOfCombination() {
    if (!m_combination) return;
    const auto [modifier, key] = *m_combination;
    // The keyboard plays the combination as the fingers would: the modifier held around the key.
    const std::vector<MacroAction> steps{
        {0, modifier, MACRO_PRESS}, {0, key, MACRO_PRESS}, {0, key, MACRO_RELEASE}, {0, modifier, MACRO_RELEASE}};
    const QString name = m_makeMacro->property("combination").toString();
    if (!m_macroTab->addMacroOf(name.toStdU16String(), steps)) return;
    hideCombination();
    onTab(&CompositeKeyChoice::showMacroTab);
    updateApply();
}

void KeyAssignmentDialog::onOsk() {
    if (!StartOnScreenKeyboard(m_osk)) m_oskButton->setEnabled(false);
}

bool KeyAssignmentDialog::onKey(const KeyEvent& key, QKeyEvent&) {
    if (m_macroTab->recording()) {
        const bool kept = m_macroTab->keyEvent(key);
        updateApply();
        return kept;
    }
    if (m_releasePending != 0 && !key.press && key.key == m_releasePending) {
        // The captured key's release is kept from the desktop too (Super opens menus on release).
        m_releasePending = 0;
        updateKeyTap();
        return true;
    }
    if (!capturing()) return false;
    const auto result = m_choice->keyEvent(key);
    if (result == CompositeKeyChoice::KeyResult::Captured) {
        if (key.press && IsModifier(key.key) && m_heldModifier == 0) {
            // A modifier may start a combination: capture goes on while it is held.
            m_heldModifier = key.key;
            showChoice();
            return true;
        }
        if (m_heldModifier != 0 && key.press) {
            // The keyboard keeps one key per entry: say that only the last key was taken.
            const QString combination = QString::fromStdString(KeyText(m_heldModifier, m_languageIndex)) +
                                        QLatin1Char('+') + QString::fromStdString(KeyText(key.key, m_languageIndex));
            m_comboHint->setText(QString::fromStdString(
                FormatTextString(lookupText("COMPOSITE_COMBINATION", m_languageIndex), combination.toStdString())));
            m_comboHint->show();
            m_combination = {m_heldModifier, key.key};
            m_makeMacro->setText(QString::fromStdString(
                FormatTextString(lookupText("COMPOSITE_MAKE_MACRO", m_languageIndex), combination.toStdString())));
            m_makeMacro->setProperty("combination", combination);
            m_makeMacro->setVisible(!m_choice->macroOnly());
        }
        // One key, then the keyboard is the user's again.
        m_heldModifier = 0;
        m_captureArmed = false;
        m_releasePending = key.press ? key.key : 0;
        showChoice();
    } else if (m_heldModifier != 0 && !key.press && key.key == m_heldModifier) {
        // The modifier went up alone: it is the key.
        m_heldModifier = 0;
        m_captureArmed = false;
        showChoice();
    }
    return result != CompositeKeyChoice::KeyResult::PassOn;
}

void KeyAssignmentDialog::apply() {
    if (!m_choice) return;
    m_macroTab->commit(m_working);
    const KeyRecord record = m_choice->build(m_macroTab->model());
    StoreAssignment(m_working, m_layer, m_choice->keyIndex(), record, m_choice->keepsString());
    m_choice->clearModified();
    m_macroTab->clearModified();
    updateApply();
    emit applied();
}

void KeyAssignmentDialog::cancelForUnplug() {
    if (isVisible()) reject();
}

void KeyAssignmentDialog::done(int result) {
    if (result == QDialog::Accepted) apply();
    m_macroTab->stopRecording();
    m_captureArmed = false;
    m_releasePending = 0;
    m_tap->setActive(false);
    SkinnedDialog::done(result);
}

bool KeyAssignmentDialog::event(QEvent* event) {
    const bool handled = SkinnedDialog::event(event);
    // Capture starts once the dialog is on the screen, and stops when it is hidden.
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) updateKeyTap();
    if (event->type() == QEvent::WindowActivate) m_tap->regrab();
    return handled;
}

void KeyAssignmentDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F1:
        if (!m_macroTab->recording()) emit helpRequested();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter does not close the dialog: OK is a deliberate click, since OK also applies.
        event->accept();
        return;
    default:
        SkinnedDialog::keyPressEvent(event); // Escape cancels
    }
}

} // namespace ombrel
