#pragma once
// The start every screen test shares, in place of QTEST_MAIN: the QApplication QTEST_MAIN makes, the program's
// language texts and skin pictures from the data folder the build fills, and prompts that never wait for a person
// (a test that answers a real box turns that off itself).

#include <QApplication>
#include <QString>
#include <QTest>

namespace ombrel::test {

// The data folder the build fills as an installed program has it: the language files, Help/ and Skins/.
QString BuiltDataFolder();
QString BuiltSkinFolder();

// Reads the language texts from `dataFolder` and the skin pictures from its Skins/ folder; prompts are headless.
void UseProgramData(const QString& dataFolder);

} // namespace ombrel::test

#define OMBREL_SCREEN_TEST_MAIN(TestObject)                                                                            \
    int main(int argc, char* argv[]) {                                                                                 \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        ombrel::test::UseProgramData(ombrel::test::BuiltDataFolder());                                                 \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
