// Placement from layout files, image button faces and states, the picture slider, dialog skins and mask regions.
#include "ProgramIcon.h"
#include "RegionFromMask.h"
#include "ScreenTest.h"
#include "SkinAccessibility.h"
#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "SkinSlider.h"
#include "SkinnedDialog.h"

#include "text/LanguageTexts.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

using namespace ombrel;

namespace {

// A picture whose every pixel tells where it is: red = x, green = y.
QPixmap CoordinatePicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0));
    return QPixmap::fromImage(img);
}

QPixmap Flat(const QColor& c, int w = 200, int h = 200) {
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QRgb PixelOf(QWidget& w, int x, int y) {
    return w.grab().toImage().pixel(x, y);
}

} // namespace

class SkinControlsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_ini;
    QPixmap m_coords = CoordinatePicture(200, 200);
    QPixmap m_normal = Flat(Qt::black), m_hover = Flat(Qt::red), m_pressed = Flat(Qt::green),
            m_disabled = Flat(Qt::blue), m_checked = Flat(Qt::yellow);

    void setFaces(SkinButton& b) { b.setStateFaces(&m_normal, &m_hover, &m_pressed, &m_disabled, &m_checked); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_ini = m_dir.filePath(QStringLiteral("Test.ini"));
        WriteFile(m_ini, "[buttoninfo]\nPLACED=10,20,30,40\nSHORT=10,20,30\nJUNK=oops\nARROW=50,60,18,18\n"
                         "[BUTTONINFO2]\nFACE=5,7,0,0\n");
    }

    void programIconMadeAheadIsTheSameAsOneMadeWhenAsked() {
        // The start makes the icon on another thread; a skin folder without the picture gives no icon either way.
        QTemporaryDir ahead, asked, empty;
        QImage picture(256, 256, QImage::Format_ARGB32);
        picture.fill(QColor(200, 40, 10));
        QVERIFY(picture.save(QDir(ahead.path()).filePath(QStringLiteral("Ombrel.png"))));
        QVERIFY(picture.save(QDir(asked.path()).filePath(QStringLiteral("Ombrel.png"))));
        PrepareProgramIcon(ahead.path());
        const QIcon made = ProgramIcon(ahead.path());
        const QIcon reference = ProgramIcon(asked.path());
        QVERIFY(!reference.isNull());
        QCOMPARE(made.availableSizes(), reference.availableSizes());
        for (const QSize& size : reference.availableSizes())
            QCOMPARE(made.pixmap(size).toImage(), reference.pixmap(size).toImage());
        PrepareProgramIcon(empty.path());
        QVERIFY(ProgramIcon(empty.path()).isNull());
    }

    void buttonIsPlacedAndCutsItsFaceOnePixelUpLeft() {
        QWidget parent;
        SkinButton b(&parent);
        placeSkinButton(&b, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("placed"), &m_coords, &m_coords,
                        &m_coords, &m_coords, &m_coords);
        QCOMPARE(b.geometry(), QRect(10, 20, 30, 40));
        QVERIFY(b.isEnabled());
        QCOMPARE(b.sourcePoint(), QPoint(10, 20));
        QCOMPARE(PixelOf(b, 0, 0), qRgb(9, 19, 0));
        QCOMPARE(PixelOf(b, 29, 39), qRgb(38, 58, 0));
    }

    // A dense screen reads the 2x twin; it has the 1x picture's size in the window's coordinates, and a button
    // cut from it shows the same place of the picture.
    void twinPictureIsChosenByDensityAndCutAtTheSamePlace_data() {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("twinPresent");
        QTest::addColumn<bool>("twinRead");
        QTest::newRow("1x screen") << 1.0 << true << false;
        QTest::newRow("1.5x screen") << 1.5 << true << true;
        QTest::newRow("2x screen") << 2.0 << true << true;
        QTest::newRow("3x screen") << 3.0 << true << true;
        QTest::newRow("2x screen, no twin") << 2.0 << false << false;
    }
    void twinPictureIsChosenByDensityAndCutAtTheSamePlace() {
        QFETCH(qreal, scale);
        QFETCH(bool, twinPresent);
        QFETCH(bool, twinRead);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("face.bmp"));
        QVERIFY(m_coords.toImage().copy(0, 0, 60, 60).save(path));
        if (twinPresent) {
            // The twin tells itself apart by its blue; each 2 x 2 block holds one pixel of the 1x picture.
            QImage twin(120, 120, QImage::Format_RGB32);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x)
                    twin.setPixel(x, y, qRgb(x / 2, y / 2, 255));
            QVERIFY(twin.save(dir.filePath(QStringLiteral("face@2x.bmp"))));
        }
        const QImage read = readSkinPicture(path, scale);
        QCOMPARE(read.deviceIndependentSize().toSize(), QSize(60, 60));
        QCOMPARE(read.devicePixelRatio(), twinRead ? 2.0 : 1.0);
        const int blue = twinRead ? 255 : 0;
        const QPixmap picture = QPixmap::fromImage(read);
        QWidget parent;
        SkinButton b(&parent);
        placeSkinButton(&b, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("placed"), &picture, &picture, &picture,
                        &picture, &picture);
        QCOMPARE(b.geometry(), QRect(10, 20, 30, 40));
        QCOMPARE(PixelOf(b, 0, 0), qRgb(9, 19, blue));
        QCOMPARE(PixelOf(b, 29, 39), qRgb(38, 58, blue));
    }

    // A face sheet paints the same faces as the whole picture, holds only the faces shown once the event loop is
    // idle, serves later states and places without a second copy of the picture, veils on request, and shows
    // nothing for a file that is not there.
    void sheetPaintsLikeTheWholePictureAndKeepsOnlyItsFaces() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("state.bmp"));
        QVERIFY(m_coords.toImage().save(path));
        auto& cache = SkinImageCache::instance();
        cache.clear();
        const QPixmap* sheet = cache.sheet(path);
        QCOMPARE(cache.sheet(path), sheet);
        QVERIFY(cache.isSheet(sheet));
        const QColor veil(0, 0, 0, 128);
        const QPixmap* veiled = cache.sheet(path, veil);
        QVERIFY(veiled != sheet);

        QWidget parent;
        SkinButton a(&parent), b(&parent), c(&parent);
        placeSkinButton(&a, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("placed"), sheet, sheet, sheet, veiled,
                        sheet);
        placeSkinButton(&b, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("arrow"), sheet, sheet, sheet, sheet,
                        sheet);
        QCOMPARE(PixelOf(a, 0, 0), qRgb(9, 19, 0));
        QCOMPARE(PixelOf(a, 29, 39), qRgb(38, 58, 0));
        QCOMPARE(PixelOf(b, 17, 17), qRgb(66, 76, 0));
        QCOMPARE(cache.decodedSheetCount(), 1);
        QTRY_COMPARE(cache.decodedSheetCount(), 0);
        // Two faces of 30 x 40 and 18 x 18, not the 200 x 200 picture.
        QCOMPARE(cache.byteCount(), std::size_t(4 * (30 * 40 + 18 * 18)));
        QCOMPARE(PixelOf(a, 5, 5), qRgb(14, 24, 0));
        QCOMPARE(cache.decodedSheetCount(), 0);

        a.setEnabled(false);
        const QRgb dark = PixelOf(a, 29, 39);
        QVERIFY(qRed(dark) < 38 && qGreen(dark) < 58 && qGreen(dark) > 0);
        QTRY_COMPARE(cache.decodedSheetCount(), 0);

        const std::size_t bytes = cache.byteCount();
        const QPixmap* missing = cache.sheet(dir.filePath(QStringLiteral("none.jpg")));
        placeSkinButton(&c, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("placed"), missing, missing, missing,
                        missing, missing);
        c.grab();
        QCOMPARE(cache.byteCount(), bytes);
        QCOMPARE(cache.decodedSheetCount(), 0);
        cache.clear();
    }

    void missingOrShortKeyLeavesButtonAtOneOneDisabled_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("missing") << "NOT_THERE";
        QTest::newRow("three numbers") << "SHORT";
        QTest::newRow("no numbers") << "JUNK";
    }
    void missingOrShortKeyLeavesButtonAtOneOneDisabled() {
        QFETCH(QString, key);
        QWidget parent;
        SkinButton b(&parent);
        placeSkinButton(&b, m_ini, QStringLiteral("BUTTONINFO"), key, &m_normal, &m_hover, &m_pressed, &m_disabled,
                        &m_checked);
        QCOMPARE(b.geometry(), QRect(1, 1, 1, 1));
        QVERIFY(!b.isEnabled());
        QLabel other(&parent);
        placeControl(&other, m_ini, QStringLiteral("BUTTONINFO"), key);
        QCOMPARE(other.geometry(), QRect(1, 1, 1, 1));
    }

    void moveKeepsSizeAndArrowTakesItsFaceFromTheSecondKey() {
        QWidget parent;
        QLabel l(&parent);
        l.resize(77, 33);
        moveControl(&l, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("PLACED"));
        QCOMPARE(l.geometry(), QRect(10, 20, 77, 33));
        SkinButton arrow(&parent);
        placeArrowButton(&arrow, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("ARROW"),
                         QStringLiteral("BUTTONINFO2"), QStringLiteral("FACE"), &m_coords);
        QCOMPARE(arrow.geometry(), QRect(50, 60, 18, 18));
        QCOMPARE(PixelOf(arrow, 0, 0), qRgb(4, 6, 0));
        arrow.setDown(true);
        QCOMPARE(PixelOf(arrow, 0, 0), qRgb(4, 6, 0)); // the same face in every state
    }

    void faceFollowsTheStateRule() {
        QWidget parent;
        SkinButton b(&parent);
        b.setGeometry(1, 1, 20, 20);
        setFaces(b);
        QCOMPARE(b.currentFace(), SkinButton::Face::Normal);
        b.setCheckedLook(true);
        QCOMPARE(b.currentFace(), SkinButton::Face::Checked);
        QCOMPARE(PixelOf(b, 5, 5), QColor(Qt::yellow).rgb());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&b, &enter);
        QCOMPARE(b.currentFace(), SkinButton::Face::Hover); // checked and hover: hover
        QCOMPARE(PixelOf(b, 5, 5), QColor(Qt::red).rgb());
        b.setDown(true);
        QCOMPARE(b.currentFace(), SkinButton::Face::Pressed); // pressed beats hover and checked
        b.setAlternate(&m_coords, &m_hover, true, true);
        QCOMPARE(b.currentFace(), SkinButton::Face::Alternate);
        QCOMPARE(PixelOf(b, 5, 5), QColor(Qt::red).rgb()); // the second alternate picture
        b.setEnabled(false);
        QCOMPARE(b.currentFace(), SkinButton::Face::Disabled); // disabled beats everything
        QCOMPARE(PixelOf(b, 5, 5), QColor(Qt::blue).rgb());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&b, &leave);
        QVERIFY(!b.isHovered());
    }

    void frameModeAndTextDrawOverTheFace() {
        QWidget parent;
        SkinButton b(&parent);
        b.setGeometry(0, 0, 40, 20);
        setFaces(b);
        b.setFrame(0x0000FF, 250, true); // red frame, level capped
        QCOMPARE(b.frameLevel(), 100);
        const QImage framed = b.grab().toImage();
        QCOMPARE(framed.pixel(1, 10), QColor(Qt::red).rgb());
        b.setFrame(0, 0, false);
        b.setText(QStringLiteral("WWWW"));
        b.setTextStyle(true, 12, QStringLiteral("Sans"), 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF);
        const QImage text = b.grab().toImage();
        bool white = false;
        for (int x = 0; x < 40 && !white; ++x)
            for (int y = 0; y < 20 && !white; ++y)
                white = qRed(text.pixel(x, y)) > 200 && qGreen(text.pixel(x, y)) > 200;
        QVERIFY(white);
    }

    void doubleClickCountsAsTwoClicks() {
        QWidget parent;
        SkinButton b(&parent);
        b.setGeometry(0, 0, 30, 30);
        parent.show();
        QSignalSpy clicks(&b, &QAbstractButton::clicked);
        // What the window system delivers for a double click: press, release, double click, release.
        const QPointF at(10, 10);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent e(type, at, b.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(&b, &e);
        }
        QCOMPARE(clicks.count(), 2);
    }

    void tooltipShowsAtOnceOnHover() {
        QWidget parent;
        SkinButton b(&parent);
        b.setGeometry(0, 0, 30, 30);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        b.setInstantToolTip(QString()); // an empty text changes nothing
        QVERIFY(b.instantToolTip().isEmpty());
        b.setInstantToolTip(QStringLiteral("Close the window"));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), b.mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(&b, &enter);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Close the window"));
        QToolTip::hideText();
    }

    void afterPaintIsToldWhetherTheNormalFaceWasDrawn() {
        QWidget parent;
        SkinButton b(&parent);
        b.setGeometry(0, 0, 10, 10);
        setFaces(b);
        std::vector<bool> calls;
        b.setAfterPaint([&](SkinButton*, bool normal) { calls.push_back(normal); });
        b.grab();
        b.setCheckedLook(true);
        b.grab();
        QCOMPARE(calls.size(), std::size_t(2));
        QVERIFY(calls[0] && !calls[1]);
    }

    void sliderPressKeysAndWheelTellPositions() {
        QWidget sink;
        SkinSlider s(&sink);
        QSignalSpy moved(&s, &SkinSlider::positionChanged);
        s.setRange(0, 4);
        s.setPageStep(2);
        s.setPicture(Flat(Qt::gray, 100, 20));
        QCOMPARE(s.size(), QSize(100, 20));
        sink.show();
        QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(50, 10));
        QCOMPARE(s.position(), 2); // (50 + 10) / 100 * 4 = 2.4
        QVERIFY(s.isActive());
        QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(50, 10));
        QCOMPARE(moved.count(), 2); // the press moved it, the release reports the end
        QCOMPARE(moved.at(0).at(0).toInt(), 2);
        moved.clear();
        QTest::keyClick(&s, Qt::Key_End);
        QTest::keyClick(&s, Qt::Key_PageDown); // at the maximum: stays, still notifies
        QTest::keyClick(&s, Qt::Key_Left);
        QCOMPARE(moved.count(), 3);
        QCOMPARE(moved.at(1).at(0).toInt(), 4);
        QCOMPARE(s.position(), 3);
        moved.clear();
        QWheelEvent wheel(QPointF(10, 10), s.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&s, &wheel);
        QCOMPARE(s.position(), 2);
        s.setSliderEnabled(false);
        QTest::keyClick(&s, Qt::Key_Home);
        QTest::mousePress(&s, Qt::LeftButton, {}, QPoint(0, 10));
        QCOMPARE(s.position(), 2); // disabled: mouse and keys ignored
        s.setPosition(99);
        QCOMPARE(s.position(), 4); // clamped
    }

    void screenReadersHearWhatEachSkinnedControlIs_data() {
        QTest::addColumn<AccessibleKind>("kind");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<bool>("spokenChecked");
        QTest::addColumn<bool>("spokenSelected");
        // A map key shows an assignment with its checked face: that is no checked state for a screen reader.
        QTest::newRow("button") << AccessibleKind::Button << true << QAccessible::PushButton << false << false;
        QTest::newRow("toggle on") << AccessibleKind::Toggle << true << QAccessible::CheckBox << true << false;
        QTest::newRow("toggle off") << AccessibleKind::Toggle << false << QAccessible::CheckBox << false << false;
        QTest::newRow("choice") << AccessibleKind::Choice << true << QAccessible::RadioButton << true << false;
        QTest::newRow("tab") << AccessibleKind::Tab << true << QAccessible::PageTab << false << true;
    }

    void screenReadersHearWhatEachSkinnedControlIs() {
        QFETCH(AccessibleKind, kind);
        QFETCH(bool, checked);
        QFETCH(QAccessible::Role, role);
        QFETCH(bool, spokenChecked);
        QFETCH(bool, spokenSelected);
        InstallSkinAccessibility();
        QWidget window;
        auto* b = new SkinButton(&window);
        b->setText(QStringLiteral("Caption"));
        b->setAccessibleKind(kind);
        b->setCheckedLook(checked);
        QSignalSpy clicked(b, &QAbstractButton::clicked);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(b);
        QVERIFY(face);
        QCOMPARE(face->role(), role);
        QCOMPARE(bool(face->state().checked), spokenChecked);
        QCOMPARE(bool(face->state().selected), spokenSelected);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Caption")); // the caption when there is no name
        QAccessibleActionInterface* action = face->actionInterface();
        QVERIFY(action && !action->actionNames().isEmpty());
        action->doAction(action->actionNames().constFirst());
        QCOMPARE(clicked.count(), 1);
    }

    void screenReadersHearSliderValuesAndOnlyShownControls() {
        InstallSkinAccessibility();
        QWidget window;
        auto* slider = new SkinSlider(&window);
        slider->setRange(0, 5);
        slider->setPosition(2);
        QSignalSpy moved(slider, &SkinSlider::positionChanged);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(slider);
        QCOMPARE(face->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = face->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 2);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 5);
        // A screen reader's change moves it as the user would, clamped, and the window hears of it.
        value->setCurrentValue(9);
        QCOMPARE(slider->position(), 5);
        QCOMPARE(moved.count(), 1);
        slider->setSliderEnabled(false);
        value->setCurrentValue(1);
        QCOMPARE(slider->position(), 5);

        // Hidden controls and pictures are not in the tree; shown ones are, and come back when shown again.
        auto* hidden = new SkinButton(&window);
        hidden->hide();
        auto* picture = new SkinButton(&window);
        picture->setAccessibleKind(AccessibleKind::Decoration);
        auto* overlay = new QWidget(&window);
        HideFromScreenReaders(overlay);
        QAccessibleInterface* windowFace = QAccessible::queryAccessibleInterface(&window);
        const auto listed = [windowFace] {
            QList<QObject*> objects;
            for (int i = 0; i < windowFace->childCount(); ++i)
                objects << windowFace->child(i)->object();
            return objects;
        };
        QCOMPARE(listed(), QList<QObject*>{slider});
        hidden->show();
        QCOMPARE(listed(), (QList<QObject*>{slider, hidden}));
        QCOMPARE(windowFace->indexOfChild(QAccessible::queryAccessibleInterface(hidden)), 1);
        QCOMPARE(windowFace->indexOfChild(QAccessible::queryAccessibleInterface(picture)), -1);
    }

    void regionFromMaskKeepsWhiteOutside() {
        QImage mask(10, 6, QImage::Format_RGB32);
        mask.fill(Qt::white);
        QPainter(&mask).fillRect(QRect(2, 1, 5, 3), Qt::black);
        const QRegion r = regionFromMask(mask);
        QCOMPARE(r.boundingRect(), QRect(2, 1, 5, 3));
        QVERIFY(r.contains(QPoint(4, 2)) && !r.contains(QPoint(0, 0)));
        QImage noWhite(10, 6, QImage::Format_RGB32);
        noWhite.fill(Qt::darkGray);
        QCOMPARE(regionFromMask(noWhite), QRegion(0, 0, 10, 6));
        QVERIFY(regionFromMask(QImage()).isEmpty());
    }

    void dialogTakesSizeAndShapeFromItsPictures() {
        QTemporaryDir dir;
        QImage bg(80, 50, QImage::Format_RGB32);
        bg.fill(Qt::white);
        QPainter(&bg).fillRect(QRect(5, 5, 70, 40), Qt::darkCyan);
        QVERIFY(bg.save(dir.filePath(QStringLiteral("bg.bmp"))));
        WriteFile(dir.filePath(QStringLiteral("Dlg.ini")), "[SCREEN]\nMain=bg.bmp\n"); // no Mask: the background
        SkinnedDialog dlg(dir.filePath(QStringLiteral("Dlg.ini")));
        dlg.move(30, 40);
        QVERIFY(dlg.applyDialogSkin());
        QCOMPARE(dlg.size(), QSize(80, 50));
        QCOMPARE(dlg.pos(), QPoint(30, 40));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.mask().boundingRect(), QRect(5, 5, 70, 40));
        QCOMPARE(dlg.grab().toImage().pixel(10, 10), QColor(Qt::darkCyan).rgb());
    }

    // The main window is sized from its background's header while the picture is decoded on another core: the
    // size told by the header is the size of the decoded picture, at every scale, from the twin or from the
    // picture itself when the twin is missing or does not decode.
    void dialogIsSizedFromTheHeaderAsTheDecodedPicture_data() {
        QTest::addColumn<qreal>("density");
        QTest::addColumn<double>("windowScale");
        QTest::addColumn<QString>("twin"); // "good", "missing" or "broken"
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("1x") << 1.0 << 1.0 << "good" << QSize(81, 51);
        QTest::newRow("2x screen") << 2.0 << 1.0 << "good" << QSize(162, 102);
        QTest::newRow("1.5 window") << 1.0 << 1.5 << "good" << QSize(122, 77);
        QTest::newRow("2x screen, window shown smaller") << 2.0 << 0.75 << "good" << QSize(122, 77);
        QTest::newRow("twin missing") << 2.0 << 1.0 << "missing" << QSize(162, 102);
        QTest::newRow("twin does not decode") << 1.0 << 1.5 << "broken" << QSize(122, 77);
    }
    void dialogIsSizedFromTheHeaderAsTheDecodedPicture() {
        QFETCH(qreal, density);
        QFETCH(double, windowScale);
        QFETCH(QString, twin);
        QFETCH(QSize, pixels);
        QTemporaryDir dir;
        QImage bg(81, 51, QImage::Format_RGB32);
        bg.fill(Qt::darkCyan);
        const QString path = dir.filePath(QStringLiteral("bg.png"));
        QVERIFY(bg.save(path));
        if (twin != QLatin1String("missing")) {
            QImage big(162, 102, QImage::Format_RGB32);
            big.fill(Qt::darkMagenta);
            QVERIFY(big.save(SkinTwinPath(path)));
            if (twin == QLatin1String("broken")) { // the header whole, the pixels cut short
                QFile file(SkinTwinPath(path));
                QVERIFY(file.resize(file.size() - 20));
            }
        }
        const ScreenPicturePlan plan = planSkinPictureAtScreenSize(path, density, windowScale);
        QCOMPARE(plan.pixels, pixels);
        const QImage decoded = readSkinPictureAtScreenSize(path, density, windowScale);
        QCOMPARE(decoded.size(), pixels);
        QCOMPARE(decoded.deviceIndependentSize().toSize(), plan.shownSize());
        // The twin is shown wherever it can be read whole.
        QCOMPARE(decoded.pixel(3, 3),
                 QColor(twin == QLatin1String("good") && density * windowScale > 1.0 ? Qt::darkMagenta : Qt::darkCyan)
                     .rgb());
    }

    void dialogBuildsWhileItsPicturesAreDecoded() {
        QTemporaryDir dir;
        QImage bg(80, 50, QImage::Format_RGB32);
        bg.fill(Qt::white);
        QPainter(&bg).fillRect(QRect(5, 5, 70, 40), Qt::darkCyan);
        QVERIFY(bg.save(dir.filePath(QStringLiteral("bg.bmp"))));
        WriteFile(dir.filePath(QStringLiteral("Dlg.ini")), "[SCREEN]\nMain=bg.bmp\n");
        SkinnedDialog dlg(dir.filePath(QStringLiteral("Dlg.ini")));
        QVERIFY(dlg.beginDialogSkin());
        QCOMPARE(dlg.size(), QSize(80, 50)); // before the picture is there
        QVERIFY(dlg.finishDialogSkin());
        QCOMPARE(dlg.size(), QSize(80, 50));
        QCOMPARE(dlg.mask().boundingRect(), QRect(5, 5, 70, 40));
        QCOMPARE(dlg.grab().toImage().pixel(10, 10), QColor(Qt::darkCyan).rgb());
        // A background whose header reads but whose pixels do not is reported when the decoding ends.
        QString reported;
        SkinnedDialog::setSkinFailureHandler([&](const QString& message) { reported = message; });
        QVERIFY(bg.save(dir.filePath(QStringLiteral("bg.png"))));
        QFile broken(dir.filePath(QStringLiteral("bg.png")));
        QVERIFY(broken.resize(broken.size() - 20));
        WriteFile(dir.filePath(QStringLiteral("Dlg.ini")), "[SCREEN]\nMain=bg.png\nMask=bg.bmp\n");
        QVERIFY(dlg.beginDialogSkin());
        QVERIFY(reported.isEmpty());
        QCOMPARE(dlg.size(), QSize(80, 50));
        QVERIFY(!dlg.finishDialogSkin());
        QVERIFY2(reported.contains(QStringLiteral("bg.png")), qPrintable(reported));
        SkinnedDialog::setSkinFailureHandler([](const QString&) {});
    }

    // A dialog that would open partly off the screen's free area opens inside it, as near its place as fits.
    void dialogOpensInsideTheScreensFreeArea_data() {
        QTest::addColumn<QPoint>("placed");
        QTest::addColumn<QPoint>("shown");
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("inside stays") << area.topLeft() + QPoint(30, 40) << area.topLeft() + QPoint(30, 40);
        QTest::newRow("past the bottom right")
            << area.bottomRight() - QPoint(10, 10) << area.bottomRight() - QPoint(79, 49);
        QTest::newRow("above and left") << area.topLeft() - QPoint(20, 30) << area.topLeft();
    }
    void dialogOpensInsideTheScreensFreeArea() {
        QFETCH(QPoint, placed);
        QFETCH(QPoint, shown);
        QTemporaryDir dir;
        QImage bg(80, 50, QImage::Format_RGB32);
        bg.fill(Qt::darkCyan);
        QVERIFY(bg.save(dir.filePath(QStringLiteral("bg.bmp"))));
        WriteFile(dir.filePath(QStringLiteral("Dlg.ini")), "[SCREEN]\nMain=bg.bmp\n");
        SkinnedDialog dlg(dir.filePath(QStringLiteral("Dlg.ini")));
        QVERIFY(dlg.applyDialogSkin());
        dlg.move(placed);
        dlg.show();
        QCOMPARE(dlg.pos(), shown);
    }

    void missingBackgroundIsReportedByName() {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("Dlg.ini")), "[SCREEN]\nMain=gone.jpg\nMask=gone_mask.bmp\n");
        QString reported;
        SkinnedDialog::setSkinFailureHandler([&](const QString& message) { reported = message; });
        SkinnedDialog dlg(dir.filePath(QStringLiteral("Dlg.ini")));
        QVERIFY(!dlg.applyDialogSkin());
        QVERIFY2(reported.contains(QStringLiteral("gone.jpg")), qPrintable(reported));
        // A present background with a missing mask names the mask.
        QImage(8, 8, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("gone.jpg")));
        QVERIFY(!dlg.applyDialogSkin());
        QVERIFY2(reported.contains(QStringLiteral("gone_mask.bmp")), qPrintable(reported));

        // Told in the user's language, from the language files, with the file named in every one.
        SharedLanguageTexts().setDataFolder(OMBREL_TEST_SOURCE_DIR "/data/");
        QSet<QString> texts;
        for (int language = 0; language < 6; ++language) {
            SkinnedDialog::setFailureLanguage(language);
            QVERIFY(!dlg.applyDialogSkin());
            QVERIFY2(reported.contains(QStringLiteral("gone_mask.bmp")), qPrintable(reported));
            texts.insert(reported);
        }
        SkinnedDialog::setFailureLanguage(0);
        SharedLanguageTexts().setDataFolder({});
        QCOMPARE(texts.size(), 6);
        QVERIFY2(texts.contains(QStringLiteral("Das Skin-Bild %1 fehlt oder ist nicht lesbar. Installieren Sie Ombrel "
                                               "erneut, um es wiederherzustellen.")
                                    .arg(dir.filePath(QStringLiteral("gone_mask.bmp")))),
                 qPrintable(texts.values().join(QLatin1Char('\n'))));
    }
};

OMBREL_SCREEN_TEST_MAIN(SkinControlsTest)
#include "SkinControlsTest.moc"
