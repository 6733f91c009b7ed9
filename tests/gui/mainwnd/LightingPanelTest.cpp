// The lighting panel clicked through on the emulated keyboard: each control's write reaches the keyboard, the
// user effect paints keys of the map, a refused write is said and the keyboard's value shown, and the preview
// ticks only while the panel is on and the window is seen.
#include "MainWindowHarness.h"
#include "ScreenTest.h"

#include "ClickablePicture.h"
#include "ColorButton.h"
#include "KeyColorOverlay.h"
#include "KeyboardMap.h"
#include "LegacyKeys.h"
#include "SkinButton.h"
#include "SkinSlider.h"
#include "TabOrder.h"
#include "UserEffectGroup.h"
#include "UserPrompts.h"

#include "keyboard/KeyTable.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/KeySlots.h"
#include "lighting/LightingSession.h"
#include "platform/IniFile.h"
#include "text/LanguageTexts.h"

#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ombrel;
using namespace ombrel::test;

namespace {

constexpr int kEsc = 1022;

std::vector<int> KeyboardLighting(const MainWindowHarness& h, int profile) {
    const std::vector<std::uint8_t> block = h.keyboardLighting(profile);
    return std::vector<int>(block.begin(), block.end());
}

Rgb KeyboardColor(const MainWindowHarness& h, int profile, int slot) {
    std::uint8_t c[3] = {};
    h.emu().readMemory(EMU_AREA_KEYCOLORS, static_cast<std::uint32_t>(profile * 512 + slot * 3), c, 3);
    return {c[0], c[1], c[2]};
}

template <typename T>
T* Control(MainWindow& w, const char* name) {
    auto* control = w.lightingPanel().findChild<T*>(QString::fromLatin1(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

void ClickPicture(MainWindow& w, const char* name) {
    QTest::mouseClick(Control<ClickablePicture>(w, name), Qt::LeftButton);
}

void ChooseEffect(MainWindow& w, int effect) {
    QComboBox* list = w.lightingPanel().effectList();
    list->setCurrentIndex(list->findData(effect));
}

void PickColor(ColorButton* button, QColor colour) {
    ColorButton::setOtherPicker([colour](const QColor&, QWidget*) { return colour; });
    button->chooseOther();
}

} // namespace

class LightingPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { UserPrompts::reset(); }

    void everyControlWritesItsFieldAtOnce() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        LightingPanel& panel = w.lightingPanel();
        QVERIFY(!panel.panelOn());
        QVERIFY(!panel.effectList()->isVisibleTo(&w));

        ClickPicture(w, "CONTROL_DengStaPic");
        QVERIFY(panel.panelOn());
        QCOMPARE(ReadIniString(h.paths().userIni, "KEYCOLOR", "DengCheck", ""), std::string("1"));
        QCOMPARE(w.map().mode(), MapMode::PaintColours);
        QVERIFY(panel.effectList()->isVisibleTo(&w));
        QCOMPARE(panel.effectList()->count(), 19);

        // Breathing with the colourful switch as it was (on in the factory lighting of profile 0).
        ChooseEffect(w, 5);
        auto block = KeyboardLighting(h, 0);
        QCOMPARE(block[0], 5);
        QCOMPARE(block[4], 1);
        QVERIFY(Control<SkinSlider>(w, "CONTROL_SpeedSlider")->isVisibleTo(&w));
        QVERIFY(Control<ColorButton>(w, "CONTROL_HXysButton")->isVisibleTo(&w));
        QVERIFY(!Control<ClickablePicture>(w, "CONTROL_BLFXLStaPic")->isVisibleTo(&w));

        auto* brightness = Control<SkinSlider>(w, "CONTROL_LightSlider");
        brightness->setFocus();
        QTest::keyClick(brightness, Qt::Key_Left);
        QCOMPARE(KeyboardLighting(h, 0)[1], 4);
        auto* speed = Control<SkinSlider>(w, "CONTROL_SpeedSlider");
        speed->setFocus();
        QTest::keyClick(speed, Qt::Key_Home);
        QCOMPARE(KeyboardLighting(h, 0)[2], 4); // the slider's left end is the slowest
        QTest::keyClick(speed, Qt::Key_End);
        QCOMPARE(KeyboardLighting(h, 0)[2], 0);
        // Each end says which it is, in the window's language.
        const auto* slow = w.findChild<QLabel*>(QStringLiteral("speedSlowLabel"));
        const auto* fast = w.findChild<QLabel*>(QStringLiteral("speedFastLabel"));
        QVERIFY(slow && fast);
        QCOMPARE(slow->text(), QStringLiteral("Slow"));
        QCOMPARE(fast->text(), QStringLiteral("Fast"));
        QVERIFY(slow->isVisibleTo(&w) && fast->isVisibleTo(&w));
        QVERIFY((slow->alignment() & Qt::AlignLeft) && (fast->alignment() & Qt::AlignRight));

        PickColor(Control<ColorButton>(w, "CONTROL_HXysButton"), QColor(255, 0, 0));
        block = KeyboardLighting(h, 0);
        QCOMPARE((std::vector<int>{block[4], block[5], block[6], block[7]}), (std::vector<int>{0, 255, 0, 0}));
        ClickPicture(w, "CONTROL_HXsjsStaPic");
        QCOMPARE(KeyboardLighting(h, 0)[4], 1);

        ChooseEffect(w, 1);
        QVERIFY(Control<ClickablePicture>(w, "CONTROL_BLFXLStaPic")->isVisibleTo(&w));
        ClickPicture(w, "CONTROL_BLFXLStaPic");
        QCOMPARE(KeyboardLighting(h, 0)[3], 255);
        ChooseEffect(w, 17);
        ClickPicture(w, "CONTROL_LVPIC");
        QCOMPARE(KeyboardLighting(h, 0)[17], 2);
        Click(w, "FUNC_REPORT4");
        QCOMPARE(KeyboardLighting(h, 0)[15], 3);
        QVERIFY(panel.reportRateButton(3)->hasCheckedLook());

        // A swatch puts its colour in the fields and writes it; a typed colour is used on Enter.
        ClickPicture(w, "CONTROL_Color3");
        QCOMPARE(Control<QLineEdit>(w, "COLOR_G")->text(), QStringLiteral("126"));
        block = KeyboardLighting(h, 0);
        QCOMPARE((std::vector<int>{block[4], block[5], block[6], block[7]}), (std::vector<int>{0, 0, 126, 255}));
        auto* red = Control<QLineEdit>(w, "COLOR_R");
        red->clear();
        QTest::keyClicks(red, "300");
        QCOMPARE(red->text(), QStringLiteral("255"));
        QTest::keyClick(red, Qt::Key_Return);
        QCOMPARE(KeyboardLighting(h, 0)[5], 255);
        QCOMPARE(Control<ColorButton>(w, "CONTROL_HXysButton")->color(), QColor(255, 126, 255));
        // With the panel off, a swatch still writes at once, and the panel says what the keyboard now runs.
        panel.setPanelOn(false);
        ClickPicture(w, "CONTROL_Color3");
        QCOMPARE(KeyboardLighting(h, 0)[5], 0);
        QVERIFY(panel.statusLine()->isVisibleTo(&w));
        QVERIFY2(panel.statusLine()->text().contains(QStringLiteral("007EFF")), qPrintable(panel.statusLine()->text()));
        panel.setPanelOn(true);

        // Off: the effect's controls go, the map goes back to the key view, and the choice is kept.
        ClickPicture(w, "CONTROL_DengStaPic");
        QVERIFY(!panel.panelOn());
        QCOMPARE(w.map().mode(), MapMode::ShowAssignments);
        QVERIFY(!panel.effectList()->isVisibleTo(&w));
        QCOMPARE(ReadIniString(h.paths().userIni, "KEYCOLOR", "DengCheck", ""), std::string("0"));
        QVERIFY(UserPrompts::shownMessages().isEmpty());
    }

    void tabWalksThePanelInReadingOrder() {
        // An effect with speed, direction and a colour shows the most controls: Tab reaches each of them once, from
        // the switch down the panel, with the report rate between the speed and the direction.
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        ClickPicture(w, skinkey::kLightSwitch);
        ChooseEffect(w, 1); // wave
        QStringList expected{skinkey::kLightSwitch, skinkey::kEffectList, "CONTROL_LightSlider", "CONTROL_SpeedSlider"};
        for (int i = 1; i <= 4; ++i)
            expected << QStringLiteral("FUNC_REPORT%1").arg(i);
        expected << skinkey::kDirectionForward << skinkey::kDirectionBackward << skinkey::kColorGroups[0][1]
                 << skinkey::kColorGroups[0][2] << "COLOR_R"
                 << "COLOR_G"
                 << "COLOR_B";
        QStringList walked;
        for (const QWidget* stop : TabStops(&w))
            if (expected.contains(stop->objectName())) walked << stop->objectName();
        QCOMPARE(walked, expected);
    }

    void theUserEffectsControlsKeepTheirPlaceForTabAndScreenReaders() {
        // The user effect's controls are made once the window is up, not before it shows: Tab and a screen reader
        // still meet them where the panel has always had them, between the report rate and the colour fields.
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        LightingPanel& panel = w.lightingPanel();
        QTRY_VERIFY(panel.findChild<QComboBox*>(QString::fromLatin1(skinkey::kUserPatternList)));
        QStringList children;
        for (QObject* o : panel.children())
            if (o->isWidgetType()) children << o->objectName();
        const QStringList group{skinkey::kUserToolLabel, skinkey::kUserBrushTool,   skinkey::kUserBaseTool,
                                "CONTROL_USERysStatic",  skinkey::kUserBrushColor,  "CONTROL_USERjsStatic",
                                skinkey::kUserBaseColor, skinkey::kUserPatternList, "CONTROL_RGBStatic"};
        const qsizetype start = children.indexOf(group.first());
        QVERIFY(start > 0);
        QCOMPARE(children.mid(start, group.size()), group);
        // Making them does not change what the other controls say.
        QCOMPARE(Control<ClickablePicture>(w, skinkey::kLightSwitch)->accessibleDescription(),
                 QString::fromStdString(lookupText("MAP_HINT_ASSIGN", w.context().languageIndex())));

        ClickPicture(w, skinkey::kLightSwitch);
        ChooseEffect(w, 20); // the user's own colours
        QStringList walked;
        for (const QWidget* stop : TabStops(&w))
            if (panel.isAncestorOf(stop))
                walked << (stop->objectName().isEmpty() ? stop->parentWidget()->objectName() : stop->objectName());
        QStringList expected{skinkey::kLightSwitch, skinkey::kEffectList, "CONTROL_LightSlider"};
        for (int i = 1; i <= 4; ++i)
            expected << QStringLiteral("FUNC_REPORT%1").arg(i);
        expected << skinkey::kUserBrushTool << skinkey::kUserBaseTool << skinkey::kUserBrushColor
                 << skinkey::kUserBaseColor << skinkey::kUserPatternList << "COLOR_R"
                 << "COLOR_G"
                 << "COLOR_B";
        for (int i = 1; i <= 8; ++i)
            expected << QStringLiteral("CONTROL_Color%1").arg(i);
        QCOMPARE(walked, expected);
    }

    void theUserEffectPaintsKeysOfTheMap() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        LightingPanel& panel = w.lightingPanel();
        panel.setPanelOn(true);
        ChooseEffect(w, 20);
        UserEffectGroup* user = panel.userGroup();
        QVERIFY(user->patternList()->isVisibleTo(&w));
        QCOMPARE(KeyboardLighting(h, 0)[0], 20);

        // The colour fields, the swatches and the brush button are one colour: the brush paints what they show.
        const auto effectBlock = KeyboardLighting(h, 0);
        ClickPicture(w, "CONTROL_Color1");
        const Rgb preset = PresetColors()[0];
        QCOMPARE(user->brushButton()->color(), QColor(preset.r, preset.g, preset.b));
        QCOMPARE(Control<QLineEdit>(w, "COLOR_R")->text(), QString::number(preset.r));
        w.map().button(kEsc)->click();
        QCOMPARE(KeyboardColor(h, 0, 0), preset);
        QCOMPARE(KeyboardLighting(h, 0), effectBlock); // the effect itself was not rewritten
        PickColor(user->brushButton(), QColor(10, 20, 30));
        QCOMPARE(Control<QLineEdit>(w, "COLOR_B")->text(), QStringLiteral("30"));
        w.map().button(kEsc)->click();
        QCOMPARE(KeyboardColor(h, 0, 0), (Rgb{10, 20, 30}));
        QCOMPARE(panel.overlay()->fills()[0], (PreviewFill{{10, 20, 30}, true}));
        const std::string file = h.paths().userColorPrefix + "0.userd";
        const std::string pattern = "Mode" + std::to_string(panel.session()->patterns().currentPattern());
        QCOMPARE(ReadIniString(file, pattern, "0", ""), std::string("10,20,30,0"));
        // A G key still opens its assignment.
        QSignalSpy clicked(&w.map(), &KeyboardMap::keyClicked);
        w.map().button(GKeyControls()[0])->click();
        QCOMPARE(clicked.count(), 1);

        // A new base colour reaches the keys that carry it, not the painted one.
        const Rgb before = KeyboardColor(h, 0, SlotOfControl(1058));
        const bool aCarriesBase = panel.session()->patterns().baseFlag(0, SlotOfControl(1058));
        PickColor(user->baseButton(), QColor(0, 255, 0));
        QCOMPARE(KeyboardColor(h, 0, 0), (Rgb{10, 20, 30}));
        const Rgb expected = aCarriesBase ? Rgb{0, 255, 0} : before;
        QCOMPARE(KeyboardColor(h, 0, SlotOfControl(1058)), expected);

        // Another pattern: current in the file, written, and its name typed in the list.
        user->patternList()->setCurrentIndex(2);
        emit user->patternList()->activated(2);
        QCOMPARE(ReadIniString(file, "PRESENTMODE", "mode", ""), std::string("2"));
        user->patternList()->lineEdit()->selectAll();
        QTest::keyClicks(user->patternList()->lineEdit(), "Night");
        QCOMPARE(ReadIniString(file, "MODENAME", "2", ""), std::string("Night"));
        QCOMPARE(user->patternList()->count(), 3);
        QCOMPARE(user->patternList()->itemText(2), QStringLiteral("Night"));
        // Another pattern chosen with the arrow keys renames none: the list shows the chosen name, nobody typed it.
        const std::string second = ReadIniString(file, "MODENAME", "1", "");
        QTest::keyClick(user->patternList(), Qt::Key_Up);
        QCOMPARE(ReadIniString(file, "PRESENTMODE", "mode", ""), std::string("1"));
        QTest::keyClick(user->patternList(), Qt::Key_Down);
        QCOMPARE(ReadIniString(file, "PRESENTMODE", "mode", ""), std::string("2"));
        QCOMPARE(ReadIniString(file, "MODENAME", "2", ""), std::string("Night"));
        QCOMPARE(ReadIniString(file, "MODENAME", "1", ""), second);

        // The base tool paints Fn with the base colour.
        QTest::mouseClick(user->toolPicture(1), Qt::LeftButton);
        w.map().button(kFnControl)->click();
        QCOMPARE(ReadIniString(file, "Mode2", "110", ""), std::string("0,0,0,1"));
    }

