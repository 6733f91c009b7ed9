#pragma once
// The colour fills of the keyboard map, drawn by one widget over the map's keys: a semi-transparent colour per key
// for the lighting preview and the user's per-key colours. A new frame repaints only the keys whose fill changed,
// in one repaint of the map, instead of one repaint per key button.

#include "lighting/PreviewEngine.h"
#include "lighting/UserPatterns.h"

#include <QRect>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace ombrel {

class KeyColorOverlay : public QWidget {
    Q_OBJECT
public:
    // Covers `parent` (the main window) and lets every mouse event through to the keys below.
    explicit KeyColorOverlay(QWidget* parent);

    struct Key {
        int slot;   // colour slot 0..125
        QRect rect; // in the parent's coordinates
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

private:
    std::vector<Key> m_keys;
    PreviewFrame m_frame{};
    QRegion m_lastRepaint;
};

} // namespace ombrel
