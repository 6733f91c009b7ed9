#include "HelpLauncher.h"

#include "UserPrompts.h"
#include "WindowContext.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace ombrel {

namespace {

QString& OpenerOverride() {
    static QString program;
    return program;
}

} // namespace

void HelpLauncher::setOpenerProgram(const QString& program) {
    OpenerOverride() = program;
}

HelpLauncher::HelpLauncher(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {
    setObjectName(QStringLiteral("helpLauncher"));
}

HelpLauncher::~HelpLauncher() {
    // An opener that is still running (some wait for the browser to close) is let go rather than killed, so the
    // page stays open when the program ends.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        process->setParent(nullptr);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    }
}

QString HelpLauncher::pagePath() const {
    return QDir(QString::fromStdString(m_context.paths().helpDir)).filePath(QStringLiteral("index.html"));
}

void HelpLauncher::open() {
    const QString page = pagePath();
    if (!QFileInfo(page).isFile()) {
        UserPrompts::information(m_context.window(), m_context.text("MAIN_HELP_MISSING", page));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    if (OpenerOverride().isEmpty() && UserPrompts::isHeadless()) return UserPrompts::openUrl(url);

    auto* process = new QProcess(this);
    process->setProgram(OpenerOverride().isEmpty() ? QStringLiteral("xdg-open") : OpenerOverride());
    process->setArguments({url.toString()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        fail(QStringLiteral("%1: %2").arg(process->program(), process->errorString()));
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [this, process](int code, QProcess::ExitStatus status) {
        const QString why = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
        if (status != QProcess::NormalExit || code != 0)
            fail(why.isEmpty() ? QStringLiteral("%1: exit code %2").arg(process->program()).arg(code) : why);
        process->deleteLater();
    });
    process->start();
}

void HelpLauncher::fail(const QString& reason) {
    QString text = m_context.text("MAIN_HELP_FAILED", pagePath());
    if (!reason.isEmpty()) text += QStringLiteral("\n\n") + reason;
    UserPrompts::information(m_context.window(), text);
}

} // namespace ombrel