    void theMapSaysWhatAClickDoesAndCtrlZTakesBackPaints() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        LightingPanel& panel = w.lightingPanel();
        const auto* hint = w.findChild<QLabel*>(QStringLiteral("mapModeHint"));
        const auto* modeSwitch = Control<QLabel>(w, "CONTROL_DengStatic");
        QVERIFY(hint && hint->isVisibleTo(&w));
        SkinButton* esc = w.map().button(kEsc);
        // What a click does in each mode, said over the map, with the pointer over the keys to match.
        struct Mode {
            const char* name;
            std::function<void()> enter;
            QString hint;
            Qt::CursorShape cursor;
        };
        const Mode modes[] = {
            {"keys", [] {}, QStringLiteral("Click a key to change what it does"), Qt::PointingHandCursor},
            {"marking", [&] { w.map().switchButton()->click(); }, QStringLiteral("Click keys to mark or unmark them"),
             Qt::PointingHandCursor},
            {"lighting, an effect of the keyboard",
             [&] {
                 w.map().switchButton()->click();
                 panel.setPanelOn(true);
                 ChooseEffect(w, 5);
             },
             QStringLiteral("Lighting preview: choose Keys to change keys"), Qt::ArrowCursor},
            {"lighting, the user effect", [&] { ChooseEffect(w, 20); },
             QStringLiteral("Click a key to paint it; Ctrl+Z undoes"), Qt::CrossCursor},
        };
        for (const Mode& m : modes) {
            m.enter();
            QVERIFY2(hint->text() == m.hint, m.name);
            QVERIFY2(esc->cursor().shape() == m.cursor, m.name);
        }
        // The switch names both sides, the current one lit; a click on "Keys" goes back to the keys.
        QVERIFY(modeSwitch->text().contains(QStringLiteral("Keys")));
        QVERIFY(modeSwitch->text().contains(QStringLiteral("<b style=\"color:#2ee6d6\">Lighting</b>")));
        QTest::mouseClick(const_cast<QLabel*>(modeSwitch), Qt::LeftButton, {}, QPoint(2, modeSwitch->height() / 2));
        QVERIFY(!panel.panelOn());
        QCOMPARE(hint->text(), QStringLiteral("Click a key to change what it does"));
        panel.setPanelOn(true);
        QCOMPARE(EffectNumber(panel.session()->state().fields.effect), 20u);

