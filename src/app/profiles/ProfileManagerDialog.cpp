#include "ProfileManagerDialog.h"

#include "CheckableList.h"
#include "DialogHeading.h"
#include "FileFilters.h"
#include "SkinButton.h"
#include "SkinImageCache.h"
#include "SkinPlacement.h"
#include "SkinStyle.h"
#include "UserPrompts.h"

#include "platform/AppPaths.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileNames.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <QKeyEvent>
#include <QMenu>

#include <cerrno>

namespace ombrel {

namespace {

const QString kSection = QStringLiteral("BUTTONINFO");

// Column captions: the language's, with the dialog's own fixed captions where the language file has none.
struct Column {
    const char* key;
    const char* fallback;
    int width;
};
constexpr Column kColumns[] = {
    {"PROFILE_COL_ACTIVE", "激活", 60},
    {"PROFILE_COL_NAME", "名称", 120},
    {"PROFILE_COL_PATH", "路径", 230},
};

} // namespace

ProfileManagerDialog::ProfileManagerDialog(const QString& layoutFile, const AppPaths& paths,
                                           const SettingsStore& settings, ProfileSwitcher& switcher, int activeProfile,
                                           int languageIndex, QWidget* parent)
    : SkinnedDialog(layoutFile, parent), m_paths(paths), m_settings(settings), m_switcher(switcher),
      m_model(activeProfile, switcher.storePath(), switcher.text()), m_languageIndex(languageIndex) {
    setObjectName(QStringLiteral("ProfileDialog"));
    setWindowTitle(text("PROFILE_DLG_CAPTION", "Profiles"));
    applyDialogSkin();
    setStyleSheet(ControlStyleSheet());
    MakeDialogLabel(this, layoutFile, QStringLiteral("CONTROL_TitleStatic"), windowTitle(), true);

    m_list = new CheckableList(this);
    m_list->setObjectName(QStringLiteral("PROGRAM_LIST"));
    placeControl(m_list, layoutFile, kSection, QStringLiteral("PROGRAM_LIST"));
    m_list->setSortable(false);
    m_list->setCheckMode(CheckableList::kSingleCheck);
    for (const Column& c : kColumns)
        m_list->insertColumn(m_list->columnCount(), text(c.key, c.fallback), Qt::AlignLeft, c.width);
    m_list->setRootIsDecorated(false);
    m_list->setOwner(this);
    connect(m_list, &CheckableList::checkChanged, this, [this](int item) {
        // The list keeps a single row checked itself.
        if (m_list->isRowChecked(item))
            m_model.check(item);
        else if (item == m_model.checkedRow())
            m_model.uncheck();
        button(kIdApply)->setEnabled(m_model.applyEnabled());
    });

    m_list->setAccessibleName(text("ACC_PROFILE_LIST", nullptr));
    m_list->setAccessibleDescription(text("ACC_PROFILE_LIST_DESC", nullptr));
    makeButton(kIdAdd, "FUNC_ADD", "PROFILE_ADD", "New...");
    makeButton(kIdLoad, "FUNC_LOAD", "PROFILE_LOAD", "Add file...");
    makeButton(kIdDelete, "FUNC_DELETE", "PROFILE_DELETE", "Remove");
    makeButton(kIdRename, "FUNC_RENAME", "PROFILE_RENAME", "Rename...");
    makeButton(kIdExport, "FUNC_EXPORT", "PROFILE_EXPORT", "Export...");
    makeButton(kIdLoadInto, "FUNC_LOAD_INTO", "PROFILE_LOAD_INTO", "Load into...");
    makeButton(kIdOk, "CONTROL_OK", "PROFILE_OK", "OK");
    makeButton(kIdCancel, "CONTROL_CANCEL", "PROFILE_CANCLE", "Cancel");
    makeButton(kIdApply, "CONTROL2_APPLY", "PROFILE_APPLY", "Apply");
    const std::pair<int, const char*> descriptions[] = {
        {kIdAdd, "ACC_PROFILE_ADD_DESC"},       {kIdLoad, "ACC_PROFILE_LOAD_DESC"},
        {kIdDelete, "ACC_PROFILE_DELETE_DESC"}, {kIdRename, "ACC_PROFILE_RENAME_DESC"},
        {kIdExport, "ACC_PROFILE_EXPORT_DESC"}, {kIdLoadInto, "ACC_PROFILE_LOAD_INTO_DESC"},
        {kIdOk, "ACC_DIALOG_OK_DESC"},          {kIdCancel, "ACC_DIALOG_CANCEL_DESC"},
        {kIdApply, "ACC_DIALOG_APPLY_DESC"}};
    for (const auto& [id, key] : descriptions) {
        button(id)->setAccessibleDescription(text(key, nullptr));
        if (id != kIdOk && id != kIdCancel && id != kIdApply)
            button(id)->setInstantToolTip(button(id)->accessibleDescription());
    }
    connect(button(kIdAdd), &SkinButton::clicked, this, &ProfileManagerDialog::onAdd);
    connect(button(kIdLoad), &SkinButton::clicked, this, &ProfileManagerDialog::onLoad);
    connect(button(kIdDelete), &SkinButton::clicked, this, &ProfileManagerDialog::onDelete);
    connect(button(kIdRename), &SkinButton::clicked, this, &ProfileManagerDialog::onRename);
    connect(button(kIdExport), &SkinButton::clicked, this, &ProfileManagerDialog::onExport);
    connect(button(kIdLoadInto), &SkinButton::clicked, this, &ProfileManagerDialog::onLoadInto);
    connect(button(kIdApply), &SkinButton::clicked, this, &ProfileManagerDialog::onApply);
    connect(button(kIdOk), &SkinButton::clicked, this, [this] {
        onApply();
        accept();
    });
    connect(button(kIdCancel), &SkinButton::clicked, this, &ProfileManagerDialog::reject);
    fillList();
    // The keys start from the active profile: Down and Space check the next one.
    if (m_model.checkedRow() >= 0) m_list->selectOnly(m_model.checkedRow());
    m_list->setFocus();
}

SkinButton* ProfileManagerDialog::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

QString ProfileManagerDialog::text(const char* key, const char* fallback) const {
    const std::string found = lookupText(key, m_languageIndex);
    return QString::fromStdString(fallback && found == kMissingText ? std::string(fallback) : found);
}

SkinButton* ProfileManagerDialog::makeButton(int id, const char* skinKey, const char* textKey, const char* fallback) {
    auto& images = SkinImageCache::instance();
    const QPixmap* normal = images.pixmap(QStringLiteral("Profile_normal.jpg"));
    const QPixmap* over = images.pixmap(QStringLiteral("Profile_over.jpg"));
    const QPixmap* down = images.pixmap(QStringLiteral("Profile_down.jpg"));
    auto* b = new SkinButton(this);
    b->setObjectName(QString::fromLatin1(skinKey));
    b->setProperty("controlId", id);
    placeSkinButton(b, layoutFile(), kSection, QString::fromLatin1(skinKey), normal, over, down, down, down);
    b->setText(text(textKey, fallback));
    StyleTextButton(b);
    m_buttons[id] = b;
    return b;
}

void ProfileManagerDialog::fillList() {
    const QSignalBlocker quiet(m_list);
    m_list->removeAllRows();
    const auto& rows = m_model.rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int item = m_list->insertRow(static_cast<int>(r), QString());
        m_list->setCellText(item, 1, QString::fromStdString(rows[r].name));
        m_list->setCellText(item, 2, QString::fromStdString(rows[r].folder));
        m_list->setRowData(item, rows[r].profile);
        if (rows[r].profile < 0) {
            // Only the keyboard's profiles can be made active: a file's row has no box to check.
            QTreeWidgetItem* it = m_list->topLevelItem(item);
            it->setData(0, Qt::CheckStateRole, QVariant());
            it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
        }
    }
    if (m_model.checkedRow() >= 0) m_list->setRowChecked(m_model.checkedRow(), true);
    button(kIdApply)->setEnabled(m_model.applyEnabled());
}

