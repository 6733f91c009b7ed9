#include "UserPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>

#include <functional>

namespace ombrel {

namespace {

struct PromptState {
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> fileNames;
    QStringList shown;
    std::deque<int> menuChoices;
    QStringList menuTexts;
    QList<QUrl> urls;
    bool headless = false;
};

PromptState& State() {
    static PromptState state;
    return state;
}

} // namespace

std::optional<QMessageBox::StandardButton> UserPrompts::takeAnswer() {
    auto& s = State();
    if (s.answers.empty()) return std::nullopt;
    const auto answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

std::optional<QString> UserPrompts::takeFileName() {
    auto& s = State();
    if (s.fileNames.empty()) return s.headless ? std::optional<QString>(QString()) : std::nullopt;
    QString name = s.fileNames.front();
    s.fileNames.pop_front();
    return name;
}

void UserPrompts::information(QWidget* parent, const QString& text, const QString& caption) {
    State().shown << text;
    if (State().headless) return;
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton UserPrompts::ask(QWidget* parent, const QString& text, const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    State().shown << text;
    if (auto answer = takeAnswer()) return *answer;
    if (State().headless) return defaultButton;
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString UserPrompts::openFileName(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& startIn) {
    if (auto name = takeFileName()) return *name;
    return QFileDialog::getOpenFileName(parent, caption, startIn, filter);
}

QString UserPrompts::saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& defaultSuffix, const QString& proposedName) {
    if (auto name = takeFileName()) return *name;
    QFileDialog dialog(parent, caption, proposedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

void UserPrompts::openUrl(const QUrl& url) {
    if (State().headless) {
        State().urls << url;
        return;
    }
    QDesktopServices::openUrl(url);
}

QAction* UserPrompts::popupMenu(QMenu* menu, const QPoint& globalPos) {
    auto& s = State();
    s.menuTexts.clear();
    for (QAction* action : menu->actions())
        s.menuTexts << action->text();
    if (!s.menuChoices.empty()) {
        const int choice = s.menuChoices.front();
        s.menuChoices.pop_front();
        // Items of submenus are chosen the same way, as a person would reach them through their submenu.
        std::function<QAction*(QMenu*)> find = [&](QMenu* in) -> QAction* {
            for (QAction* action : in->actions()) {
                if (action->menu()) {
                    if (QAction* inner = find(action->menu())) return inner;
                } else if (action->data().toInt() == choice) {
                    return action;
                }
            }
            return nullptr;
        };
        return find(menu);
    }
    if (s.headless) return nullptr;
    return menu->exec(globalPos);
}

void UserPrompts::setNextMenuChoice(int actionData) {
    State().menuChoices.push_back(actionData);
}

QStringList& UserPrompts::lastMenuTexts() {
    return State().menuTexts;
}

QList<QUrl>& UserPrompts::openedUrls() {
    return State().urls;
}

void UserPrompts::setNextAnswer(QMessageBox::StandardButton answer) {
    State().answers.push_back(answer);
}

void UserPrompts::setNextFileName(const QString& path) {
    State().fileNames.push_back(path);
}

void UserPrompts::setHeadless(bool headless) {
    State().headless = headless;
}

QStringList& UserPrompts::shownMessages() {
    return State().shown;
}

void UserPrompts::reset() {
    auto& s = State();
    s.answers.clear();
    s.fileNames.clear();
    s.shown.clear();
    s.menuChoices.clear();
    s.menuTexts.clear();
    s.urls.clear();
}

} // namespace ombrel
