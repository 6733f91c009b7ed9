#include "HelpLauncher.h"

#include "QtLanguage.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
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
    // The page of the chosen language (index.de.html, ...), else the English index.html.
    const QDir help(QString::fromStdString(m_context.paths().helpDir));
    const QString name = QtTranslationName(m_context.languageIndex());
    const QString translated = help.filePath(QStringLiteral("index.%1.html").arg(name));
    if (name != QLatin1String("en") && QFileInfo(translated).isFile()) return translated;
    return help.filePath(QStringLiteral("index.html"));
}

void HelpLauncher::open() {
    const QString page = pagePath();
    if (!QFileInfo(page).isFile()) {
        UserPrompts::information(m_context.window(), m_context.text("MAIN_HELP_MISSING", page));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    if (OpenerOverride().isEmpty() && UserPrompts::isHeadless()) return UserPrompts::openUrl(url);

    const QString opener = OpenerOverride().isEmpty() ? QStringLiteral("xdg-open") : OpenerOverride();
    // Without an opener nothing is started at all: the user learns what to install.
    if (QStandardPaths::findExecutable(opener).isEmpty() && !QFileInfo(opener).isExecutable()) {
        fail(m_context.text("MAIN_HELP_NO_OPENER", opener));
        return;
    }
    auto* process = new QProcess(this);
    process->setProgram(opener);
    process->setArguments({url.toString()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        failLater(QStringLiteral("%1: %2").arg(process->program(), process->errorString()));
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [this, process](int code, QProcess::ExitStatus status) {
        const QString why = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
        if (status != QProcess::NormalExit || code != 0)
            failLater(why.isEmpty() ? QStringLiteral("%1: exit code %2").arg(process->program()).arg(code) : why);
        process->deleteLater();
    });
    process->start();
}

void HelpLauncher::failLater(const QString& reason) {
    // The message box waits for the user; the finished opener is let go (and reaped) first, not kept waiting
    // as a defunct process behind the box.
    QMetaObject::invokeMethod(
        this, [this, reason] { fail(reason); }, Qt::QueuedConnection);
}

void HelpLauncher::fail(const QString& reason) {
    QString text = m_context.text("MAIN_HELP_FAILED", pagePath());
    if (!reason.isEmpty()) text += QStringLiteral("\n\n") + reason;
    UserPrompts::information(m_context.window(), text);
}

} // namespace ombrel