void ProfileManagerDialog::onAdd() {
    const QString proposed = QString::fromStdString(ProposedNewProfilePath(m_paths.userDir, m_switcher.text()));
    const QString path =
        UserPrompts::saveFileName(this, QString(), ProfileFileFilter(), QStringLiteral("obp"), proposed);
    if (path.isEmpty()) return;
    std::string why;
    if (!m_model.addNew(path.toStdString(), &why)) {
        const std::string message =
            FormatTextString(lookupText("PROFILE_ADD_FAILED", m_languageIndex), path.toStdString());
        UserPrompts::information(this, QString::fromStdString(message + "\n" + why));
        return;
    }
    fillList();
}

void ProfileManagerDialog::onLoad() {
    const QString path =
        UserPrompts::openFileName(this, QString(), ProfileFileFilter(), QString::fromStdString(m_paths.userDir));
    if (path.isEmpty()) return;
    m_model.addExisting(path.toStdString());
    fillList();
}

void ProfileManagerDialog::onDelete() {
    if (!m_model.remove(m_list->selectedRow())) return;
    fillList();
}

void ProfileManagerDialog::onRename() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= static_cast<int>(m_model.rows().size())) return;
    const ProfileRow& r = m_model.rows()[static_cast<std::size_t>(row)];
    if (r.profile >= 0) {
        UserPrompts::information(this, text("PROFILE_RENAME_ONLY_FILES"));
        return;
    }
    const QString name = UserPrompts::askText(this, text("PROFILE_RENAME_PROMPT"), QString::fromStdString(r.name));
    if (name.isEmpty()) return;
    std::string why;
    if (!m_model.rename(row, name.trimmed().toStdString(), &why)) {
        UserPrompts::information(this, text("PROFILE_RENAME_FAILED") + QLatin1Char('\n') + QString::fromStdString(why));
        return;
    }
    fillList();
    m_list->selectOnly(row);
}

