#pragma once
// The lighting panel of the main window: the effect list, brightness and speed sliders, the report rate, the
// colour fields and the eight colour swatches, placed from the skin. Its controls are placed with their labels
// but switched off: a control that looks usable but does nothing would mislead.
//
// The panel is a widget over the whole window, masked to its controls, so the skin's window coordinates place
// them and clicks beside them reach the window. It owns its timers: the preview runs only while the panel shows
// an effect and is visible, and a lighting reload asked for while the window is hidden waits until it is shown.

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace ombrel {

class CPngButton;
class WindowContext;
struct MapPictures;

class LightingPanel : public QWidget {
    Q_OBJECT
public:
    // Places every control on a panel over `context`'s window; the report-rate buttons use the map's pictures.
    LightingPanel(WindowContext& context, const MapPictures& pictures);

    void applyTexts();
    const QList<QWidget*>& controls() const { return m_controls; }
    CPngButton* reportRateButton(int i) const { return i >= 0 && i < 4 ? m_rates[i] : nullptr; }
    // The report rate shows its first choice, as after a reset of the keyboard.
    void showDefaultReportRate();

    // The keyboard's lighting changed: it is read again at once, or when the window is next shown.
    void requestReload();
    // Whether the panel animates an effect preview; the preview timer runs only while this is on and visible.
    void setPreviewing(bool on);
    bool previewing() const { return m_previewing; }

signals:
    // The lighting was read again from the keyboard.
    void reloaded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updatePreviewTimer();
    void onPreviewTick();
    void updateMask();
    void adopt(QWidget* control);

    WindowContext& m_context;
    QList<QWidget*> m_controls;
    QList<std::pair<QLabel*, QString>> m_labels; // label and its "LIGHT" key
    CPngButton* m_rates[4] = {};
    QTimer m_previewTimer;
    QTimer m_reloadTimer;
    bool m_reloadPending = false; // a reload asked for while the panel was hidden
    bool m_previewing = false;
};

} // namespace ombrel
