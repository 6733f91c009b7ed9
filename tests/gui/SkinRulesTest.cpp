// The Qt-free rules behind the skin: layout values, mask runs, slider arithmetic, list order, rotated text.
#include "rules/MaskRuns.h"
#include "rules/ReportSortRule.h"
#include "rules/RotatedText.h"
#include "rules/SkinRect.h"
#include "rules/SliderMath.h"
#include "rules/WindowFit.h"

#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>

using namespace ombrel;

class SkinRulesTest : public QObject {
    Q_OBJECT
private slots:
    void skinRectValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << "10,20,30,40" << 4 << QRect(10, 20, 30, 40) << true;
        QTest::newRow("blanks before numbers, trailing text ignored")
            << " 5, 6,+7,8 px" << 4 << QRect(5, 6, 7, 8) << true;
        QTest::newRow("negative kept") << "-3,4,-5,6" << 4 << QRect(-3, 4, -5, 6) << true;
        QTest::newRow("missing key default") << "1,1,1,1,x" << 4 << QRect(1, 1, 1, 1) << false;
        QTest::newRow("three numbers") << "10,20,30" << 3 << QRect(1, 1, 1, 1) << false;
        QTest::newRow("blank before comma stops") << "10 ,20,30,40" << 1 << QRect(1, 1, 1, 1) << false;
        QTest::newRow("empty") << "" << 0 << QRect(1, 1, 1, 1) << false;
        QTest::newRow("out of range") << "99999999999,1,2,3" << 0 << QRect(1, 1, 1, 1) << false;
        QTest::newRow("letters") << "a,b,c,d" << 0 << QRect(1, 1, 1, 1) << false;
    }
    void skinRectValues() {
        QFETCH(QString, text);
        QFETCH(int, fields);
        QFETCH(QRect, rect);
        QFETCH(bool, usable);
        const SkinRect r = ParseSkinRect(text.toStdString());
        QCOMPARE(r.fields, fields);
        QCOMPARE(QRect(r.x, r.y, r.w, r.h), rect);
        QCOMPARE(r.usable(), usable);
    }

    void layoutReadsFollowTheFileOnDisk() {
        // The parsed layout is kept between reads; a file replaced or rewritten in place (even to the same size)
        // is read again, and a removed one gives the default.
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("layout.ini")).toStdString();
        auto write = [&](const char* text) { std::ofstream(path, std::ios::trunc) << "[BUTTONINFO]\nKEY=" << text; };
        auto read = [&] {
            const SkinRect r = ReadSkinRect(path, "BUTTONINFO", "KEY");
            return QRect(r.x, r.y, r.w, r.h);
        };
        write("10,20,30,40\n");
        QCOMPARE(read(), QRect(10, 20, 30, 40));
        QCOMPARE(read(), QRect(10, 20, 30, 40));
        // Two writes can fall within one tick of the file system's clock: the time is set apart explicitly.
        const auto first = std::filesystem::last_write_time(path);
        write("11,21,31,41\n");
        std::filesystem::last_write_time(path, first + std::chrono::seconds(1));
        QCOMPARE(read(), QRect(11, 21, 31, 41));
        write("5,6,7,8\n");
        QCOMPARE(read(), QRect(5, 6, 7, 8));
        QVERIFY(QFile::remove(QString::fromStdString(path)));
        QCOMPARE(read(), QRect(1, 1, 1, 1));
    }

    void windowFitScale_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<double>("scale");
        QTest::newRow("fits") << QSize(1172, 700) << QSize(1366, 740) << 1.0;
        QTest::newRow("fits exactly") << QSize(1172, 700) << QSize(1172, 700) << 1.0;
        QTest::newRow("too tall") << QSize(1172, 700) << QSize(1024, 576) << 0.82; // 576 / 700 = 0.8228
        QTest::newRow("too wide") << QSize(1172, 700) << QSize(800, 1000) << 0.68; // 800 / 1172 = 0.6826
        QTest::newRow("the tighter side wins") << QSize(1000, 1000) << QSize(900, 700) << 0.7;
        QTest::newRow("never below half") << QSize(1172, 700) << QSize(320, 240) << 0.5;
        QTest::newRow("unknown window") << QSize(0, 0) << QSize(800, 600) << 1.0;
        QTest::newRow("unknown area") << QSize(1172, 700) << QSize(-1, 600) << 1.0;
    }
    void windowFitScale() {
        QFETCH(QSize, window);
        QFETCH(QSize, area);
        QFETCH(double, scale);
        const double fit = WindowFitScale(window.width(), window.height(), area.width(), area.height());
        QCOMPARE(fit, scale);
        // Scaled, a window that can fit does fit, to the pixel.
        if (fit > 0.5 && fit < 1.0) {
            QVERIFY(qRound(window.width() * fit) <= area.width());
            QVERIFY(qRound(window.height() * fit) <= area.height());
        }
    }

    void maskRunsMakeOneRectanglePerRun() {
        // 4 x 3: row 0 all white, row 1 two runs, row 2 one full run.
        const std::uint32_t W = 0xFFFFFFFF, B = 0xFF000000;
        const std::vector<std::uint32_t> px = {W, W, W, W, B, W, B, B, B, B, B, B};
        const auto runs = ScanMaskRuns(px, 4, 3, 4, 0xFFFFFF, 0);
        const std::vector<RunRect> expected = {{0, 1, 1, 2}, {2, 1, 4, 2}, {0, 2, 4, 3}};
        QVERIFY(runs == expected);
        // No white at all: the whole picture, row by row; merged it is one rectangle.
        const std::vector<std::uint32_t> black(12, B);
        QCOMPARE(ScanMaskRuns(black, 4, 3, 4, 0xFFFFFF, 0).size(), std::size_t(3));
        const std::vector<RunRect> whole = {{0, 0, 4, 3}};
        QVERIFY(MergeRowBands(ScanMaskRuns(black, 4, 3, 4, 0xFFFFFF, 0)) == whole);
        // All white: nothing.
        QVERIFY(ScanMaskRuns(std::vector<std::uint32_t>(12, W), 4, 3, 4, 0xFFFFFF, 0).empty());
    }

    void maskRunsToleranceAndChannels() {
        // Near-white within the tolerance is outside; channels are compared like with like.
        const std::vector<std::uint32_t> px = {0xFFF8F8F8, 0xFF0000FF, 0xFFFF0000};
        QCOMPARE(ScanMaskRuns(px, 3, 1, 3, 0xF0F0F0, 10).size(), std::size_t(1)); // only the two colours remain
        const auto redKey = ScanMaskRuns(px, 3, 1, 3, 0xFF0000, 0);               // red is the key colour
        const std::vector<RunRect> expected = {{0, 0, 2, 1}};
        QVERIFY(redKey == expected);
    }

    void maskRunsRejectBadDimensions() {
        const std::vector<std::uint32_t> px(6, 0xFF000000);
        QVERIFY(ScanMaskRuns(px, 4, 2, 4, 0xFFFFFF, 0).empty()); // needs 8 pixels
        QVERIFY(ScanMaskRuns(px, 3, 2, 2, 0xFFFFFF, 0).empty()); // stride below width
        QVERIFY(ScanMaskRuns(px, -1, 2, 3, 0xFFFFFF, 0).empty());
        QCOMPARE(ScanMaskRuns(px, 2, 2, 3, 0xFFFFFF, 0).size(), std::size_t(2)); // padded rows are fine
    }

    void sliderPixels() {
        const SliderRange r{0, 4, 1};
        QCOMPARE(SliderPosOfPixel(r, 50, 100), 2); // (50 + 10) / 100 * 4 = 2.4
        QCOMPARE(SliderPosOfPixel(r, 0, 100), 0);
        QCOMPARE(SliderPosOfPixel(r, 95, 100), 4); // past the end is clamped
        QCOMPARE(SliderPosOfPixel(r, -50, 100), 0);
        QCOMPARE(SliderPixelOfPos(r, 2, 100), 50);
        QCOMPARE(SliderPixelOfPos(SliderRange{3, 3, 1}, 3, 100), 0); // empty range
        QCOMPARE(SliderPosOfPixel(r, 10, 0), 0);                     // no width
    }

    void sliderKeys() {
        const SliderRange r{0, 10, 3};
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::PageUp), 2);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::PageDown), 8);
        QCOMPARE(SliderPosAfterKey(r, 10, SliderKey::PageDown), 10);
        QCOMPARE(SliderPosAfterKey(r, 1, SliderKey::PageUp), 0);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::End), 10);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Home), 0);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Right), 6);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Down), 6);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Left), 4);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Up), 4);
        QCOMPARE(SliderPosAfterKey(r, 5, SliderKey::Other), 5);
    }

    void sliderWheelCountsWholeNotches() {
        int acc = 0;
        QCOMPARE(SliderWheelSteps(acc, 120), -1); // away from the user lowers
        QCOMPARE(SliderWheelSteps(acc, -120), 1); // towards the user raises
        QCOMPARE(SliderWheelSteps(acc, -240), 2); // a fast turn is two steps, not one
        QCOMPARE(SliderWheelSteps(acc, 60), 0);   // half a notch waits
        QCOMPARE(SliderWheelSteps(acc, 60), -1);
        QCOMPARE(acc, 0);
        QCOMPARE(SliderWheelSteps(acc, 2000000000), -100); // bounded
    }

    void reportOrder() {
        QVERIFY(CompareReportCells("9", "10") < 0); // numbers as numbers
        QVERIFY(CompareReportCells(" -3", "2") < 0);
        QVERIFY(CompareReportCells("apple", "Banana") < 0); // letters without case
        QVERIFY(CompareReportCells("abc", "ABC") != 0);     // but the order stays total
        QVERIFY(CompareReportCells("ab", "abc") < 0);
        QCOMPARE(CompareReportCells("x", "x"), 0);
        QVERIFY(CompareReportCells("10a", "9a") < 0); // not whole numbers: text
        SortState s;
        s = NextSortState(s, 1);
        QVERIFY(s.column == 1 && s.ascending);
        s = NextSortState(s, 1);
        QVERIFY(s.column == 1 && !s.ascending);
        s = NextSortState(s, 1);
        QVERIFY(s.ascending);
        s = NextSortState(s, 2);
        QVERIFY(s.column == 2 && s.ascending);
    }

    void rotatedTextIsCentred() {
        // Horizontal text (0 degrees) 40 wide in a 100 x 20 box: left edge moves to 30, bottom to 20 - 10 + 5.
        const TextBox placed = PlaceRotatedText({0, 0, 100, 20}, 0, 40, 10);
        QCOMPARE(placed.left, 30);
        QCOMPARE(placed.bottom, 15);
        // At 45 degrees both extents are 28.3: left = 35.9 - 3.5, bottom = 100 - 35.9 + 3.5, truncated.
        const TextBox tilted = PlaceRotatedText({0, 0, 100, 100}, 450, 40, 10);
        QCOMPARE(tilted.left, 32);
        QCOMPARE(tilted.bottom, 67);
    }
};

QTEST_GUILESS_MAIN(SkinRulesTest)
#include "SkinRulesTest.moc"
