#pragma once
// The skin gallery: every skinned window of the program as the program builds it, filled with sample state, so the
// skin can be looked at without a keyboard. The main window is composed of its real parts; a dialog registered in
// BuildGalleryDialog is its real class, and any other layout file shows as the bare frame it describes.

#include <QString>
#include <QStringList>

#include <memory>

namespace ombrel {

class SkinnedDialog;

// "Main", "Composite", "Profile", "UpdateDlg".
QStringList GalleryDialogNames();

// Builds one window from the layout file of that name in `skinFolder`. Null when the name is unknown or the
// window's background or mask is missing (the skin failure handler has then run).
std::unique_ptr<SkinnedDialog> BuildGalleryDialog(const QString& name, const QString& skinFolder);

// Renders every window to <outFolder>/<name>.png; returns how many could not be rendered.
int RenderGallery(const QString& skinFolder, const QString& outFolder);

} // namespace ombrel
