#pragma once
// Restore and Backup of the caption bar's menu: a profile file the user picks becomes the store and is written
// to all three profiles of the keyboard; the store is saved into a file the user names.

#include <QObject>

namespace ombrel {

class CommandBar;
class WindowContext;

class BackupActions : public QObject {
    Q_OBJECT
public:
    // Restore animates `progress`'s indicator while it writes.
    BackupActions(WindowContext& context, CommandBar& progress, QObject* parent);

    // Validates and loads a profile file, saves it as the store and writes all three profiles.
    void restore();
    // The store into a file the user chooses.
    void backup();

signals:
    // The working store now holds the restored records.
    void storeChanged();
    // A keyboard file was written to the keyboard: what the window shows must be read from it again.
    void keyboardRewritten();

private:
    void backUpKeyboardFile(const QString& path);
    void restoreKeyboardFile(const QString& path);

    WindowContext& m_context;
    CommandBar& m_progress;
};

} // namespace ombrel
