#include "ProfileName.h"

#include "UiText.h"

#include "profiles/ProfileStore.h"

#include <QFileInfo>

namespace ombrel {

QString ProfileName(const AppPaths& paths, int profile, int languageIndex) {
    if (profile < 0) return UiText("DEFAULT_PROFILE_NAME", languageIndex);
    return QFileInfo(QString::fromStdString(StorePath(paths.userDir, profile))).completeBaseName();
}

} // namespace ombrel
