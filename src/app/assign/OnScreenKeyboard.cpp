#include "OnScreenKeyboard.h"

#include <QProcess>
#include <QStandardPaths>

namespace ombrel {

QStringList OnScreenKeyboardPrograms() {
    return {QStringLiteral("onboard"), QStringLiteral("florence"), QStringLiteral("matchbox-keyboard"),
            QStringLiteral("kvkbd"), QStringLiteral("xvkbd")};
}

QString InstalledOnScreenKeyboard() {
    for (const QString& name : OnScreenKeyboardPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

bool StartOnScreenKeyboard(const QString& program) {
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace ombrel
