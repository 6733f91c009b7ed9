#include "SkinnedDialog.h"

#include "SkinImageCache.h"
#include "SkinStyle.h"

#include "RegionFromMask.h"

#include "platform/IniFile.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
        QMessageBox::critical(nullptr, QStringLiteral("Ombrel"), message);
        std::exit(SkinnedDialog::kExitSkinMissing);
    };
    return handler;
}

std::atomic<int> g_failureLanguage = 0;

QString ScreenValue(const QString& layoutFile, const char* key) {
    return QString::fromStdString(ReadIniString(layoutFile.toStdString(), "SCREEN", key, ""));
}

} // namespace

DialogSkin loadDialogSkin(const QString& layoutFile) {
    DialogSkin skin;
    const QString folder = QFileInfo(layoutFile).absolutePath();
    const QString mainName = ScreenValue(layoutFile, "Main");
    QString maskName = ScreenValue(layoutFile, "Mask");
    if (maskName.isEmpty()) maskName = mainName;
    const QString mainPath = QDir(folder).filePath(mainName);
    const QString maskPath = QDir(folder).filePath(maskName);
    if (!QFileInfo::exists(layoutFile)) {
        skin.missingFile = layoutFile;
        return skin;
    }
    // The mask is read at 1x and brought to the window's scale whole, so the shape has no seams. It is decoded on
    // a second core while this one decodes the background: both stand between the start and the window.
    const QString maskFile = maskName == mainName ? mainPath : maskPath;
    const double windowScale = SkinWindowScale();
    std::future<QImage> maskJob = std::async(std::launch::async, [maskFile, windowScale] {
        QImage mask = readSkinPicture(maskFile, 1.0, 1.0);
        if (mask.isNull() || windowScale == 1.0) return mask;
        return mask.scaled(static_cast<int>(std::lround(mask.width() * windowScale)),
                           static_cast<int>(std::lround(mask.height() * windowScale)), Qt::IgnoreAspectRatio,
                           Qt::FastTransformation);
    });
    const QImage background = mainName.isEmpty() ? QImage() : readSkinPictureAtScreenSize(mainPath);
    skin.mask = maskJob.get();
    if (background.isNull()) {
        skin.missingFile = mainName.isEmpty() ? layoutFile + QStringLiteral(" [SCREEN] Main") : mainPath;
        return skin;
    }
    if (skin.mask.isNull()) {
        skin.missingFile = maskPath;
        return skin;
    }
    skin.background = QPixmap::fromImage(background);
    return skin;
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

bool SkinnedDialog::applyDialogSkin() {
    m_busy = true;
    DialogSkin skin = loadDialogSkin(m_layoutFile);
    if (!skin.ok()) {
        m_busy = false;
        reportMissingPicture(skin.missingFile);
        return false;
    }
    m_background = std::move(skin.background);
    const QPoint topLeft = pos();
    hide();
    setFixedSize(m_background.deviceIndependentSize().toSize());
    // Kept in its own pixels (the picture is no longer shared, so this copies nothing): painted on a screen of its
    // density it is copied rectangle by rectangle in those pixels.
    m_backgroundRatio = m_background.devicePixelRatio();
    m_background.setDevicePixelRatio(1.0);
    move(topLeft);
    const QRegion shape = regionFromMask(skin.mask, kMaskKeyWhite, 0);
    if (shape.isEmpty())
        clearMask();
    else
        setMask(shape);
    m_busy = false;
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
