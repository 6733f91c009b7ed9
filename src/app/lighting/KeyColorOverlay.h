#pragma once
// The colour fills of the keyboard map, drawn by one widget over the map's keys: a semi-transparent colour per key
// for the lighting preview and the user's per-key colours. A new frame repaints only the keys whose fill changed,
// in one repaint of the map, instead of one repaint per key button.
//
// It draws the keys' faces below the fills too: the key buttons stay where they are (focus, clicks, tooltips,
// screen readers), but a window paint passes them by and this widget draws them all with one painter. Twenty
// times a second, a paint event per key (a painter, a clip and a face lookup each) cost more than the pixels.

#include "lighting/PreviewEngine.h"
#include "lighting/UserPatterns.h"

#include <QRect>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace ombrel {

class SkinButton;

class KeyColorOverlay : public QWidget {
    Q_OBJECT
public:
    // Covers `parent` (the main window) and lets every mouse event through to the keys below.
    explicit KeyColorOverlay(QWidget* parent);

    struct Key {
        int slot;                     // colour slot 0..125
        QRect rect;                   // in the parent's coordinates
        SkinButton* button = nullptr; // drawn here when given: the key's own face below its fill
    };
    void setKeys(std::vector<Key> keys);

    // Shows `frame`; only keys whose fill changed are repainted.
    void showFills(const PreviewFrame& frame);
    // Every key in the colour of its slot.
    void showColors(const SlotColors& colors);
    void clearFills();

    const PreviewFrame& fills() const { return m_frame; }
    // The area repainted by the last change (empty when nothing changed), for tests.
    const QRegion& lastRepaint() const { return m_lastRepaint; }

    static constexpr int kFillAlpha = 128; // 50 % opacity

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseKeys();

    std::vector<Key> m_keys;
    std::vector<SkinButton*> m_held; // keys the window's paint at hand passes by
    PreviewFrame m_frame{};
    QRegion m_lastRepaint;
};

} // namespace ombrel
