// Every text key the window's code names is in all six language files. The keys are read from the code itself:
// every upper-case word with an underscore written as a string in src/app and src/core, except the names of skin
// layout entries (the keys of the skin's layout files), environment variables and the device layer's own result
// names, which are never shown from a language file.
#include "ScreenTest.h"
#include "platform/IniFile.h"
#include "text/LanguageChoice.h"
#include "text/LanguageTexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace ombrel;

namespace {

const QString kSource = QStringLiteral(OMBREL_TEST_SOURCE_DIR);
const QString kSkin = ombrel::test::BuiltSkinFolder();

QStringList SourceFiles() {
    QStringList files;
    for (const QString& folder : {QStringLiteral("src/app"), QStringLiteral("src/core")}) {
        QDirIterator it(QDir(kSource).filePath(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            // The device link and the doctor speak to the command line and logs, not to the window.
            if (path.contains(QLatin1String("/core/device/")) || path.contains(QLatin1String("/core/doctor/")))
                continue;
            files << path;
        }
    }
    return files;
}

// The keys of every section of every layout file of the skin, also without a trailing number (the code names the
// numbered ones, "FUNC_G1" or "UP_ARROW_LEFT1", by their stem).
QSet<QString> SkinKeys() {
    QSet<QString> keys;
    const QRegularExpression entry(QStringLiteral("^([A-Za-z0-9_]+)\\s*="));
    for (const QString& name : QDir(kSkin).entryList({QStringLiteral("*.ini")}, QDir::Files)) {
        QFile file(QDir(kSkin).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const auto m = entry.match(QString::fromUtf8(line).trimmed());
            if (!m.hasMatch()) continue;
            QString key = m.captured(1);
            keys << key;
            while (!key.isEmpty() && key.back().isDigit())
                key.chop(1);
            keys << key;
        }
    }
    return keys;
}

// Text keys named in the code, each with the first place that names it.
QMap<QString, QString> KeysInSource(const QSet<QString>& skinKeys) {
    const QRegularExpression literal(QStringLiteral("\"([A-Z][A-Z0-9]*_[A-Za-z0-9_]*[A-Za-z0-9])\""));
    // A line that reads the environment names variables, not texts.
    const QRegularExpression environment(QStringLiteral("env|variable"), QRegularExpression::CaseInsensitiveOption);
    QMap<QString, QString> keys;
    for (const QString& path : SourceFiles()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        int lineNumber = 0;
        for (const QByteArray& raw : file.readAll().split('\n')) {
            ++lineNumber;
            const QString line = QString::fromUtf8(raw);
            if (line.contains(environment)) continue;
            for (auto it = literal.globalMatch(line); it.hasNext();) {
                const QString key = it.next().captured(1);
                if (skinKeys.contains(key) || keys.contains(key)) continue;
                keys.insert(key, QStringLiteral("%1:%2").arg(QDir(kSource).relativeFilePath(path)).arg(lineNumber));
            }
        }
    }
    return keys;
}

} // namespace

class TextKeysInSourceTest : public QObject {
    Q_OBJECT
private slots:
    void everyKeyTheCodeNamesIsInEveryLanguage() {
        const QSet<QString> skinKeys = SkinKeys();
        QVERIFY2(skinKeys.contains(QStringLiteral("CONTROL_OK")), "the skin's layout files were not found");
        const QMap<QString, QString> keys = KeysInSource(skinKeys);
        // The reading must see the keys of the window, the dialogs and the core's messages.
        for (const char* known : {"MAIN_CAPTION", "PROFILE_SELECT_PROMPT", "UPDATE_CAPTION", "FUNC_KEY_DESC11"})
            QVERIFY2(keys.contains(QString::fromLatin1(known)), known);

        const LanguageTexts texts(QDir(kSource).filePath(QStringLiteral("data")).toStdString());
        QStringList missing;
        for (std::size_t index = 0; index < kLanguageTable.size(); ++index) {
            const auto doc = ReadIniDocument(texts.filePath(static_cast<int>(index)));
            QVERIFY(doc.has_value());
            for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
                const std::string key = it.key().toStdString();
                if (!doc->find("TEXT", key) && !doc->find("LIGHT", key))
                    missing << QStringLiteral("%1 (%2) has no %3")
                                   .arg(QString::fromStdString(LanguageFileName(kLanguageTable[index])), it.value(),
                                        it.key());
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }
};

OMBREL_SCREEN_TEST_MAIN(TextKeysInSourceTest)
#include "TextKeysInSourceTest.moc"
