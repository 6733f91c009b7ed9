// "Start with my session": the autostart entry written, recognised, replaced and removed, and the Exec line quoting.
#include "PlatformFixture.h"

#include "platform/SessionAutostart.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

using SessionAutostartTest = TempDirFixture;

TEST_F(SessionAutostartTest, TurningOnAndOffWritesAndRemovesOnlyItsOwnEntry) {
    const std::string path = dir + "/config/autostart/ombrel.desktop";
    EXPECT_FALSE(ReadAutostartEntry(path).exists);

    // On: the folder is made and the entry starts the program into the tray.
    ASSERT_TRUE(WriteAutostartEntry(path, "/usr/bin/ombrel", false)) << "folder missing";
    const std::string text = readFile(path);
    EXPECT_NE(text.find("\nExec=/usr/bin/ombrel --start\n"), std::string::npos) << text;
    const AutostartEntry on = ReadAutostartEntry(path);
    EXPECT_TRUE(on.exists && on.ours && on.enabled);

    // Off: gone; removing again is no error.
    ASSERT_TRUE(RemoveAutostartEntry(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(RemoveAutostartEntry(path));
}

TEST_F(SessionAutostartTest, EntriesItDidNotWriteAreTheUsers) {
    const struct {
        const char* name;
        std::string contents;
        bool enabled;
    } cases[] = {
        {"copy of the system entry", "[Desktop Entry]\nType=Application\nExec=ombrel /Start\nHidden=true\n", false},
        {"hand-made entry", "[Desktop Entry]\nType=Application\nExec=ombrel --start\n", true},
        {"turned off for GNOME", "[Desktop Entry]\nType=Application\nX-GNOME-Autostart-enabled=false\n", false},
        {"marker outside the entry", "[Desktop Entry]\nType=Application\n[Other]\nX-Ombrel-Written=true\n", true},
        {"not a desktop entry", "X-Ombrel-Written=true\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/ombrel.desktop";
        writeFile(path, c.contents);
        const AutostartEntry entry = ReadAutostartEntry(path);
        EXPECT_TRUE(entry.exists);
        EXPECT_FALSE(entry.ours);
        EXPECT_EQ(entry.enabled, c.enabled);
        // Not replaced unless the user said so; then it becomes ours.
        const FileWriteResult kept = WriteAutostartEntry(path, "/usr/bin/ombrel", false);
        EXPECT_EQ(kept.error, EEXIST);
        EXPECT_EQ(readFile(path), c.contents);
        ASSERT_TRUE(WriteAutostartEntry(path, "/usr/bin/ombrel", true));
        EXPECT_TRUE(ReadAutostartEntry(path).ours);
    }
}

TEST_F(SessionAutostartTest, NeverRemovesAFolderAndSaysWhyItCannotWrite) {
    const std::string folder = dir + "/ombrel.desktop";
    fs::create_directory(folder);
    const AutostartEntry entry = ReadAutostartEntry(folder);
    EXPECT_TRUE(entry.exists);
    EXPECT_FALSE(entry.ours);
    const FileWriteResult removed = RemoveAutostartEntry(folder);
    EXPECT_EQ(removed.error, EISDIR);
    EXPECT_NE(removed.message.find(folder), std::string::npos) << removed.message;
    EXPECT_TRUE(fs::is_directory(folder));

    // The autostart folder's parent is a file: the reason, not a success.
    writeFile(dir + "/config", "");
    const FileWriteResult blocked = WriteAutostartEntry(dir + "/config/autostart/ombrel.desktop", "/bin/x", false);
    EXPECT_FALSE(blocked);
    EXPECT_NE(blocked.message.find("config/autostart"), std::string::npos) << blocked.message;

    // An unwritable autostart folder, as a user who may not write there.
    const std::string locked = dir + "/locked";
    fs::create_directory(locked);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(255);
        ::_exit(WriteAutostartEntry(locked + "/ombrel.desktop", "/bin/x", false).error & 0xFF);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), EACCES);
    EXPECT_FALSE(fs::exists(locked + "/ombrel.desktop"));
}

TEST(DesktopExecArgument, QuotesWhatTheExecLineReserves) {
    const struct {
        std::string_view argument;
        std::string_view exec;
    } cases[] = {
        {"/usr/bin/ombrel", "/usr/bin/ombrel"},
        {"/opt/my apps/ombrel", "\"/opt/my apps/ombrel\""},
        {"/opt/100%/ombrel", "/opt/100%%/ombrel"},
        {"/opt/$HOME/ombrel", "\"/opt/\\\\$HOME/ombrel\""},
        {"/opt/a\"b/ombrel", "\"/opt/a\\\\\"b/ombrel\""},
        {"/opt/a\\b", "\"/opt/a\\\\\\\\b\""},
        {"", "\"\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExecArgument(c.argument), c.exec) << c.argument;
    EXPECT_TRUE(AutostartEntryText("/opt/line\nbreak/ombrel").empty());
}

} // namespace
} // namespace ombrel::test