        // Two strokes on Esc and one on A between them; each Ctrl+Z takes back the last one, in every store of the
        // colour, and touches nothing else.
        const int keyA = 1058;
        const std::string file = h.paths().userColorPrefix + "0.userd";
        const std::string pattern = "Mode" + std::to_string(panel.session()->patterns().currentPattern());
        auto colourMemory = [&] {
            std::vector<std::uint8_t> bytes(512);
            h.emu().readMemory(EMU_AREA_KEYCOLORS, 0, bytes.data(), 512);
            return bytes;
        };
        const auto memoryBefore = colourMemory();
        const auto lightingBefore = KeyboardLighting(h, 0);
        const std::string escEntry = ReadIniString(file, pattern, "0", "");
        const std::string aEntry = ReadIniString(file, pattern, std::to_string(SlotOfControl(keyA)), "");
        const PreviewFill escFill = panel.overlay()->fills()[0];
        UserEffectGroup* user = panel.userGroup();
        PickColor(user->brushButton(), QColor(10, 20, 30));
        esc->click();
        PickColor(user->brushButton(), QColor(200, 0, 0));
        w.map().button(keyA)->click();
        esc->click();
        auto undo = [&] { QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier); };
        undo();
        QCOMPARE(KeyboardColor(h, 0, 0), (Rgb{10, 20, 30}));
        QCOMPARE(KeyboardColor(h, 0, SlotOfControl(keyA)), (Rgb{200, 0, 0}));
        QCOMPARE(ReadIniString(file, pattern, "0", ""), std::string("10,20,30,0"));
        undo();
        undo();
        QCOMPARE(colourMemory(), memoryBefore);
        QCOMPARE(ReadIniString(file, pattern, "0", ""), escEntry);
        QCOMPARE(ReadIniString(file, pattern, std::to_string(SlotOfControl(keyA)), ""), aEntry);
        QCOMPARE(panel.overlay()->fills()[0], escFill);
        QCOMPARE(KeyboardLighting(h, 0), lightingBefore);
        QCOMPARE(user->brushButton()->color(), QColor(200, 0, 0)); // the brush is not a paint stroke
        undo();                                                    // nothing left to take back
        QCOMPARE(colourMemory(), memoryBefore);

        // The lighting changed elsewhere (here its brightness) reloads the panel: the paint stays, and can still
        // be taken back.
        esc->click();
        QVERIFY(colourMemory() != memoryBefore);
        const std::uint8_t brightness = KeyboardLighting(h, 0)[1] == 2 ? 3 : 2;
        h.emu().writeMemory(EMU_AREA_LIGHTING, 1, &brightness, 1);
        w.showChangedElsewhere();
        QTRY_COMPARE(int(panel.session()->state().fields.brightness), int(brightness));
        undo();
        QCOMPARE(colourMemory(), memoryBefore);
        QCOMPARE(ReadIniString(file, pattern, "0", ""), escEntry);

        // Apply and another profile end what can be undone.
        const std::vector<std::function<void()>> ends = {
            [&] { QVERIFY(w.commandBar().apply()); },
            [&] {
                QVERIFY(w.profileBar().switchProfile(1));
                QVERIFY(w.profileBar().switchProfile(0));
                panel.setPanelOn(true);
            },
        };
        for (const auto& end : ends) {
            esc->click();
            const auto painted = colourMemory();
            end();
            undo();
            QCOMPARE(colourMemory(), painted);
        }
    }

    void aRefusedWriteIsSaidAndTheKeyboardsValueShown() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        LightingPanel& panel = w.lightingPanel();
        panel.setPanelOn(true);
        const int rate = KeyboardLighting(h, 0)[15];
        h.emu().injectFault(EMU_FAULT_NONE, 0); // the bracket's begin
        for (int i = 0; i < 3; ++i)
            h.emu().injectFault(EMU_FAULT_STATUS_FF, 0); // the write and its retries
        Click(w, "FUNC_REPORT3");
        QCOMPARE(KeyboardLighting(h, 0)[15], rate);
        QVERIFY(panel.reportRateButton(rate)->hasCheckedLook());
        QVERIFY(!panel.reportRateButton(2)->hasCheckedLook());
        QVERIFY(panel.statusLine()->isVisibleTo(&w));
        QVERIFY(!panel.statusLine()->text().isEmpty());
        QVERIFY(UserPrompts::shownMessages().isEmpty()); // nothing stops the user
    }

    // The keys under the colour fills are drawn by the fills' widget in the window's paint: each key looks as it
    // would painted by itself, a change of its look shows at once, and the fill lies over the face.
    void theWindowDrawsEachKeyAsTheKeyItself() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        KeyboardMap& map = w.map();
        const std::vector<int> keys = {kEsc, 1058, GKeyControls()[0], kFnControl};
        auto shownAsItself = [&](int id) {
            SkinButton* key = map.button(id);
            const QImage window = w.grab(key->geometry()).toImage();
            const QImage own = key->grab().toImage();
            return window.convertToFormat(QImage::Format_RGB32) == own.convertToFormat(QImage::Format_RGB32);
        };
        for (int id : keys)
            QVERIFY2(shownAsItself(id), qPrintable(QString::number(id)));
        SkinButton* esc = map.button(kEsc);
        const QImage before = w.grab(esc->geometry()).toImage();
        esc->setCheckedLook(!esc->hasCheckedLook());
        QVERIFY(shownAsItself(kEsc));
        QVERIFY(w.grab(esc->geometry()).toImage() != before);
        // With a fill the key is its face under half of the colour.
        LightingPanel& panel = w.lightingPanel();
        SlotColors colours{};
        colours.fill({255, 0, 0});
        panel.overlay()->showColors(colours);
        const QImage own = esc->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage filled = w.grab(esc->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint middle(own.width() / 2, own.height() / 2);
        const QColor face = own.pixelColor(middle);
        const QColor shown = filled.pixelColor(middle);
        QVERIFY2(std::abs(shown.red() - (face.red() + 255) / 2) <= 2 && std::abs(shown.green() - face.green() / 2) <= 2,
                 qPrintable(shown.name() + QLatin1Char(' ') + face.name()));
        // Every key is painted again by itself once the window is done with it: a key's update still repaints it.
        for (int id : keys)
            QVERIFY(map.button(id)->updatesEnabled());

        // The window keeps a copy of what lies under the fills. What it shows after a change of a key's look,
        // even one made while a new frame repaints the whole map, is what a fresh drawing of the window gives,
        // and a frame alone does not draw the copy again.
        KeyColorOverlay& overlay = *panel.overlay();
        const QRect area = overlay.geometry();
        auto settle = [] {
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        };
        auto onScreen = [&] {
            settle();
            return w.screen()
                ->grabWindow(w.winId(), area.x(), area.y(), area.width(), area.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        auto fresh = [&] { return w.grab(area).toImage().convertToFormat(QImage::Format_RGB32); };
        int hue = 0;
        auto nextFrame = [&] {
            hue = (hue + 40) % 360;
            const QColor c = QColor::fromHsv(hue, 255, 255);
            colours.fill({static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                          static_cast<std::uint8_t>(c.blue())});
            overlay.showColors(colours);
        };
        SkinButton* f5 = map.button(1058);
        struct Change {
            const char* name;
            SkinButton* key;
            std::function<void()> make;
        };
        const std::vector<Change> changes = {
            {"checked", esc, [&] { esc->setCheckedLook(!esc->hasCheckedLook()); }},
            {"hover", f5,
             [&] {
                 QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
                 QCoreApplication::sendEvent(f5, &enter);
             }},
            {"unhover", f5,
             [&] {
                 QEvent leave(QEvent::Leave);
                 QCoreApplication::sendEvent(f5, &leave);
             }},
            {"disabled", esc, [&] { esc->setEnabled(false); }},
            {"enabled", esc, [&] { esc->setEnabled(true); }},
            {"keyboard focus", f5, [&] { f5->setFocus(Qt::TabFocusReason); }},
        };
        nextFrame();
        QCOMPARE(onScreen(), fresh());
        for (const Change& c : changes) {
            const SkinButton::Look look = c.key->look();
            c.make();
            QVERIFY2(c.key->look() != look, c.name);
            nextFrame();
            QVERIFY2(onScreen() == fresh(), c.name);
        }
        // A change while the window is hidden shows when it is seen again.
        w.hideWindow();
        esc->setCheckedLook(!esc->hasCheckedLook());
        w.showWindow();
        QTRY_VERIFY(w.isVisible());
        QCOMPARE(onScreen(), fresh());
        settle();
        const int drawn = overlay.belowDrawn();
        nextFrame();
        settle();
        QCOMPARE(overlay.belowDrawn(), drawn);
    }

    void thePreviewTicksOnlyWhileOnAndSeen() {
        MainWindowHarness h;
        MainWindow& w = h.start(true);
        QTRY_VERIFY(w.isVisible());
        LightingPanel& panel = w.lightingPanel();
        auto* timer = panel.findChild<QTimer*>(QStringLiteral("lightingPreviewTimer"));
        QVERIFY(!timer->isActive());
        panel.setPanelOn(true);
        ChooseEffect(w, 4);
        QVERIFY(timer->isActive());
        // Each tick colours the map: every key in the same hue, repainted as one region.
        QTRY_VERIFY(panel.overlay()->fills()[0].on);
        const PreviewFill first = panel.overlay()->fills()[0];
        QTRY_VERIFY(panel.overlay()->fills()[0] != first);
        QCOMPARE(panel.overlay()->fills()[static_cast<std::size_t>(SlotOfControl(1058))], panel.overlay()->fills()[0]);
        QVERIFY(!panel.overlay()->lastRepaint().isEmpty());

        w.hideWindow();
        QVERIFY(!timer->isActive());
        w.showWindow();
        QTRY_VERIFY(timer->isActive());
        w.showMinimized();
        QTRY_VERIFY(!timer->isActive());
        w.showWindow();
        QTRY_VERIFY(timer->isActive());
        panel.setPanelOn(false);
        QVERIFY(!timer->isActive());
        QVERIFY(!panel.overlay()->fills()[0].on);
    }
};

OMBREL_SCREEN_TEST_MAIN(LightingPanelTest)
#include "LightingPanelTest.moc"
