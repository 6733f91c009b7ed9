#pragma once
// The base of every skinned dialog: a frameless window shaped by its mask picture, painted with its background
// picture, and moved by dragging its surface.

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QString>

#include <functional>
#include <future>

namespace ombrel {

// What a skinned dialog needs from its layout file and the result of reading it.
struct DialogSkin {
    QImage background;
    QRegion shape;       // from the mask; empty for the plain rectangle
    QString missingFile; // the background or mask picture that could not be read; empty when all is well
    bool ok() const { return missingFile.isEmpty(); }
};

// Reads "SCREEN"/"Main" and "SCREEN"/"Mask" (the mask defaults to the background) relative to the layout file's
// folder and decodes both pictures.
DialogSkin loadDialogSkin(const QString& layoutFile);

class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    // Called when a dialog's background or mask cannot be read. The default tells the user which file is missing
    // (stderr and a message box) and ends the program with kExitSkinMissing; tests replace it.
    using SkinFailureHandler = std::function<void(const QString& message)>;
    static inline constexpr int kExitSkinMissing = 3;
    static void setSkinFailureHandler(SkinFailureHandler handler);
    // The language the failure is told in (a language index); the window follows the user's choice here.
    static void setFailureLanguage(int languageIndex);
    // Hands a picture the dialog cannot do without, and could not read, to the failure handler.
    static void reportMissingPicture(const QString& path);

    SkinnedDialog(const QString& layoutFile, QWidget* parent = nullptr);
    ~SkinnedDialog() override;

    QString layoutFile() const { return m_layoutFile; }
    QString skinFolder() const;
    bool isBusy() const { return m_busy; }
    const QPixmap& background() const { return m_background; }

    // Background, size and shape: sizes the dialog to the background picture, keeps its top-left corner, hides it
    // and applies the mask. Returns false (after the failure handler ran) when a picture is missing.
    bool applyDialogSkin() { return beginDialogSkin() && finishDialogSkin(); }
    // applyDialogSkin in two halves, so that a window can build its controls while its pictures are decoded on
    // another core: the first sizes the dialog from the background's header and starts the decoding, the second
    // waits for it and takes the background and the shape. Both return false after the failure handler ran.
    bool beginDialogSkin();
    bool finishDialogSkin();
    // Frees the background and mask pictures; they are read again by the next applyDialogSkin.
    void releaseDialogSkin();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // A dialog that would show partly off its screen's free area (under a panel, past an edge) is moved inside it.
    void keepInsideScreen();

    QString m_layoutFile;
    QPixmap m_background;          // in its own pixels
    qreal m_backgroundRatio = 1.0; // its pixels per unit of the window's coordinates
    bool m_busy = false;
    std::future<DialogSkin> m_pendingSkin; // between beginDialogSkin and finishDialogSkin
    bool m_pressed = false;                // the left button went down on the surface and is still held
    bool m_dragging = false;               // moving the window by hand (no move by the window manager)
    QPoint m_pressPos;
    QPoint m_dragOffset;
};

} // namespace ombrel
