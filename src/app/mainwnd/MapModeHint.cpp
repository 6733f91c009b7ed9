#include "MapModeHint.h"

#include "SkinScale.h"
#include "SkinStyle.h"
#include "WindowContext.h"

namespace ombrel {

namespace {

// In the map's top row, between D6 and the lock indicators.
const QRect kHintRect(594, 110, 218, 28);

} // namespace

MapModeHint::MapModeHint(WindowContext& context, KeyboardMap& map)
    : QLabel(context.window()), m_context(context), m_map(map) {
    setObjectName(QStringLiteral("mapModeHint"));
    connect(&context, &WindowContext::languageChanged, this, &MapModeHint::applyTexts);
    setGeometry(ScaleSkinRect(kHintRect));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    QFont f = font();
    f.setPixelSize(ScaleSkinPixels(11));
    setFont(f);
    setStyleSheet(QStringLiteral("QLabel { color: %1; background: transparent; }").arg(Hex(palette::kTextDim)));
    connect(&map, &KeyboardMap::modeChanged, this, [this] { showMode(m_paints); });
}

void MapModeHint::showMode(bool paints) {
    m_paints = paints;
    const char* key = "MAP_HINT_ASSIGN";
    Qt::CursorShape cursor = Qt::PointingHandCursor;
    switch (m_map.mode()) {
    case MapMode::ShowAssignments:
        break;
    case MapMode::MultiSelect:
        key = "MAP_HINT_MARK";
        break;
    case MapMode::PaintColours:
        key = paints ? "MAP_HINT_PAINT" : "MAP_HINT_VIEW";
        cursor = paints ? Qt::CrossCursor : Qt::ArrowCursor;
        break;
    }
    setText(m_context.text(key));
    setAccessibleName(text());
    m_map.setKeyCursor(cursor);
}

} // namespace ombrel
