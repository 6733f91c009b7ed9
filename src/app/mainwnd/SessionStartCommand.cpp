#include "SessionStartCommand.h"

#include "UserPrompts.h"
#include "WindowContext.h"

#include "platform/SessionAutostart.h"

namespace ombrel {

namespace {

// Asks before the program touches an entry the user made; No is the default.
bool UserAllows(WindowContext& context, const char* questionKey, const std::string& path) {
    const QString question = context.text(questionKey, QString::fromStdString(path));
    return UserPrompts::ask(context.window(), question, context.text("MAIN_CAPTION"),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

bool SetSessionStart(WindowContext& context, bool on) {
    const std::string& path = context.paths().autostartFile;
    const AutostartEntry entry = ReadAutostartEntry(path);
    FileWriteResult result;
    if (on) {
        if (entry.exists && !entry.ours && !UserAllows(context, "AUTOSTART_REPLACE_PROMPT", path)) return false;
        result = WriteAutostartEntry(path, context.paths().modulePath, entry.exists);
    } else {
        if (!entry.exists) return true;
        if (!entry.ours && !UserAllows(context, "AUTOSTART_REMOVE_PROMPT", path)) return false;
        result = RemoveAutostartEntry(path);
    }
    if (!result) UserPrompts::information(context.window(), QString::fromStdString(result.message));
    return result.ok();
}

} // namespace ombrel
