// Skin pictures as files, through every reader the skin has: the dialog skin (background and mask named by a
// layout file, the mask as the same file or as a file of its own), the shared picture cache and the plain
// picture loader, then the window shape cut from the mask. Files are named with the suffix their first bytes
// call for, as the skin's own files are. All readers must agree on what the file holds, and the shape must stay
// inside the picture.
#include "RegionFromMask.h"
#include "SkinImageCache.h"
#include "SkinnedDialog.h"

#include "inputs/InputFiles.h"

#include <QGuiApplication>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void startQt() {
    static int argc = 1;
    static char name[] = "fuzz_skin_picture";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

std::string suffixFor(std::string_view bytes) {
    if (bytes.starts_with("BM")) return "bmp";
    if (bytes.starts_with("\x89PNG")) return "png";
    return "jpg";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    startQt();
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string suffix = suffixFor(std::string_view(reinterpret_cast<const char*>(data), size)); // NOLINT
    const auto& scratch = fuzz::ScratchFolder::instance();
    const std::string picture = "picture." + suffix;
    scratch.write(picture, bytes);
    std::string layout = "[SCREEN]\nMain=" + picture + "\n";
    if (size > 0 && (data[size - 1] & 1)) { // a mask file of its own, with the same bytes
        scratch.write("mask." + suffix, bytes);
        layout += "Mask=mask." + suffix + "\n";
    }
    const QString layoutFile = QString::fromStdString(scratch.write("dialog.ini", layout).string());

    const DialogSkin skin = loadDialogSkin(layoutFile);
    if (skin.ok() != !skin.background.isNull()) std::abort();
    // The shape is cut from the mask, which has the background's size: it never reaches outside the window.
    if (!QRect(QPoint(0, 0), skin.background.size()).contains(skin.shape.boundingRect()) && !skin.shape.isEmpty())
        std::abort();

    SkinImageCache& cache = SkinImageCache::instance();
    cache.setSkinFolder(QString::fromStdString(scratch.path().string()));
    const QPixmap* cached = cache.pixmap(QString::fromStdString(picture));
    if (!cached || cached->size() != skin.background.size()) std::abort();
    cache.clear();
    const QImage plain = loadSkinPicture(QString::fromStdString(picture));
    if (plain.size() != skin.background.size()) std::abort();
    return 0;
}
