#pragma once
// The base of every skinned dialog: a frameless window shaped by its mask picture, painted with its background
// picture, and moved by dragging its surface.

#include <QDialog>
#include <QPixmap>
#include <QString>

#include <functional>

namespace ombrel {

// What a skinned dialog needs from its layout file and the result of reading it.
struct DialogSkin {
    QPixmap background;
    QImage mask;
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
    bool applyDialogSkin();
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
    bool m_pressed = false;  // the left button went down on the surface and is still held
    bool m_dragging = false; // moving the window by hand (no move by the window manager)
    QPoint m_pressPos;
    QPoint m_dragOffset;
};

} // namespace ombrel
