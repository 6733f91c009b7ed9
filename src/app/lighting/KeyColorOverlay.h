#pragma once
// The colour fills of the keyboard map, drawn by one widget over the map's keys: a semi-transparent colour per key
// for the lighting preview and the user's per-key colours. A new frame repaints only the keys whose fill changed,
// in one repaint of the map, instead of one repaint per key button.
//
// It covers the keys' area and is opaque there: below the fills it draws a copy of what the window shows in that
// area (its background, the keys' faces, whatever else lies under it), kept in screen pixels. The key buttons stay
// where they are (focus, clicks, tooltips, screen readers), but the window's paint passes them by. Twenty times a
// second, copying the background and then every face cost more than the fills themselves; now a tick is one copy
// and the fills. The copy is drawn again only when something under it changes its look.

#include "lighting/PreviewEngine.h"
#include "lighting/UserPatterns.h"

#include "SkinButton.h"

#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace ombrel {

class KeyColorOverlay : public QWidget {
    Q_OBJECT
public:
    // Lies over the keys of `parent` (the main window) and lets every mouse event through to them.
    explicit KeyColorOverlay(QWidget* parent);

    struct Key {
        int slot;                     // colour slot 0..125
        QRect rect;                   // in the parent's coordinates
        SkinButton* button = nullptr; // the key below the fill
    };
    // Also places the widget over the keys.
    void setKeys(std::vector<Key> keys);

    // Shows `frame`; only keys whose fill changed are repainted.
    void showFills(const PreviewFrame& frame);
    // Every key in the colour of its slot.
    void showColors(const SlotColors& colors);
    void clearFills();

    const PreviewFrame& fills() const { return m_frame; }
    // The area repainted by the last change (empty when nothing changed), in the parent's coordinates, for tests.
    const QRegion& lastRepaint() const { return m_lastRepaint; }
    // How often the copy of the area below was drawn, for tests.
    int belowDrawn() const { return m_belowDrawn; }

    static constexpr int kFillAlpha = 128; // 50 % opacity

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Where the copy of the window below this widget is out of date: something there looks different now.
    QRegion changedBelow(const QRegion& dirty) const;
    void drawBelow(const QRegion& area);

    std::vector<Key> m_keys;
    PreviewFrame m_frame{};
    QRegion m_lastRepaint;

    QPixmap m_below;        // what the window shows under this widget, in screen pixels
    qreal m_belowRatio = 0; // the screen's scale m_below was drawn at
    struct Watched {
        QPointer<SkinButton> button;
        QRect rect; // in this widget's coordinates
        SkinButton::Look look;
    };
    std::vector<Watched> m_watched; // the buttons drawn into m_below, as they looked then
    QRegion m_ownRepaint;           // asked for by the fills since the last paint; anything else changed below
    bool m_drawingBelow = false;
    int m_belowDrawn = 0;
};

} // namespace ombrel