void ProfileManagerDialog::onExport() {
    const QString path = UserPrompts::saveFileName(this, QString(), ProfileFileFilter(), QStringLiteral("obp"),
                                                   UserPrompts::proposedBackupName());
    if (path.isEmpty()) return;
    // The store file holds what the keyboard holds since its last reading, all three profiles.
    const BinaryFileRead store = ReadBinaryFile(m_switcher.storePath(), 0xFFFFFFFFull);
    FileWriteResult written{EIO, "cannot read " + m_switcher.storePath()};
    if (store.status == FileStatus::Ok) written = WriteBinaryFile(path.toStdString(), store.bytes);
    UserPrompts::information(this, written ? text("PROFILE_EXPORT_DONE")
                                           : text("PROFILE_EXPORT_FAILED") + QLatin1Char('\n') +
                                                 QString::fromStdString(written.message));
}

void ProfileManagerDialog::onLoadInto() {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= static_cast<int>(m_model.rows().size()) ||
        m_model.rows()[static_cast<std::size_t>(row)].profile >= 0) {
        UserPrompts::information(this, text("PROFILE_LOAD_INTO_ONLY_FILES"));
        return;
    }
    const std::string path = m_model.rows()[static_cast<std::size_t>(row)].listedPath;
    QMenu menu(this);
    for (int p = 0; p < 3; ++p)
        menu.addAction(text(("PROFILE_" + std::to_string(p + 1)).c_str()))->setData(p);
    SkinButton* b = button(kIdLoadInto);
    QAction* chosen = UserPrompts::popupMenu(&menu, b->mapToGlobal(QPoint(0, b->height())));
    if (!chosen) return;
    std::string why;
    if (m_switcher.LoadProfileFromFile(path, chosen->data().toInt(), &why))
        UserPrompts::information(this, text("PROFILE_LOAD_INTO_DONE"));
    else
        UserPrompts::information(this,
                                 text("PROFILE_LOAD_INTO_FAILED") + QLatin1Char('\n') + QString::fromStdString(why));
}

void ProfileManagerDialog::reject() {
    m_model.discardCreated();
    QDialog::reject();
}

void ProfileManagerDialog::onApply() {
    m_model.apply(m_settings, m_switcher);
    fillList();
}

void ProfileManagerDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        event->accept();
        emit helpRequested();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        button(kIdOk)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ombrel
