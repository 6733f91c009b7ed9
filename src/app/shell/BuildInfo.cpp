#include "BuildInfo.h"

#include "BuildStamp.h"

#include <QStringList>
#include <QtGlobal>

namespace ombrel {

namespace {

QString CompilerText() {
#if defined(__clang__)
    return QStringLiteral("Clang %1.%2.%3").arg(__clang_major__).arg(__clang_minor__).arg(__clang_patchlevel__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2.%3").arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#else
    return QString();
#endif
}

} // namespace

QString VersionText() {
    return QStringLiteral(OMBREL_VERSION);
}

QString BuildText() {
    QStringList parts;
    const QString commit = QStringLiteral(OMBREL_BUILD_COMMIT);
    const QString date = QStringLiteral(OMBREL_BUILD_COMMIT_DATE);
    if (!commit.isEmpty())
        parts << (date.isEmpty() ? QStringLiteral("build %1").arg(commit)
                                 : QStringLiteral("build %1 (%2)").arg(commit, date));
    if (const QString compiler = CompilerText(); !compiler.isEmpty()) parts << compiler;
    parts << QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    return parts.join(QStringLiteral(", "));
}

} // namespace ombrel
