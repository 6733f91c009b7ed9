// The skin the build drew: every layout key the dialogs read, every picture at the size the placement needs, the
// gallery renders every dialog (the main window from its real parts), and drawing the skin again gives the same bytes.
#include "CaptionBar.h"
#include "CommandBar.h"
#include "KeyboardMap.h"
#include "LightingPanel.h"
#include "ProfileBar.h"
#include "ScreenFit.h"
#include "ScreenTest.h"
#include "SkinButton.h"
#include "SkinGallery.h"
#include "SkinImageCache.h"
#include "SkinScale.h"
#include "SkinnedDialog.h"
#include "rules/SkinRect.h"

#include "keyboard/KeyTable.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace ombrel;

namespace {

const QString kSkin = ombrel::test::BuiltSkinFolder();

QStringList Split(const char* words) {
    return QString::fromLatin1(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList MainKeys() {
    QStringList keys = Split(
        "CONTROL_OK CONTROL_CANCEL CONTROL2_APPLY CONTROL_HELP CONTROL_CLOSE CONTROL_MINIMIZE CONTROL_MENU SORVIK_LINK "
        "SORVIK_VER FLIP_0 FLIP_1 FLIP_2 FUNC_DEFAULT FUNC_SWITCH FUNC_MACRO FUNC_PROFILE1 FUNC_PROFILE2 FUNC_PROFILE3 "
        "FUNC_PROFILES FUNC_REPORT1 FUNC_REPORT2 FUNC_REPORT3 FUNC_REPORT4 KEY_FN LOCK_CAPS LOCK_NUM LOCK_SCROLL "
        "LOCK_AB COLOR_R COLOR_G COLOR_B LEFT_ARROW RIGHT_ARROW CONTROL_UsbStatic CONTROL_DengStatic "
        "CONTROL_DengStaPic CONTROL_LightStatic CONTROL_LightSlider CONTROL_SpeedStatic CONTROL_SpeedSlider "
        "CONTROL_RGBStatic CONTROL_JDTStatic CONTROL_XGcombox CONTROL_umCombo CONTROL_HONGPIC CONTROL_HUANGPIC "
        "CONTROL_LANPIC CONTROL_LVPIC CONTROL_BLFXStatic CONTROL_BLFXStatic2 CONTROL_BLFXStatic3 CONTROL_BLFXLStaPic "
        "CONTROL_BLFXLStaPic2 CONTROL_BLFXLStaPic3 CONTROL_BLFXRStaPic CONTROL_BLFXRStaPic2 CONTROL_BLFXRStaPic3 "
        "CONTROL_CDysButton CONTROL_CDysStatic CONTROL_CDsjsStatic CONTROL_CDsjsStaPic CONTROL_FYYSButton "
        "CONTROL_FYYSStatic CONTROL_FYSJSStatic CONTROL_FYSJSStaPic CONTROL_FYCFStatic CONTROL_FYdjcfStatic "
        "CONTROL_FYdjcfStaPic CONTROL_FYggcfStatc CONTROL_FYggcfStaPic CONTROL_HXysButton CONTROL_HXysStatic "
        "CONTROL_HXsjsStatic CONTROL_HXsjsStaPic CONTROL_JTysButton CONTROL_JTysStatic CONTROL_TSysButton "
        "CONTROL_TSysStatic CONTROL_TSsjsStatic CONTROL_TSsjsStaPic CONTROL_USERysButton CONTROL_USERysStatic "
        "CONTROL_USERjsButton CONTROL_USERjsStatic CONTROL_USERgjStatic CONTROL_USERgjStaPic1 CONTROL_USERgjStaPic2");
    for (int i = 1; i <= 8; ++i)
        keys << QStringLiteral("CONTROL_Color%1").arg(i);
    for (int i = 1; i <= 9; ++i)
        keys << QStringLiteral("FUNC_G%1").arg(i);
    for (const KeyButton& k : KeyButtonTable())
        keys << QString::asprintf("KEY_%03X", static_cast<unsigned>(KeyIndexOf(k.code)));
    return keys;
}

struct LayoutCase {
    QString file;
    QStringList keys;
    QStringList statePictures;
    int margin;
};

std::vector<LayoutCase> Layouts() {
    return {
        {QStringLiteral("Main.ini"), MainKeys(),
         Split("main_normal.jpg main_over.jpg main_down.jpg main_disable.jpg main_color0.jpg main_color1.jpg"), 100},
        {QStringLiteral("Composite.ini"),
         Split("CONTROL_TITLE CONTROL_MASK CONTROL_KEY CONTROL_MACRO CONTROL_MEDIA CONTROL_FUNCTION CONTROL_OSK "
               "CONTROL_CLEAR CONTROL_OK CONTROL_CANCEL CONTROL2_APPLY KEY_SETTING TISHI_SINGLE_STATIC "
               "MEDIA_SETTING_TISHI "
               "FUNCTION_KEY_SETTING_TISHI MARCO_NAME_SETTING FUNC_KEY_INPUT FUNC_KEY_RADIO_KB "
               "FUNC_KEY_RADIO_KB_STATIC FUNC_KEY_RADIO_MOU FUNC_KEY_RADIO_MOU_STATIC FUNC_MEDIA_SELECT "
               "FUNC_FUNCTION_SELECT FUNC_MACRO_LIST FUNC_MACRO_LIST2 FUNC_MACRO_CYCLES FUNC_MACRO_CYCLES_PROMPT "
               "FUNC_MACRO_RECORD_DELAY FUNC_MACRO_RECORD_DELAY2 FUNC_MACRO_ADD FUNC_MACRO_CLEAR FUNC_MACRO_DELETE "
               "FUNC_MACRO_DELETE2 FUNC_MACRO_RECORD FUNC_MACRO_UP FUNC_MACRO_UP_TOP FUNC_MACRO_DOWN "
               "FUNC_MACRO_DOWN_BOTTOM"),
         Split("key_normal.jpg key_over.jpg key_down.jpg macro_normal.jpg macro_over.jpg macro_down.jpg "
               "macro_disable.jpg macro2_normal.jpg macro2_over.jpg macro2_down.jpg macro2_disable.jpg "
               "media_normal.jpg media_over.jpg media_down.jpg function_normal.jpg function_over.jpg "
               "function_down.jpg"),
         1},
        {QStringLiteral("Profile.ini"),
         Split("CONTROL_OK CONTROL_CANCEL CONTROL2_APPLY PROGRAM_LIST FUNC_ADD FUNC_DELETE FUNC_LOAD"),
         Split("Profile_normal.jpg Profile_over.jpg Profile_down.jpg"), 1},
        {QStringLiteral("UpdateDlg.ini"),
         Split("CONTROL_UPStatic CONTROL_UPCombox CONTROL_CUPButton CONTROL_UPButton CONTROL_OPENButton "
               "CONTROL_BACKUPButton"),
         Split("update_normal.jpg update_over.jpg"), 1},
    };
}

QSize SizeOf(const QString& path) {
    return QImageReader(path).size();
}

QByteArray Digest(const QString& folder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile f(QDir(folder).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) return {};
        hash.addData(name.toUtf8());
        hash.addData(f.readAll());
    }
    return hash.result().toHex();
}

} // namespace

class SkinFilesTest : public QObject {
    Q_OBJECT
private slots:
    void layoutFilesHoldEveryKeyAndPictures() {
        for (const LayoutCase& c : Layouts()) {
            const std::string ini = QDir(kSkin).filePath(c.file).toStdString();
            const QString main = QString::fromStdString(ReadIniString(ini, "SCREEN", "Main", ""));
            const QString mask = QString::fromStdString(ReadIniString(ini, "SCREEN", "Mask", ""));
            QVERIFY2(!main.isEmpty() && !mask.isEmpty(), qPrintable(c.file));
            const QSize client = SizeOf(QDir(kSkin).filePath(main));
            QVERIFY2(client.isValid(), qPrintable(main));
            QCOMPARE(SizeOf(QDir(kSkin).filePath(mask)), client);
            const QRect inside(QPoint(0, 0), client);
            for (const QString& key : c.keys) {
                const SkinRect r = ReadSkinRect(ini, "BUTTONINFO", key.toStdString());
                QVERIFY2(r.usable(), qPrintable(c.file + QLatin1Char(' ') + key));
                QVERIFY2(inside.contains(QRect(r.x, r.y, r.w, r.h)), qPrintable(c.file + QLatin1Char(' ') + key));
            }
            for (const QString& picture : c.statePictures) {
                QCOMPARE(SizeOf(QDir(kSkin).filePath(picture)), client + QSize(c.margin, c.margin));
            }
        }
        const std::string mainIni = QDir(kSkin).filePath(QStringLiteral("Main.ini")).toStdString();
        // The program's own skin names no web page: its link opens the About box.
        QVERIFY(ReadIniString(mainIni, "SCREEN", "Link", "").empty());
        for (const char* arrow : {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"}) {
            for (int n = 1; n <= 2; ++n) {
                const SkinRect r = ReadSkinRect(mainIni, "BUTTONINFO2", std::string(arrow) + std::to_string(n));
                QVERIFY(r.usable());
                QVERIFY(QRect(QPoint(0, 0), SizeOf(QDir(kSkin).filePath(QStringLiteral("Arrow.jpg"))))
                            .contains(QPoint(r.x - 1 + 17, r.y - 1 + 17)));
            }
        }
    }

    // The main window fits a 1366 x 768 laptop screen with a desktop panel at 100 %.
    void mainWindowFitsALaptopScreen() {
        const std::string ini = QDir(kSkin).filePath(QStringLiteral("Main.ini")).toStdString();
        const QSize client =
            SizeOf(QDir(kSkin).filePath(QString::fromStdString(ReadIniString(ini, "SCREEN", "Main", ""))));
        QVERIFY(client.isValid());
        QVERIFY2(client.width() <= 1280 && client.height() <= 700,
                 qPrintable(QStringLiteral("%1 x %2").arg(client.width()).arg(client.height())));
    }

    // Every picture has a twin drawn at twice its size for dense screens. Masks shape the window in its own
    // coordinates and the icons come in their own sizes, so they have none.
    void everyPictureHasItsTwinAtTwiceTheSize() {
        const QStringList pictures =
            QDir(kSkin).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.bmp")}, QDir::Files);
        QVERIFY(!pictures.isEmpty());
        for (const QString& name : pictures) {
            if (name.contains(QLatin1String("@2x"))) {
                // No twin without its 1x picture.
                QVERIFY2(QFile::exists(QDir(kSkin).filePath(QString(name).remove(QStringLiteral("@2x")))),
                         qPrintable(name));
                continue;
            }
            const QString twin = SkinTwinPath(QDir(kSkin).filePath(name));
            if (name.endsWith(QLatin1String("_mask.bmp"))) {
                QVERIFY2(!QFile::exists(twin), qPrintable(name));
                continue;
            }
            QCOMPARE(SizeOf(twin), SizeOf(QDir(kSkin).filePath(name)) * 2);
        }
    }

    // On a screen smaller than the window everything shrinks by one factor: the window and its shape, every
    // control's place, and the face each key shows; a click lands on the key drawn under the pointer.
    void shrunkWindowKeepsItsHitAreasAndFaces() {
        const double kScale = 0.75;
        auto& cache = SkinImageCache::instance();
        cache.setSkinFolder(kSkin);
        // The pictures are read for one scale; the window (which holds them) goes before they are freed.
        struct ScaleFor {
            explicit ScaleFor(double scale) {
                SkinImageCache::instance().clear();
                SetSkinWindowScale(scale);
            }
            ~ScaleFor() {
                SetSkinWindowScale(1.0);
                SkinImageCache::instance().clear();
            }
        } scaled(kScale);
        auto dlg = BuildGalleryDialog(QStringLiteral("Main"), kSkin);
        QVERIFY(dlg);
        const QImage bg(QDir(kSkin).filePath(QStringLiteral("main_bg.jpg")));
        QCOMPARE(dlg->size(), (QSizeF(bg.size()) * kScale).toSize());
        QVERIFY(dlg->mask().boundingRect().width() <= dlg->width());
        const QImage shot = dlg->grab().toImage();
        QCOMPARE(shot.size(), dlg->size());
        const QImage normal(QDir(kSkin).filePath(QStringLiteral("main_normal.jpg")));
        const std::string ini = QDir(kSkin).filePath(QStringLiteral("Main.ini")).toStdString();
        for (const QString& key : MainKeys()) {
            if (!key.startsWith(QLatin1String("KEY_")) && !key.startsWith(QLatin1String("FUNC_"))) continue;
            const SkinRect r = ReadSkinRect(ini, "BUTTONINFO", key.toStdString());
            const QRect placed(qRound(r.x * kScale), qRound(r.y * kScale),
                               qRound((r.x + r.w) * kScale) - qRound(r.x * kScale),
                               qRound((r.y + r.h) * kScale) - qRound(r.y * kScale));
            auto* button = dlg->findChild<SkinButton*>(key);
            QVERIFY2(button, qPrintable(key));
            QCOMPARE(button->geometry(), placed);
            QWidget* hit = dlg->childAt(placed.center());
            QVERIFY2(hit == button || button->isAncestorOf(hit), qPrintable(key));
        }
        // Each letter key shows its own face from the picture, shrunk: pixel by pixel it matches the background
        // shrunk as a whole (a face cut from the wrong place shows other edges and legends).
        const QImage expected = bg.scaled(dlg->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (const char* key : {"KEY_010", "KEY_019", "KEY_01E", "KEY_026", "KEY_02C", "KEY_032"}) {
            const QRect face = dlg->findChild<SkinButton*>(QString::fromLatin1(key))->geometry().adjusted(2, 2, -2, -2);
            double difference = 0;
            for (int y = face.top(); y <= face.bottom(); ++y)
                for (int x = face.left(); x <= face.right(); ++x)
                    difference += std::abs(qGray(shot.pixel(x, y)) - qGray(expected.pixel(x, y)));
            difference /= face.width() * face.height();
            QVERIFY2(difference < 6, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(key)).arg(difference)));
        }
    }

