#include "UserPrompts.h"

#include "SkinStyle.h"

#include "platform/SettingsStore.h"
#include "text/LanguageTexts.h"

#include <QAbstractButton>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>

#include <functional>

namespace ombrel {

namespace {

struct PromptState {
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> fileNames;
    std::deque<QString> texts;
    QStringList shown;
    std::deque<int> menuChoices;
    QStringList menuTexts;
    QList<QUrl> urls;
    bool headless = false;
    int languageIndex = 0;
    SettingsStore* settings = nullptr;
    QString lastFolder;   // used when there is no settings store
    QString lastProposed; // where the last file dialog started
};

PromptState& State() {
    static PromptState state;
    return state;
}

constexpr char kLastFolderKey[] = "LastFolder";

void RememberFolderOf(const QString& file) {
    if (file.isEmpty()) return;
    const QString folder = QFileInfo(file).absolutePath();
    auto& s = State();
    s.lastFolder = folder;
    if (s.settings) s.settings->writeProfileString(kLastFolderKey, folder.toStdString());
}

// A message without a caption of its own is titled like the window it belongs to ("Profiles", "Ombrel"), not
// with the program's file name.
QString PromptTitle(QWidget* parent, const QString& caption) {
    if (!caption.isEmpty()) return caption;
    const QWidget* window = parent ? parent->window() : nullptr;
    return window && !window->windowTitle().isEmpty() ? window->windowTitle() : QStringLiteral("Ombrel");
}

// Shows the file dialog and returns the chosen file, or an empty name when the user cancels. The dialog is Qt's
// own, not the desktop's, so it wears the program's dark look.
QString RunFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().constFirst()
                                                                                   : QString();
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
    QMessageBox box(QMessageBox::NoIcon, PromptTitle(parent, caption), text, QMessageBox::Ok, parent);
    box.setIconPixmap(PromptIconPixmap(PromptIcon::Information));
    captionButtons(box);
    box.exec();
}

QMessageBox::StandardButton UserPrompts::ask(QWidget* parent, const QString& text, const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    State().shown << text;
    if (auto answer = takeAnswer()) return *answer;
    if (State().headless) return defaultButton;
    QMessageBox box(QMessageBox::Question, PromptTitle(parent, caption), text, buttons, parent);
    box.setIconPixmap(PromptIconPixmap(PromptIcon::Question));
    box.setDefaultButton(defaultButton);
    captionButtons(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton UserPrompts::choose(QWidget* parent, const QString& text,
                                                const QList<QPair<QMessageBox::StandardButton, QString>>& captions,
                                                QMessageBox::StandardButton defaultButton,
                                                QMessageBox::StandardButton escapeButton) {
    State().shown << text;
    if (auto answer = takeAnswer()) return *answer;
    if (State().headless) return defaultButton;
    QMessageBox box(QMessageBox::Question, PromptTitle(parent, QString()), text, QMessageBox::NoButton, parent);
    box.setIconPixmap(PromptIconPixmap(PromptIcon::Question));
    for (const auto& [button, caption] : captions)
        box.addButton(button)->setText(caption);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void UserPrompts::setLanguage(int languageIndex) {
    State().languageIndex = languageIndex;
}

QString UserPrompts::buttonCaption(QMessageBox::StandardButton button) {
    const char* key = nullptr;
    switch (button) {
    case QMessageBox::Yes:
        key = "BUTTON_YES";
        break;
    case QMessageBox::No:
        key = "BUTTON_NO";
        break;
    case QMessageBox::Ok:
        key = "BUTTON_OK";
        break;
    case QMessageBox::Cancel:
        key = "BUTTON_CANCEL";
        break;
    default:
        return QString();
    }
    return QString::fromStdString(lookupText(key, State().languageIndex));
}

QString UserPrompts::fileFilter(const char* nameKey) {
    return fileFilters({nameKey});
}

QString UserPrompts::fileFilters(std::initializer_list<const char*> nameKeys) {
    const int index = State().languageIndex;
    std::string filters;
    for (const char* key : nameKeys)
        filters += lookupText(key, index) + ";;";
    return QString::fromStdString(filters + lookupText("FILTER_ALL", index));
}

void UserPrompts::captionButtons(QMessageBox& box) {
    for (QAbstractButton* b : box.buttons()) {
        const QString caption = buttonCaption(box.standardButton(b));
        if (!caption.isEmpty()) b->setText(caption);
    }
}

QString UserPrompts::askText(QWidget* parent, const QString& label, const QString& current) {
    auto& s = State();
    s.shown << label;
    if (!s.texts.empty()) {
        QString text = s.texts.front();
        s.texts.pop_front();
        return text;
    }
    if (s.headless) return QString();
    QInputDialog dialog(parent);
    dialog.setLabelText(label);
    dialog.setTextValue(current);
    dialog.setOkButtonText(buttonCaption(QMessageBox::Ok));
    dialog.setCancelButtonText(buttonCaption(QMessageBox::Cancel));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void UserPrompts::rememberFoldersIn(SettingsStore* settings) {
    State().settings = settings;
}

QString UserPrompts::startFolder() {
    auto& s = State();
    QString folder =
        s.settings ? QString::fromStdString(s.settings->getProfileString(kLastFolderKey, "")) : s.lastFolder;
    // A remembered folder that is gone (a removed stick, a deleted folder) is passed over.
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString UserPrompts::proposedBackupName() {
    return QStringLiteral("Ombrel profiles %1.obp").arg(QDate::currentDate().toString(Qt::ISODate));
}

QString UserPrompts::lastProposedPath() {
    return State().lastProposed;
}

QString UserPrompts::openFileName(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& startIn) {
    State().lastProposed = startIn.isEmpty() ? startFolder() : startIn;
    auto name = takeFileName();
    if (!name) {
        QFileDialog dialog(parent, caption, State().lastProposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        name = RunFileDialog(dialog);
    }
    RememberFolderOf(*name);
    return *name;
}

QString UserPrompts::saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& defaultSuffix, const QString& proposedName) {
    // A name without a folder is proposed in the folder last used.
    State().lastProposed = QFileInfo(proposedName).isAbsolute() ? proposedName
                           : proposedName.isEmpty()             ? startFolder()
                                                                : QDir(startFolder()).filePath(proposedName);
    auto name = takeFileName();
    if (!name) {
        QFileDialog dialog(parent, caption, State().lastProposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        name = RunFileDialog(dialog);
    }
    RememberFolderOf(*name);
    return *name;
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

void UserPrompts::setNextText(const QString& text) {
    State().texts.push_back(text);
}

void UserPrompts::setNextFileName(const QString& path) {
    State().fileNames.push_back(path);
}

void UserPrompts::setHeadless(bool headless) {
    State().headless = headless;
}

bool UserPrompts::isHeadless() {
    return State().headless;
}

QStringList& UserPrompts::shownMessages() {
    return State().shown;
}

void UserPrompts::reset() {
    auto& s = State();
    s.answers.clear();
    s.fileNames.clear();
    s.texts.clear();
    s.shown.clear();
    s.menuChoices.clear();
    s.menuTexts.clear();
    s.urls.clear();
}

} // namespace ombrel
