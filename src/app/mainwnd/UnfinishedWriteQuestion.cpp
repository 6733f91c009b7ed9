#include "UnfinishedWriteQuestion.h"

#include "DeviceTask.h"
#include "UserPrompts.h"
#include "WindowContext.h"

#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/SetupApply.h"
#include "keyboardfile/UnfinishedWrite.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"

#include <set>
#include <string>

namespace ombrel {

namespace {

// The writes the user said "later" to in this run, by snapshot and time.
std::set<std::string>& putOff() {
    static std::set<std::string> writes;
    return writes;
}

std::string putOffKey(const HistorySnapshot& s) {
    return s.path + '\n' + s.time;
}

// Finishes the write of `record`, or puts back its snapshot (only what differs is written).
int settle(WindowContext& context, QWidget* parent, const HistorySnapshot& record, bool finish, std::string* why) {
    DeviceLink* link = context.link();
    const KeyboardFileRead read = ReadKeyboardFile(ReadFileBytes(record.path).bytes, KeyCodeNames());
    return DeviceTask::run(context.dispatcher(), parent, [&] {
        NullScreen quiet;
        SetupPlaces places{link->commands(),
                           link->state(),
                           quiet,
                           {},
                           StorePath(context.paths().userDir),
                           context.paths().userColorPrefix};
        ApplyPlan plan;
        const int r = finish ? PlanFinishingWrite(places, record, KeyCodeNames(), plan, why)
                             : PlanSetupApply(places, read, KeyCodeNames(), plan, why);
        if (r != LINK_OK) return r;
        if (!plan.problems.empty()) {
            *why = DescribeProblem(plan.problems.front());
            return static_cast<int>(LINK_BAD_ARGUMENT);
        }
        return plan.difference.empty() ? static_cast<int>(LINK_OK) : CarryOutApply(places, plan, why);
    });
}

} // namespace

bool UnfinishedWriteQuestion::ask(WindowContext& context, QWidget* parent) {
    const auto settings = ProcessHistory();
    DeviceLink* link = context.link();
    if (!settings || !link) return false;
    WriteHistory history(settings->folder);
    // Most starts find nothing: the keyboard is only read when there is a record to compare it with.
    const auto all = history.list();
    if (all.empty() || !all.back().interrupted) return false;
    UnfinishedWrite found;
    DeviceTask::run(context.dispatcher(), parent, [&] {
        NullScreen quiet;
        // Read as the history reads before a write, so a snapshot and the keyboard name unnamed macros alike.
        SetupPlaces places{link->commands(), link->state(), quiet, settings->text, "", settings->colorPrefix};
        found = CheckUnfinishedWrite(places, history);
        return static_cast<int>(LINK_OK);
    });
    // A keyboard that could not be read is asked about when it is there again.
    if (found.state != UnfinishedWrite::State::Partial || putOff().count(putOffKey(found.snapshot))) return false;

    const QString when = QString::fromStdString(found.snapshot.time);
    QList<QPair<QMessageBox::StandardButton, QString>> buttons;
    if (found.canFinish) buttons.append({QMessageBox::Apply, context.text("UNFINISHED_FINISH")});
    buttons.append({QMessageBox::Reset, context.text("UNFINISHED_BACK")});
    buttons.append({QMessageBox::Cancel, context.text("UNFINISHED_LATER")});
    const QMessageBox::StandardButton answer =
        UserPrompts::choose(parent, context.text(found.canFinish ? "UNFINISHED_ASK" : "UNFINISHED_ASK_BACK", when),
                            buttons, found.canFinish ? QMessageBox::Apply : QMessageBox::Reset, QMessageBox::Cancel);
    if (answer != QMessageBox::Apply && answer != QMessageBox::Reset) {
        putOff().insert(putOffKey(found.snapshot));
        return false;
    }
    const bool finish = answer == QMessageBox::Apply;
    std::string why;
    const int result = settle(context, parent, found.snapshot, finish, &why);
    if (result != LINK_OK) {
        UserPrompts::information(
            parent, context.text("UNFINISHED_FAILED",
                                 QString::fromStdString(why.empty() ? LinkResultDescription(result) : why)));
        return false;
    }
    history.finish(found.snapshot.number);
    UserPrompts::information(parent, context.text(finish ? "UNFINISHED_FINISHED" : "HISTORY_RESTORE_DONE", when));
    return true;
}

} // namespace ombrel
