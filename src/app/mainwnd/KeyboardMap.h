#pragma once
// The keyboard map of the main window: one image button per key, the G keys, Fn and D1..D6, and the small
// controls around them (lock and bank indicators, the layout switch with its arrows, the profile buttons and the
// Switch button). It knows how each button looks and which record it shows; what a click does is the window's.

#include "keys/AssignmentCaption.h"
#include "keys/KeyImage.h"

#include <QObject>
#include <QPixmap>
#include <QString>

#include <functional>
#include <map>

class QWidget;

namespace ombrel {

class CPngButton;

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
    QPixmap dimmed; // main_normal darkened: the face of keys that the current layout switches off
};

class KeyboardMap : public QObject {
public:
    using CommandHandler = std::function<void(int controlId)>;

    KeyboardMap(QWidget* window, QString layoutFile, MapPictures pictures, CommandHandler onCommand);

    // The G keys, the 105 key buttons, D1..D6 and Fn, each from its layout key.
    void PlaceKeyButtons();
    // Lock and bank indicators, Flip0..2 with the arrows, the profile buttons and Switch.
    void PlaceMapControls();

    CPngButton* button(int controlId) const;
    const std::map<int, CPngButton*>& buttons() const { return m_buttons; }

    // Checked state ("assigned") and tooltip of every key and G-key button from `layer` of `image`; the G keys
    // show the records of `bank`.
    void RefreshKeyMarks(const KeyImage& image, int layer, int bank, const MacroNameLookup& macroName,
                         int languageIndex);
    // Only the G keys' checked state, for a bank change.
    void RefreshGKeyMarks(const KeyImage& image, int layer, int bank);
    // The multi-select overlay: on when `multiSelect`, each button showing whether its record is marked.
    void RefreshOverlays(const KeyImage& image, int layer, int bank, bool multiSelect);
    // Layout 0: F1..F4 usable, D1..D6 not; layout 1 the other way round.
    void ApplyLayout(int flip);
    int layout() const { return m_flip; }
    // Checks the button of profile `active` (0..2); any other value changes nothing.
    void MarkProfileButtons(int active);
    // Bank indicator lit and G-key captions A1..A5 / B1..B5.
    void SetBankDisplay(int bank);
    void SetSwitchCaption(const QString& caption);

    // The key record a map button shows (G keys in `bank`); nullopt for buttons without one.
    static std::optional<KeyIndex> KeyIndexOfButton(int controlId, int bank);
    static bool IsKeyButton(int controlId);
    static bool IsGKeyButton(int controlId);
    static bool IsExtraKeyButton(int controlId); // D1..D6

private:
    CPngButton* make(int controlId, const QString& skinKey);
    void placeArrow(int controlId, const char* key, const char* upFace, const char* downFace);
    void onAfterPaint(CPngButton* button);

    QWidget* m_window;
    QString m_layoutFile;
    MapPictures m_pictures;
    CommandHandler m_onCommand;
    std::map<int, CPngButton*> m_buttons;
    int m_flip = 0;
    std::map<int, bool> m_lastHover; // hover state seen by the after-paint handler, per button
};

} // namespace ombrel
