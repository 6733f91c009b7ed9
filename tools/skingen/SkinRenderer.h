#pragma once
// Draws a dialog of the geometry table: its background, its mask and its whole-dialog state pictures.

#include "SkinElement.h"
#include "Theme.h"

#include <QImage>

#include <functional>

namespace skingen {

// The state each element is drawn in for one picture.
using StateOf = std::function<State(const SkinElement&)>;
// Extra drawing under the elements (panels, titles, the active tab): called with the painter in client
// coordinates.
using Decor = std::function<void(QPainter&)>;

class SkinRenderer {
public:
    explicit SkinRenderer(const Theme& theme) : m_theme(theme) {}

    // The dialog as it looks in client coordinates.
    // Elements of another tab page than `page` are left out.
    QImage scene(const DialogGeometry& g, const Decor& decor, const StateOf& state,
                 const QString& page = QString()) const;
    // A whole-dialog state picture: the scene shifted so that a control at (x, y) finds its face at (x - 1, y - 1),
    // stateMargin pixels larger than the client area at the right and bottom.
    QImage statePicture(const DialogGeometry& g, const Decor& decor, const StateOf& state,
                        const QString& page = QString()) const;
    // White outside the window's rounded outline, black inside.
    QImage mask(const DialogGeometry& g) const;

private:
    const Theme& m_theme;
};

} // namespace skingen
