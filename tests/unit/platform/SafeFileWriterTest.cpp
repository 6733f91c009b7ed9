#include "PlatformFixture.h"

#include "platform/SafeFileWriter.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

using SafeFileWriterTest = TempDirFixture;

constexpr uid_t kNobody = 65534;

// Runs `write` in a child process as an unprivileged user (tests run as root, who may write anywhere) and returns
// the errno it reported, or -1 when the child could not become that user.
int errorAsUnprivilegedUser(const std::function<FileWriteResult()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(255);
        ::_exit(write().error & 0xFF);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    return code == 255 ? -1 : code;
}

TEST_F(SafeFileWriterTest, WritesOnlyWhereACarefulCopyWould) {
    const std::string regular = dir + "/regular";
    const std::string fifo = dir + "/fifo"; // stands for a device node: never aim a test at a real one
    const std::string folder = dir + "/folder";
    const std::string target = dir + "/target";
    const std::string link = dir + "/link";
    writeFile(regular, "old");
    ASSERT_EQ(::chmod(regular.c_str(), 0640), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder);
    writeFile(target, "old");
    fs::create_symlink("target", link);

    const struct {
        const char* name;
        std::string path;
        int error;        // 0 = written
        std::string text; // the reason the message gives
    } cases[] = {
        {"regular file", regular, 0, ""},
        {"new file", dir + "/new", 0, ""},
        {"fifo", fifo, EINVAL, "it is not a regular file"},
        {"folder", folder, EISDIR, "Is a directory"},
        {"missing folder", dir + "/missing/file", ENOENT, "No such file or directory"},
        {"symbolic link", link, 0, ""},
        {"dangling link", dir + "/dangling", ENOENT, "it is a link to a file that does not exist"},
    };
    fs::create_symlink("nowhere", dir + "/dangling");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileWriteResult r = WriteFileSafely(c.path, "new");
        EXPECT_EQ(r.error, c.error) << r.message;
        if (c.error == 0) {
            EXPECT_EQ(readFile(c.path), "new");
        } else {
            EXPECT_NE(r.message.find("cannot write " + c.path + ": " + c.text), std::string::npos) << r.message;
        }
    }
    EXPECT_EQ(fs::status(regular).permissions() & fs::perms::all, fs::perms(0640)) << "permissions are kept";
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(readFile(target), "new");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 7) << "no temporary file is left";

    EXPECT_EQ(WriteFileSafely(regular, "other", ExistingFile::Keep).error, EEXIST);
    EXPECT_EQ(readFile(regular), "new");
}

TEST_F(SafeFileWriterTest, AReadOnlyFileIsRefusedToAnOrdinaryUser) {
    // A folder anyone may write to: only the file's own permission can stop the write.
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    const std::string readOnly = dir + "/read-only";
    writeFile(readOnly, "keep");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const int error = errorAsUnprivilegedUser([&] { return WriteFileSafely(readOnly, "new"); });
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(readFile(readOnly), "keep");
    EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all, fs::perms(0444));
}

} // namespace
} // namespace ombrel::test
