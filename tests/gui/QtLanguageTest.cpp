// The chosen language reaches what Qt draws itself: its translations for the file dialog and the words of the
// message boxes' buttons, which must be the words the questions tell the user to choose.
#include "QtLanguage.h"
#include "ScreenTest.h"
#include "UserPrompts.h"

#include "text/LanguageTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace ombrel;

class QtLanguageTest : public QObject {
    Q_OBJECT
private slots:
    // The question's buttons are read from a real box, as the user sees it.
    void initTestCase() { UserPrompts::setHeadless(false); }
    void cleanup() {
        ApplyLanguageToQt(0);
        UserPrompts::reset();
    }

    void qtSpeaksTheChosenLanguage() {
        struct Case {
            int index;
            const char* saveAs; // QFileDialog's "Save As" in that language
        };
        const Case cases[] = {{1, "Speichern unter"},
                              {2, "Enregistrer sous"},
                              {3, "Guardar como"},
                              {4, "另存为"},
                              {5, "名前を付けて保存"}};
        for (const Case& c : cases) {
            QVERIFY2(ApplyLanguageToQt(c.index), qPrintable(QtTranslationName(c.index)));
            QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QString::fromUtf8(c.saveAs));
        }
        // Back to English: no translation is left behind.
        QVERIFY(!ApplyLanguageToQt(0));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Save As"));
        QCOMPARE(QtTranslationName(9), QStringLiteral("en"));
    }

    void questionButtonsWearTheWordsTheQuestionNames() {
        for (int index = 0; index < static_cast<int>(kLanguageTable.size()); ++index) {
            ApplyLanguageToQt(index);
            const QString prompt = QString::fromStdString(lookupText("PROFILE_SELECT_PROMPT", index));
            const QString no = UserPrompts::buttonCaption(QMessageBox::No);
            QVERIFY2(prompt.contains(no), qPrintable(QStringLiteral("%1: %2").arg(no, prompt)));

            // A real box, as the user sees it: its buttons' captions, then No is clicked.
            QStringList seen;
            QTimer::singleShot(0, this, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                for (QAbstractButton* b : box->buttons())
                    seen << b->text();
                box->button(QMessageBox::No)->click();
            });
            const auto answer =
                UserPrompts::ask(nullptr, prompt, QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            QCOMPARE(answer, QMessageBox::No);
            seen.sort();
            QStringList expected{UserPrompts::buttonCaption(QMessageBox::Yes), no};
            expected.sort();
            QCOMPARE(seen, expected);
            for (const QString& caption : expected)
                QVERIFY(!caption.isEmpty() && caption != QLatin1String("#Error"));
        }
    }
};

OMBREL_SCREEN_TEST_MAIN(QtLanguageTest)
#include "QtLanguageTest.moc"
