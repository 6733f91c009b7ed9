#include "UserEffectGroup.h"
#include "LegacyKeys.h"

#include "ClickablePicture.h"
#include "ColorButton.h"
#include "ColorRef.h"
#include "ColorStatic.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "lighting/LightingSession.h"

#include <QComboBox>
#include <QLineEdit>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");

QColor qColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

Rgb rgbOf(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

} // namespace

UserEffectGroup::UserEffectGroup(WindowContext& context, QWidget* panel, std::function<void(QWidget*)> adopt)
    : QObject(panel), m_context(context), m_panel(panel), m_adopt(std::move(adopt)) {}

void UserEffectGroup::build() {
    if (m_built) return;
    m_built = true;
    QWidget* panel = m_panel;
    const QString layoutFile = m_context.layoutFile();
    auto place = [&](QWidget* w, const char* key) {
        w->setObjectName(QString::fromLatin1(key));
        placeControl(w, layoutFile, kSection, w->objectName());
        // Hidden until the panel shows the user effect; made after the window was shown it would stay hidden
        // anyway, made before it would show with it.
        w->setVisible(false);
        m_controls << w;
        m_adopt(w);
    };
    auto label = [&](const char* key, const char* textKey) {
        auto* l = new ColorStatic(panel);
        StyleDimLabel(l);
        place(l, key);
        m_labels.append({l, QString::fromLatin1(textKey)});
    };

    label(skinkey::kUserToolLabel, "Tool");
    for (int t = 0; t < 2; ++t) {
        m_tools[t] = new ClickablePicture(panel);
        m_tools[t]->setAccessibleKind(AccessibleKind::Choice);
        place(m_tools[t], t == 0 ? skinkey::kUserBrushTool : skinkey::kUserBaseTool);
        connect(m_tools[t], &ClickablePicture::clicked, this, [this, t] {
            if (!m_session) return;
            m_session->patterns().setTool(t == 0 ? PaintTool::Brush : PaintTool::Base);
            showTool();
        });
    }
    label("CONTROL_USERysStatic", "Color");
    m_brush = new ColorButton(panel);
    place(m_brush, skinkey::kUserBrushColor);
    connect(m_brush, &ColorButton::colorChanged, this, [this](const QColor& c) {
        if (m_session) m_session->patterns().setBrushColor(rgbOf(c));
        emit brushColorChanged();
    });
    label("CONTROL_USERjsStatic", "JColor");
    m_base = new ColorButton(panel);
    place(m_base, skinkey::kUserBaseColor);
    connect(m_base, &ColorButton::colorChanged, this, [this](const QColor& c) {
        if (!m_session) return;
        const int r = m_session->patterns().setBaseColor(rgbOf(c));
        emit colorsChanged();
        if (r != LINK_OK) emit writeFailed(r);
    });

    m_patterns = new QComboBox(panel);
    // Editable through its own line edit: setEditable would also build the drop-down list at once, a good part of
    // the panel's start, where the list is otherwise built when it first opens. Both look and read the same.
    m_patterns->setLineEdit(new QLineEdit(m_patterns));
    // Enter keeps the typed name as the current pattern's; it never adds a fourth pattern.
    m_patterns->setInsertPolicy(QComboBox::NoInsert);
    m_patterns->lineEdit()->setMaxLength(static_cast<int>(kMaxPatternNameChars));
    place(m_patterns, skinkey::kUserPatternList);
    connect(m_patterns, &QComboBox::activated, this, &UserEffectGroup::onPatternChosen);
    // Only what the user types is a name: the list also changes the text when another pattern is chosen, before
    // it says which, and that would give the old pattern the new one's name.
    connect(m_patterns->lineEdit(), &QLineEdit::textEdited, this, &UserEffectGroup::onNameTyped);
}

void UserEffectGroup::refresh() {
    if (!m_session || !built()) return;
    const UserPatterns& p = m_session->patterns();
    m_filling = true;
    m_patterns->clear();
    for (const std::string& name : p.patternNames())
        m_patterns->addItem(QString::fromStdString(name));
    m_patterns->setCurrentIndex(p.currentPattern());
    m_filling = false;
    m_brush->setColor(qColor(p.settings().brushColor));
    m_base->setColor(qColor(p.settings().baseColor));
    showTool();
}

void UserEffectGroup::setBrushColor(const QColor& colour) {
    if (!m_session) return;
    m_session->patterns().setBrushColor(rgbOf(colour));
    if (m_brush) m_brush->setColor(colour);
}

void UserEffectGroup::showTool() {
    if (!m_session || !built()) return;
    const bool base = m_session->patterns().settings().tool == PaintTool::Base;
    m_tools[0]->showPicture(
        m_context.skinPicture(base ? QStringLiteral("user1up.bmp") : QStringLiteral("user1down.bmp")));
    m_tools[1]->showPicture(
        m_context.skinPicture(base ? QStringLiteral("user2down.bmp") : QStringLiteral("user2up.bmp")));
    m_tools[0]->setChecked(!base);
    m_tools[1]->setChecked(base);
}

void UserEffectGroup::onPatternChosen(int index) {
    if (!m_session || index < 0) return;
    const int r = m_session->patterns().selectPattern(index);
    refresh();
    emit colorsChanged();
    if (r != LINK_OK) emit writeFailed(r);
}

void UserEffectGroup::onNameTyped(const QString& text) {
    if (m_filling || !m_session) return;
    const int current = m_session->patterns().currentPattern();
    m_session->patterns().renameCurrent(text.toStdString());
    if (m_patterns->itemText(current) == text) return;
    // The list shows the new name too; the cursor stays where the user types.
    const int cursor = m_patterns->lineEdit()->cursorPosition();
    m_filling = true;
    m_patterns->setItemText(current, text);
    m_patterns->setEditText(text);
    m_patterns->lineEdit()->setCursorPosition(cursor);
    m_filling = false;
}

} // namespace ombrel
