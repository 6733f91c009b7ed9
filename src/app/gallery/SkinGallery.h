#pragma once
// The skin gallery: each skinned dialog's frame with its controls placed from the layout files and given their
// pictures, filled with sample texts, so the skin can be looked at without a keyboard.

#include <QString>
#include <QStringList>

#include <memory>

namespace ombrel {

class CBaseDialog;

// "Main", "Composite", "Profile", "UpdateDlg".
QStringList GalleryDialogNames();

// Builds one dialog from the layout file of that name in `skinFolder`. Null when the name is unknown or the
// dialog's background or mask is missing (the skin failure handler has then run).
std::unique_ptr<CBaseDialog> BuildGalleryDialog(const QString& name, const QString& skinFolder);

// Renders every dialog to <outFolder>/<name>.png; returns how many could not be rendered.
int RenderGallery(const QString& skinFolder, const QString& outFolder);

} // namespace ombrel
