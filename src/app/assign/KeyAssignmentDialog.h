#pragma once
// The key assignment dialog: what one key does in the current profile. Four tabs (another key or a mouse action,
// a macro, a media function, a keyboard function) and Clear (the factory function); the macro tab also keeps the
// macro list and records macros. Apply stores into the working store only; the main window's Apply writes the
// keyboard. The decisions are CompositeKeyChoice's; this class shows them and feeds it clicks and keys.

#include "KeyAssignmentPictures.h"
#include "SkinnedDialog.h"

#include "assign/CompositeKeyChoice.h"

#include <QRect>

#include <memory>
#include <optional>
#include <utility>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ombrel {

class ColorStatic;
class KeyEventTap;
class MacroTab;
class SettingsStore;
struct AssignmentStore;

class KeyAssignmentDialog : public SkinnedDialog {
    Q_OBJECT
public:
    KeyAssignmentDialog(const QString& layoutFile, AssignmentStore& working, SettingsStore& settings,
                        QWidget* parent = nullptr);
    ~KeyAssignmentDialog() override;

    // Sets the dialog up for key `keyIndex` (256 + position for a G key, + 9 in bank B) of `layer`: the tab of
    // the key's record, beside `keyButton` (the clicked button on the screen) or centred without one. Macro-only
    // mode, for the ninth G key, offers only macros. False when the skin is incomplete (the failure handler ran).
    bool prepare(KeyIndex keyIndex, int layer, bool macroOnly, std::optional<QRect> keyButton, int languageIndex);
    // prepare, then runs modally; the result is QDialog::Accepted after OK.
    int openForKey(KeyIndex keyIndex, int layer, bool macroOnly, std::optional<QRect> keyButton, int languageIndex);

    // Stores what the dialog shows: the macros, then the key's record.
    void apply();
    // The keyboard went away: close as Cancel.
    void cancelForUnplug();
    // Every text in the language `languageIndex` .
    void applyTexts(int languageIndex);

    const CompositeKeyChoice& choice() const { return *m_choice; }
    MacroTab& macroTab() const { return *m_macroTab; }
    QLineEdit* keyBox() const { return m_keyBox; }
    QListWidget* mouseList() const { return m_mouseList; }
    QListWidget* mediaList() const { return m_mediaList; }
    QListWidget* functionList() const { return m_functionList; }
    SkinButton* button(const char* skinKey) const;
    // The key box waits for a key: after the user focused or clicked it (or pressed Space on it), for one key.
    bool capturing() const;
    void startCapture();
    QRadioButton* disabledChoice() const { return m_disabled; }

signals:
    // A record (and the macros) went into the working store: the window refreshes its map and waits for Apply.
    void applied();
    void helpRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a screen reader says for the controls whose captions are not their own text.
    void applyAccessibleTexts();
    void buildControls();
    void showChoice();
    void placeBeside(std::optional<QRect> keyButton);
    void updateApply();
    void updateKeyTap();
    void stopCapture();
    void showKeyBox();
    bool onKey(const KeyEvent& key, QKeyEvent& event);
    void onTab(void (CompositeKeyChoice::*choose)());
    void onOsk();
    void hideCombination();
    // The pressed combination as a new macro on the macro tab, chosen for the key.
    void makeMacroOfCombination();
    QString text(const char* key) const;

    AssignmentStore& m_working;
    SettingsStore& m_settings;
    KeyAssignmentPictures m_pictures;
    std::unique_ptr<CompositeKeyChoice> m_choice;
    int m_layer = 0;
    int m_languageIndex = 0;
    bool m_macroTabShown = false; // the macro list has been loaded since opening
    QString m_osk;                // the on-screen keyboard program; empty when none is installed

    SkinButton* m_mask = nullptr;
    SkinButton* m_title = nullptr;
    SkinButton* m_tabKey = nullptr;
    SkinButton* m_tabMacro = nullptr;
    SkinButton* m_tabMedia = nullptr;
    SkinButton* m_tabFunction = nullptr;
    SkinButton* m_clear = nullptr;
    SkinButton* m_oskButton = nullptr;
    SkinButton* m_ok = nullptr;
    SkinButton* m_cancel = nullptr;
    SkinButton* m_apply = nullptr;
    ColorStatic* m_titleCaption = nullptr;
    ColorStatic* m_singleCaption = nullptr;
    ColorStatic* m_mediaCaption = nullptr;
    ColorStatic* m_functionCaption = nullptr;
    ColorStatic* m_kbCaption = nullptr;
    ColorStatic* m_mouseCaption = nullptr;
    QLineEdit* m_keyBox = nullptr;
    QRadioButton* m_kb = nullptr;
    QRadioButton* m_mouse = nullptr;
    QRadioButton* m_disabled = nullptr;
    ColorStatic* m_disabledCaption = nullptr;
    bool m_captureArmed = false;
    KeyCode m_releasePending = 0; // the captured key, until it is released
    KeyCode m_heldModifier = 0;   // a modifier pressed first while capturing: a combination may follow
    ColorStatic* m_comboHint = nullptr;
    QPushButton* m_makeMacro = nullptr;
    std::optional<std::pair<KeyCode, KeyCode>> m_combination; // modifier and key of the pressed combination
    QListWidget* m_mouseList = nullptr;
    QListWidget* m_mediaList = nullptr;
    QListWidget* m_functionList = nullptr;
    MacroTab* m_macroTab = nullptr;
    std::unique_ptr<KeyEventTap> m_tap;
};

} // namespace ombrel
