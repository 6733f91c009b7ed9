#include "SkinnedDialog.h"
#include "ProgramIcon.h"

#include "SkinImageCache.h"
#include "SkinStyle.h"

#include "RegionFromMask.h"

#include "platform/IniFile.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <future>

namespace ombrel {

namespace {

SkinnedDialog::SkinFailureHandler& FailureHandler() {
    static SkinnedDialog::SkinFailureHandler handler = [](const QString& message) {
        std::fprintf(stderr, "ombrel: %s\n", message.toLocal8Bit().constData());
        EnsureApplicationIcon();
        QMessageBox::critical(nullptr, QStringLiteral("Ombrel"), message);
        std::exit(SkinnedDialog::kExitSkinMissing);
    };
    return handler;
}

std::atomic<int> g_failureLanguage = 0;

QString ScreenValue(const QString& layoutFile, const char* key) {
    return QString::fromStdString(ReadIniString(layoutFile.toStdString(), "SCREEN", key, ""));
}

// The dialog's pictures as far as the layout file and the pictures' headers tell them.
struct SkinFiles {
    QString mainPath;
    QString maskPath;
    ScreenPicturePlan background;
    double windowScale = 1.0;
    QString missingFile;
};

SkinFiles findDialogSkin(const QString& layoutFile) {
    SkinFiles files;
    if (!QFileInfo::exists(layoutFile)) {
        files.missingFile = layoutFile;
        return files;
    }
    const QString folder = QFileInfo(layoutFile).absolutePath();
    const QString mainName = ScreenValue(layoutFile, "Main");
    QString maskName = ScreenValue(layoutFile, "Mask");
    if (maskName.isEmpty()) maskName = mainName;
    if (mainName.isEmpty()) {
        files.missingFile = layoutFile + QStringLiteral(" [SCREEN] Main");
        return files;
    }
    files.mainPath = QDir(folder).filePath(mainName);
    files.maskPath = QDir(folder).filePath(maskName);
    files.windowScale = SkinWindowScale();
    files.background = planSkinPictureAtScreenSize(files.mainPath, SkinPictureScale(), files.windowScale);
    if (files.background.file.isEmpty())
        files.missingFile = files.mainPath;
    else if (!QImageReader(files.maskPath).canRead())
        files.missingFile = files.maskPath;
    return files;
}

// Decodes what findDialogSkin found; runs on any thread.
DialogSkin decodeDialogSkin(const SkinFiles& files) {
    DialogSkin skin;
    // The mask is read at 1x and brought to the window's scale whole, so the shape has no seams. It is decoded on
    // a core of its own: it and the background both stand between the start and the window.
    std::future<QImage> maskJob = std::async(std::launch::async, [path = files.maskPath, scale = files.windowScale] {
        QImage mask = readSkinPicture(path, 1.0, 1.0);
        if (mask.isNull() || scale == 1.0) return mask;
        return mask.scaled(static_cast<int>(std::lround(mask.width() * scale)),
                           static_cast<int>(std::lround(mask.height() * scale)), Qt::IgnoreAspectRatio,
                           Qt::FastTransformation);
    });
    skin.background = readPlannedPicture(files.background);
    // A twin whose header reads but whose pixels do not: the picture itself.
    if (skin.background.isNull() && files.background.twin())
        skin.background = readSkinPictureAtScreenSize(files.mainPath, files.background.density, files.windowScale);
    const QImage mask = maskJob.get();
    if (skin.background.isNull())
        skin.missingFile = files.mainPath;
    else if (mask.isNull())
        skin.missingFile = files.maskPath;
    else
        skin.shape = regionFromMask(mask, kMaskKeyWhite, 0);
    return skin;
}

} // namespace

DialogSkin loadDialogSkin(const QString& layoutFile) {
    const SkinFiles files = findDialogSkin(layoutFile);
    if (!files.missingFile.isEmpty()) return DialogSkin{{}, {}, files.missingFile};
    return decodeDialogSkin(files);
}

void SkinnedDialog::setSkinFailureHandler(SkinFailureHandler handler) {
    FailureHandler() = std::move(handler);
}

SkinnedDialog::SkinnedDialog(const QString& layoutFile, QWidget* parent) : QDialog(parent), m_layoutFile(layoutFile) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

SkinnedDialog::~SkinnedDialog() = default;

QString SkinnedDialog::skinFolder() const {
    return QFileInfo(m_layoutFile).absolutePath();
}

void SkinnedDialog::setFailureLanguage(int languageIndex) {
    g_failureLanguage = languageIndex;
}

void SkinnedDialog::reportMissingPicture(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const std::string text = lookupText("SKIN_PICTURE_MISSING", g_failureLanguage);
    // Without the language files (a broken installation) the English text still names the file.
    if (text == kMissingText) {
        FailureHandler()(
            QStringLiteral("The skin picture %1 is missing or unreadable. Reinstall Ombrel to get it back.")
                .arg(shown));
        return;
    }
    FailureHandler()(QString::fromStdString(FormatTextString(text, shown.toStdString())));
}

bool SkinnedDialog::beginDialogSkin() {
    m_busy = true;
    const SkinFiles files = findDialogSkin(m_layoutFile);
    if (!files.missingFile.isEmpty()) {
        m_busy = false;
        reportMissingPicture(files.missingFile);
        return false;
    }
    const QPoint topLeft = pos();
    hide();
    if (const QSize size = files.background.shownSize(); size.isValid()) setFixedSize(size);
    move(topLeft);
    m_pendingSkin = std::async(std::launch::async, decodeDialogSkin, files);
    return true;
}

bool SkinnedDialog::finishDialogSkin() {
    if (!m_pendingSkin.valid()) return !m_background.isNull();
    DialogSkin skin = m_pendingSkin.get();
    m_busy = false;
    if (!skin.ok()) {
        reportMissingPicture(skin.missingFile);
        return false;
    }
    m_background = QPixmap::fromImage(std::move(skin.background));
    // The header told this size already, unless the picture had to be read from another file after all.
    if (const QSize size = m_background.deviceIndependentSize().toSize(); size != this->size()) {
        const QPoint topLeft = pos();
        setFixedSize(size);
        move(topLeft);
    }
    // Kept in its own pixels (the picture is no longer shared, so this copies nothing): painted on a screen of its
    // density it is copied rectangle by rectangle in those pixels.
    m_backgroundRatio = m_background.devicePixelRatio();
    m_background.setDevicePixelRatio(1.0);
    if (skin.shape.isEmpty())
        clearMask();
    else
        setMask(skin.shape);
    return true;
}

void SkinnedDialog::releaseDialogSkin() {
    m_background = QPixmap();
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    keepInsideScreen();
    QDialog::showEvent(event);
}

void SkinnedDialog::keepInsideScreen() {
    const QScreen* where = screen();
    if (!where || isMinimized()) return;
    const QRect area = where->availableGeometry();
    const QRect frame = frameGeometry();
    if (area.contains(frame)) return;
    // A dialog larger than the area keeps its top-left corner in view.
    const int x = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    move(pos() + QPoint(x, y) - frame.topLeft());
}

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_background.isNull()) {
        painter.fillRect(rect(), ToQColor(palette::kBackdrop));
        return;
    }
    const qreal ratio = devicePixelRatio();
    if (qFuzzyCompare(m_backgroundRatio, ratio)) {
        // A plain copy of the picture's pixels for each rectangle to be painted. Drawn through the scaling of the
        // screen, or clipped to the many rectangles around the keys, the painter would blend every pixel instead,
        // on every preview tick.
        painter.scale(1 / ratio, 1 / ratio);
        for (const QRect& r : event->region()) {
            const QRect pixels = QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect();
            painter.setClipRect(pixels);
            painter.drawPixmap(pixels.topLeft(), m_background, pixels);
        }
        return;
    }
    // A 2x picture on a screen of another density is scaled: smoothly, so its text stays legible.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(rect()), m_background, QRectF(m_background.rect()));
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    // Only presses on the dialog's own surface arrive here; controls take theirs. A press alone moves nothing:
    // window managers asked to move on a click that already ended throw the window by the previous drag.
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_dragging = false;
        m_pressPos = event->globalPosition().toPoint();
        m_dragOffset = m_pressPos - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        m_pressed = m_dragging = false;
        QDialog::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const QPoint global = event->globalPosition().toPoint();
    if (!m_dragging) {
        if ((global - m_pressPos).manhattanLength() < QApplication::startDragDistance()) return;
        // The window manager moves the window where it can, so it snaps and stays inside its rules.
        QWindow* window = windowHandle();
        if (window && window->startSystemMove()) {
            m_pressed = false;
            return;
        }
        m_dragging = true;
    }
    move(global - m_dragOffset);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    m_pressed = m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

} // namespace ombrel
