#pragma once
// "Switch profiles with the application": the rules that make the keyboard's profile follow the application in
// front, edited in the file ombrelctl rules edits. The rules are a list in order (the first that names the
// application wins), each with its profile, and a profile for every other application. OK saves, Cancel drops the
// edits. A file with mistakes is shown with them and left alone unless the user chooses to replace it.

#include "apprules/ApplicationRules.h"
#include "apprules/ApplicationRulesFile.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace ombrel {

class WindowContext;

using RunningApplicationsSource = std::function<std::vector<apprules::RunningApplication>()>;

// The id a rule takes for a running application: the desktop file id where the desktop knows one (Flatpak and
// Steam games), else the window class, the process name or the instance.
std::string RuleIdFor(const apprules::ApplicationIdentity& identity);

class ApplicationRulesDialog : public QDialog {
    Q_OBJECT
public:
    ApplicationRulesDialog(WindowContext& context, std::string path, const RunningApplicationsSource& running,
                           QWidget* parent);

    // The rules as edited so far.
    const apprules::ApplicationRules& rules() const { return m_rules; }
    // False while a damaged or unreadable file is shown: nothing can be edited until the user replaces it.
    bool editable() const { return m_editable; }

    QTreeWidget* list() const { return m_list; }
    QComboBox* applicationBox() const { return m_application; }
    QComboBox* newProfileBox() const { return m_newProfile; }
    QComboBox* defaultProfileBox() const { return m_default; }
    // The profile chooser of rule `row`.
    QComboBox* profileBoxOf(int row) const;
    QPushButton* addButton() const { return m_add; }
    QPushButton* upButton() const { return m_up; }
    QPushButton* downButton() const { return m_down; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* replaceButton() const { return m_replace; }
    QLabel* problemLabel() const { return m_problem; }

    // Adds the application typed or picked with the profile chosen beside it; an application that already has a
    // rule gets that profile instead of a second rule.
    void addApplication();
    void moveSelected(int step);
    void deleteSelected();
    // After asking: a damaged file is to be replaced by rules made here.
    void replaceDamagedFile();
    // Writes the rules when they changed; false (with the reason shown) when they could not be written.
    bool save();

    void accept() override;

signals:
    // The file now holds `rules`.
    void rulesSaved(const apprules::ApplicationRules& rules);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* makeProfileBox(int profile, const QString& accessibleName);
    void fill(int selectRow);
    void showFileState();
    void updateButtons();
    int selectedRow() const;

    WindowContext& m_context;
    std::string m_path;
    apprules::RulesFile m_loaded; // as the file was when the dialog opened
    apprules::ApplicationRules m_rules;
    bool m_editable = true;
    bool m_replacing = false; // the user chose to replace a damaged file

    QLabel* m_explain = nullptr;
    QLabel* m_problem = nullptr;
    QPushButton* m_replace = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_delete = nullptr;
    QComboBox* m_application = nullptr;
    QComboBox* m_newProfile = nullptr;
    QPushButton* m_add = nullptr;
    QComboBox* m_default = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace ombrel
