#include "ScreenTest.h"

#include "SkinImageCache.h"
#include "UserPrompts.h"

#include "text/LanguageTexts.h"

#include <QDir>

namespace ombrel::test {

QString BuiltDataFolder() {
    return QStringLiteral(OMBREL_TEST_DATA_DIR);
}

QString BuiltSkinFolder() {
    return QDir(BuiltDataFolder()).filePath(QStringLiteral("Skins"));
}

void UseProgramData(const QString& dataFolder) {
    SharedLanguageTexts().setDataFolder(dataFolder.toStdString());
    SkinImageCache::instance().setSkinFolder(QDir(dataFolder).filePath(QStringLiteral("Skins")));
    UserPrompts::setHeadless(true);
}

} // namespace ombrel::test
