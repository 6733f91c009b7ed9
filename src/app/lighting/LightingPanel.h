#pragma once
// The lighting panel of the main window: the switch, the effect's controls (EffectGroup), the user effect's
// patterns and tools (UserEffectGroup), the report rate, the colour by numbers and the preset swatches
// (ColorPicker). Every control writes its change to the keyboard at once; when the
// keyboard does not take it, the panel says so below the swatches and shows what the keyboard holds.
//
// The panel is a widget over the whole window, masked to its controls, so the skin's window coordinates place
// them and clicks beside them reach the window. It owns its timers: the preview runs only while the panel is on
// and the window is shown, and a lighting reload asked for while the window is hidden waits until it is shown.

#include "keyboard/LightingEffect.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;

namespace ombrel {

class SkinButton;
class ClickablePicture;
class ColorPicker;
class ColorStatic;
class KeyColorOverlay;
class KeyboardMap;
class LightingSession;
class UserEffectGroup;
class EffectGroup;
class WindowContext;
struct MapPictures;

class LightingPanel : public QWidget {
    Q_OBJECT
public:
    // Places every control on a panel over `context`'s window; the report-rate buttons use the map's pictures.
    LightingPanel(WindowContext& context, const MapPictures& pictures);
    ~LightingPanel() override;

    void applyTexts();
    const QList<QWidget*>& controls() const { return m_controls; }
    SkinButton* reportRateButton(int i) const { return i >= 0 && i < 4 ? m_rates[i] : nullptr; }
    // The report rate shows its first choice, as after a reset of the keyboard.
    void showDefaultReportRate();

    // The map whose keys the panel colours and paints.
    void attachMap(KeyboardMap& map);
    // Asked before the panel is switched on (the profile switch that goes with it); false keeps it off.
    std::function<bool()> confirmSwitchOn;

    // Reads the keyboard's lighting and shows it; with `withUserColors` the user effect's pattern is loaded and
    // written too. False when the keyboard did not answer (said on the panel).
    bool load(bool withUserColors = true);
    // The keyboard's lighting changed: it is read again at once, or when the window is next shown.
    void requestReload();
    // The default lighting for the shown profile (the Default command while the panel is on).
    void resetLighting();
    bool panelOn() const;
    void setPanelOn(bool on);

    // Whether the panel animates the effect (it is on); the preview timer runs only while the window is shown.
    bool previewing() const { return m_previewing; }

    LightingSession* session() const { return m_session.get(); }
    KeyColorOverlay* overlay() const { return m_overlay; }
    QComboBox* effectList() const;
    // The user effect's controls, made first if they were not yet.
    UserEffectGroup* userGroup();
    QLabel* statusLine() const;
    // Whether a click on a map key paints it now (the panel is on with the user effect).
    bool paintsKeys() const { return paintsUserColors(); }
    // Ctrl+Z: the last paint stroke is taken back, until Apply or another profile.
    void undoPaint();
    void forgetPaints();

signals:
    // The lighting was read again from the keyboard.
    void reloaded();
    // While the panel is on, a click on a key paints it instead of opening its assignment.
    void paintModeChanged(bool on);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyAccessibleTexts();
    void buildUserGroup();
    void showModeSwitch();
    void buildEffectControls();
    bool ensureSession();
    void refresh();
    void showEffectControls();
    void showUserColorsOrClear();
    void check(int result);
    void showStatus(const QString& text);

    void onEffectChosen(LightingEffect effect);
    void onColorPicked(const QColor& colour);
    bool paintsUserColors() const;
    // The colour fields show the colour a pick changes.
    void showColorFields();
    void onSwitch();
    void paintKey(int controlId);

    void setPreviewing(bool on);
    void updatePreviewTimer();
    void onPreviewTick();
    void updateMask();
    void adopt(QWidget* control);
    const QPixmap* picture(const QString& file) const;
    QString lightText(const char* key) const;

    WindowContext& m_context;
    std::unique_ptr<LightingSession> m_session;
    KeyColorOverlay* m_overlay = nullptr;
    UserEffectGroup* m_user = nullptr;
    QList<QWidget*> m_controls;
    QList<std::pair<QLabel*, QString>> m_labels; // label and its "LIGHT" key
    SkinButton* m_rates[4] = {};
    ClickablePicture* m_switch = nullptr;
    QLabel* m_modeLabel = nullptr; // "Keys | Lighting" beside the switch
    QLabel* m_rgbLabel = nullptr;  // the first control after the user effect's
    EffectGroup* m_effectGroup = nullptr;
    ColorPicker* m_colorPicker = nullptr;
    ColorStatic* m_status = nullptr;
    QTimer m_statusTimer;
    QTimer m_previewTimer;
    QTimer m_reloadTimer;
    bool m_reloadPending = false; // a reload asked for while the panel was hidden
    bool m_previewing = false;
};

} // namespace ombrel