    // The program's start on a screen smaller than the window (the offscreen screen is 800 x 600): the main window
    // comes out inside the free area, and the fonts shrink with it.
    void programFitsTheMainWindowToTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QFont font = QApplication::font();
        SkinImageCache::instance().clear();
        const double fit = FitProgramToScreen(kSkin);
        {
            auto dlg = BuildGalleryDialog(QStringLiteral("Main"), kSkin);
            QVERIFY(dlg);
            QVERIFY2(dlg->width() <= area.width() && dlg->height() <= area.height(),
                     qPrintable(QStringLiteral("%1 x %2 at %3").arg(dlg->width()).arg(dlg->height()).arg(fit)));
            QCOMPARE(SkinWindowScale(), fit);
            if (fit < 1.0) QVERIFY(QApplication::font().pointSizeF() < font.pointSizeF());
        }
        SetSkinWindowScale(1.0);
        QApplication::setFont(font);
        SkinImageCache::instance().clear();
    }

    void keyButtonsDoNotOverlap() {
        const std::string ini = QDir(kSkin).filePath(QStringLiteral("Main.ini")).toStdString();
        std::vector<QRect> rects;
        for (const QString& key : MainKeys()) {
            if (!key.startsWith(QLatin1String("KEY_")) && !key.startsWith(QLatin1String("FUNC_G"))) continue;
            const SkinRect r = ReadSkinRect(ini, "BUTTONINFO", key.toStdString());
            rects.emplace_back(r.x, r.y, r.w, r.h);
        }
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j)
                QVERIFY(!rects[i].intersects(rects[j]));
    }

    void panelBitmapsIconsAndTemplateArePresent() {
        QStringList names =
            Split("dengup dengdown leftup leftdown rightup rightdown upup updown downup downdown julong "
                  "julongdown kuosan kuosandown hong hongok huang huangok lv lvok lan lanok sjsup "
                  "sjsdown user1up user1down user2up user2down");
        for (int i = 1; i <= 10; ++i)
            names << QStringLiteral("jdt%1").arg(i);
        for (int i = 0; i <= 25; ++i)
            names << QString::number(i);
        for (int i = 1; i <= 8; ++i)
            names << QStringLiteral("Color%1").arg(i);
        for (const QString& n : names) {
            QVERIFY2(!QImage(QDir(kSkin).filePath(n + QStringLiteral(".bmp"))).isNull(), qPrintable(n));
        }
        const std::string mainIni = QDir(kSkin).filePath(QStringLiteral("Main.ini")).toStdString();
        const SkinRect slider = ReadSkinRect(mainIni, "BUTTONINFO", "CONTROL_LightSlider");
        QCOMPARE(SizeOf(QDir(kSkin).filePath(QStringLiteral("0.bmp"))), QSize(slider.w, slider.h));
        for (const char* icon : {"Tray128.png", "Tray141.png", "Tray142.png", "Ombrel.png"})
            QVERIFY(!QImage(QDir(kSkin).filePath(QString::fromLatin1(icon))).isNull());
        const std::string colours = QDir(kSkin).filePath(QStringLiteral("UserDengColor_3.userd")).toStdString();
        QCOMPARE(ReadIniString(colours, "PRESENTMODE", "mode", ""), std::string("0"));
        for (const char* mode : {"Mode0", "Mode1", "Mode2"}) {
            const std::string last = ReadIniString(colours, mode, "125", "");
            QCOMPARE(std::count(last.begin(), last.end(), ','), 3L);
        }
    }

    void masksLeaveTheCornersOutside() {
        for (const char* mask : {"main_mask.bmp", "composite_mask.bmp", "Profile_mask.bmp", "update_mask.bmp"}) {
            const QImage m(QDir(kSkin).filePath(QString::fromLatin1(mask)));
            QCOMPARE(m.pixel(0, 0), qRgb(255, 255, 255));
            QCOMPARE(m.pixel(m.width() / 2, m.height() / 2), qRgb(0, 0, 0));
        }
    }

    void galleryRendersEveryDialog() {
        QTemporaryDir out;
        SkinImageCache::instance().setSkinFolder(kSkin);
        QCOMPARE(RenderGallery(kSkin, out.path()), 0);
        for (const QString& name : GalleryDialogNames()) {
            const QImage shot(QDir(out.path()).filePath(name + QStringLiteral(".png")));
            QVERIFY2(!shot.isNull(), qPrintable(name));
            const std::string ini = QDir(kSkin).filePath(name + QStringLiteral(".ini")).toStdString();
            const QString bg = QString::fromStdString(ReadIniString(ini, "SCREEN", "Main", ""));
            QCOMPARE(shot.size(), SizeOf(QDir(kSkin).filePath(bg)));
        }
        // The main window's second set of key pictures is the same pixmap, not a second copy.
        auto& cache = SkinImageCache::instance();
        QCOMPARE(cache.pixmap(QStringLiteral("main_normal.jpg")),
                 cache.pixmap(QDir(kSkin).filePath(QStringLiteral("main_normal.jpg"))));
    }

    void galleryMainIsBuiltFromTheWindowsParts() {
        SkinImageCache::instance().setSkinFolder(kSkin);
        auto dlg = BuildGalleryDialog(QStringLiteral("Main"), kSkin);
        QVERIFY(dlg);
        QVERIFY(dlg->findChild<KeyboardMap*>());
        QVERIFY(dlg->findChild<CaptionBar*>());
        QVERIFY(dlg->findChild<ProfileBar*>());
        QVERIFY(dlg->findChild<CommandBar*>());
        auto* panel = dlg->findChild<LightingPanel*>();
        QVERIFY(panel);
        // The sample store shows in the map as the program shows it: assigned keys checked, with their tooltips.
        auto* map = dlg->findChild<KeyboardMap*>();
        QVERIFY(map->button(GKeyControls()[2])->hasCheckedLook());
        QVERIFY(!map->button(GKeyControls()[0])->hasCheckedLook());
        QVERIFY(!map->button(GKeyControls()[0])->instantToolTip().isEmpty());
        QVERIFY(!panel->controls().isEmpty());
    }

    // Every control that takes the focus is reached by Tab. The main window's buttons are clicked only (they do
    // not take the focus) and its lighting controls are off, so only the dialogs' controls are walked.
    void tabWalksThroughEveryDialogsControls() {
        SkinImageCache::instance().setSkinFolder(kSkin);
        for (const QString& name : GalleryDialogNames()) {
            auto dlg = BuildGalleryDialog(name, kSkin);
            QVERIFY(dlg);
            dlg->show();
            dlg->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
            // A control that hands its focus to a part of it (an editable combo box, a spin box) counts once.
            QSet<QWidget*> focusable;
            for (QWidget* w : dlg->findChildren<QWidget*>())
                if (w->isVisibleTo(dlg.get()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
                    !w->focusProxy())
                    focusable.insert(w);
            QSet<QWidget*> seen;
            for (QWidget* w : dlg->findChildren<QWidget*>()) {
                if (w->isVisibleTo(dlg.get()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                    w->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
            for (qsizetype i = 0; i < focusable.size(); ++i) {
                QWidget* now = QApplication::focusWidget();
                QVERIFY2(now && dlg->isAncestorOf(now), qPrintable(name));
                seen.insert(now);
                QTest::keyClick(now, Qt::Key_Tab);
            }
            // Every control that takes the focus is reached, in one round, without leaving the dialog.
            QStringList missed;
            for (QWidget* w : focusable)
                if (!seen.contains(w)) missed << w->objectName() + QLatin1Char(' ') + w->metaObject()->className();
            QVERIFY2(missed.isEmpty(), qPrintable(name + QStringLiteral(" never reaches: ") + missed.join(", ")));
        }
    }

    void drawingAgainGivesTheSameBytes() {
        QTemporaryDir out;
        QProcess gen;
        const QStringList args = {QStringLiteral("--out"),          out.path(),
                                  QStringLiteral("--font-regular"), QStringLiteral(OMBREL_TEST_FONT_REGULAR),
                                  QStringLiteral("--font-bold"),    QStringLiteral(OMBREL_TEST_FONT_BOLD),
                                  QStringLiteral("--font-cjk"),     QStringLiteral(OMBREL_TEST_FONT_CJK)};
        gen.start(QStringLiteral(OMBREL_TEST_SKINGEN), args);
        QVERIFY(gen.waitForFinished(60000));
        QCOMPARE(gen.exitCode(), 0);
        QCOMPARE(Digest(out.path()), Digest(kSkin));
    }
};

OMBREL_SCREEN_TEST_MAIN(SkinFilesTest)
#include "SkinFilesTest.moc"
