// Skin start-up and painting: decoding and caching every skin picture, building the main window, and repainting
// the whole keyboard map. Reported in milliseconds, with the memory the cache holds. Run with
// QT_QPA_PLATFORM=offscreen; with QT_SCALE_FACTOR=2 the same work reads the 2x pictures a dense screen uses.
#include "SkinGallery.h"
#include "SkinImageCache.h"
#include "SkinnedDialog.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const QString kSkin = QStringLiteral(OMBREL_BENCH_SKIN_DIR);

// The pictures by their 1x names; on a dense screen the cache reads each one's 2x twin instead.
QStringList SkinPictures() {
    QStringList names =
        QDir(kSkin).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    names.removeIf([](const QString& name) { return name.contains(QLatin1String("@2x")); });
    return names;
}

// Everything the program decodes when it starts: every state picture and panel bitmap, once.
void BM_DecodeAndCacheSkin(benchmark::State& state) {
    auto& cache = ombrel::SkinImageCache::instance();
    cache.setSkinFolder(kSkin);
    const QStringList pictures = SkinPictures();
    for (auto _ : state) {
        cache.clear();
        for (const QString& name : pictures)
            benchmark::DoNotOptimize(cache.pixmap(name));
        // The main window's second set of key pictures comes from the same files: no second decode, no copy.
        for (const char* again : {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"})
            benchmark::DoNotOptimize(cache.pixmap(QString::fromLatin1(again)));
    }
    if (cache.pictureCount() != pictures.size()) state.SkipWithError("a picture is cached twice");
    state.counters["pictures"] = cache.pictureCount();
    state.counters["cache_MiB"] = static_cast<double>(cache.byteCount()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DecodeAndCacheSkin)->Unit(benchmark::kMillisecond);

// The main window as the program builds it at start-up, every picture decoded afresh.
void BM_BuildMainWindow(benchmark::State& state) {
    auto& cache = ombrel::SkinImageCache::instance();
    cache.setSkinFolder(kSkin);
    for (auto _ : state) {
        cache.clear();
        auto dialog = ombrel::BuildGalleryDialog(QStringLiteral("Main"), kSkin);
        if (!dialog) {
            state.SkipWithError("the skin is missing; build the skin target first");
            return;
        }
        benchmark::DoNotOptimize(dialog.get());
    }
    state.counters["density"] = qApp->devicePixelRatio();
    state.counters["cache_MiB"] = static_cast<double>(cache.byteCount()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond);

// A full repaint of the main window: background, 105 keys, 9 G keys and every other control.
void BM_RepaintKeyboardMap(benchmark::State& state) {
    ombrel::SkinImageCache::instance().setSkinFolder(kSkin);
    auto dialog = ombrel::BuildGalleryDialog(QStringLiteral("Main"), kSkin);
    if (!dialog) {
        state.SkipWithError("the skin is missing; build the skin target first");
        return;
    }
    // At the screen's density, as the window system would show it.
    QImage target(dialog->size() * qApp->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(qApp->devicePixelRatio());
    for (auto _ : state) {
        dialog->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["widgets"] = static_cast<double>(dialog->findChildren<QWidget*>().size());
}
BENCHMARK(BM_RepaintKeyboardMap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
