#pragma once
// The keyboard map of the main window: one image button per key, the G keys, Fn and D1..D6, and the small
// controls around them (lock and bank indicators, the layout switch with its arrows, the Switch button between
// the key view and multi-select, and the Macro button). Its mode decides what a click on a key does:
//  - ShowAssignments: the key's record is emitted as keyClicked (the key assignment dialog opens it);
//  - MultiSelect: the key's mark is toggled in the working store, and marksChanged is emitted;
//  - PaintColours: the key's button (Fn too) is emitted as keyPainted (the lighting panel colours it); a G key,
//    which shares its colour with the other G keys, is emitted as keyClicked.

#include "keyboard/KeyTable.h"
#include "keys/KeyImage.h"

#include <QObject>
#include <QPixmap>
#include <QString>

#include <map>
#include <optional>

namespace ombrel {

class SkinButton;
class MapKeyFocus;
class WindowContext;

// The pictures the map's buttons cut their faces from.
struct MapPictures {
    const QPixmap* normal = nullptr;
    const QPixmap* over = nullptr;
    const QPixmap* down = nullptr;
    const QPixmap* disable = nullptr;
    const QPixmap* normal2 = nullptr; // the second set's normal face (Flip0 in layout 1)
    const QPixmap* arrow = nullptr;
    const QPixmap* color0 = nullptr;
    const QPixmap* color1 = nullptr;
    const QPixmap* dimmed = nullptr; // main_normal darkened: the face of keys that the current layout switches off

    // The main window's pictures from the skin folder.
    static MapPictures fromSkin(const WindowContext& context);
};

enum class MapMode { ShowAssignments, MultiSelect, PaintColours };

class KeyboardMap : public QObject {
    Q_OBJECT
public:
    // Places every button of the map on the context's window.
    KeyboardMap(WindowContext& context, MapPictures pictures, QObject* parent);

    // A map button by its control number (the number the skin's key tables give it); null for none.
    SkinButton* button(int controlId) const;
    const std::map<int, SkinButton*>& buttons() const { return m_buttons; }
    SkinButton* switchButton() const;
    SkinButton* macroButton() const { return m_macro; }
    // The keys' keyboard focus: the map's one tab stop and the arrow keys between the keys.
    MapKeyFocus& keyFocus() const { return *m_keyFocus; }

    MapMode mode() const { return m_mode; }
    // The Switch caption and the overlays follow the mode.
    void setMode(MapMode mode);
    // What a click on the key button `controlId` does in the current mode.
    void clickKey(int controlId);
    // The pointer over the keys and Fn, so that the mode shows where a click lands.
    void setKeyCursor(Qt::CursorShape shape);

    // Checked state ("assigned") and tooltip of every key and G-key button from the working store's active layer,
    // the G keys showing the current bank; then the layout from the settings.
    void refresh();
    // The multi-select overlay: on in MultiSelect, each button showing whether its record is marked.
    void refreshOverlays();
    // After a bank change: the G keys' marks and captions, and the bank indicator.
    void showBank();
    void applyTexts();

    // Layout 0: F1..F4 usable, D1..D6 not; layout 1 the other way round. Any stored value but 1 is layout 0.
    void applyLayout(int layout);
    void showLayoutLabel();
    int layout() const { return m_layout; }
    // The other layout, shown and stored.
    void toggleLayout();
    // The layout the settings hold.
    int storedLayout() const;

    // The key record a map button shows (G keys in `bank`); nullopt for buttons without one.
    static std::optional<KeyIndex> keyIndexOfButton(int controlId, int bank);

signals:
    void keyClicked(KeyIndex key);
    void keyPainted(int controlId);
    void marksChanged();
    void modeChanged(MapMode mode);

private:
    void placeKeyButtons();
    void placeMapControls();
    SkinButton* make(int controlId, const QString& skinKey);
    void placeArrow(int controlId, const char* key, const char* upFace, const char* downFace);
    void onAfterPaint(SkinButton* button);
    void onButtonClicked(int controlId);
    void toggleMark(KeyIndex key);

    WindowContext& m_context;
    QString m_layoutFile;
    MapPictures m_pictures;
    std::map<int, SkinButton*> m_buttons;
    SkinButton* m_macro = nullptr;
    MapKeyFocus* m_keyFocus;
    MapMode m_mode = MapMode::ShowAssignments;
    int m_layout = 0;
    std::map<int, bool> m_lastHover; // hover state seen by the after-paint handler, per button
};

} // namespace ombrel
