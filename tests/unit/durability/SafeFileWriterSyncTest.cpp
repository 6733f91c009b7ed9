// The order in which the safe writer makes a new file durable: the temporary file's contents reach the disk
// (fsync) before the rename puts it in the old file's place, and the folder, which holds the rename, is synced
// after it. A writer that renamed first could leave an empty or cut file under the old name after a power loss.
//
// This program has its own fsync, rename and link, which come before the C library's (a definition in the
// program wins over one in a shared library): they note each call while a test listens and can make fsync fail,
// then hand the call on to the C library.
#include "platform/SafeFileWriter.h"
#include "support/TestPaths.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Call {
    std::string name;     // fsync, rename, link
    std::string path;     // the synced file or folder; the source of a rename or link
    std::string target;   // of a rename or link
    std::string contents; // a synced regular file's contents at that moment
    bool operator==(const Call&) const = default;
};

bool g_listening = false;
std::vector<Call> g_calls;
int g_fileSyncError = 0; // fsync of a regular file fails with this errno when not 0

template <typename Fn>
Fn next(const char* name) {
    return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

std::string pathOfFd(int fd) {
    char link[PATH_MAX] = {};
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(proc.c_str(), link, sizeof link - 1);
    return n > 0 ? std::string(link, static_cast<std::size_t>(n)) : std::string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    if (g_listening) {
        struct stat info {};
        const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        const std::string path = pathOfFd(fd);
        g_calls.push_back({"fsync", path, "", regular ? readFile(path) : ""});
        if (regular && g_fileSyncError != 0) {
            errno = g_fileSyncError;
            return -1;
        }
    }
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    if (g_listening) g_calls.push_back({"rename", from, to, ""});
    return real(from, to);
}

extern "C" int link(const char* from, const char* to) {
    static const auto real = next<int (*)(const char*, const char*)>("link");
    if (g_listening) g_calls.push_back({"link", from, to, ""});
    return real(from, to);
}

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class SafeFileWriterSync : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::canonical(makeTempDir("ombrel-sync")).string();
        path = dir + "/store.obp";
    }
    void TearDown() override {
        g_listening = false;
        g_fileSyncError = 0;
        fs::remove_all(dir);
    }
    // Writes `contents` while listening; the calls made.
    std::vector<Call> write(const std::string& contents, ExistingFile existing, FileWriteResult* result = nullptr) {
        g_calls.clear();
        g_listening = true;
        const FileWriteResult r = WriteFileSafely(path, contents, existing);
        g_listening = false;
        if (result) *result = r;
        return g_calls;
    }
    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::string dir;
    std::string path;
};

TEST_F(SafeFileWriterSync, TheFileIsSyncedWholeBeforeItTakesTheNameAndTheFolderAfter) {
    std::ofstream(path) << "old contents";
    for (const ExistingFile existing : {ExistingFile::Replace, ExistingFile::Keep}) {
        SCOPED_TRACE(existing == ExistingFile::Replace ? "replace" : "new file");
        if (existing == ExistingFile::Keep) fs::remove(path);
        FileWriteResult result;
        const std::vector<Call> calls = write("new contents", existing, &result);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(readFile(path), "new contents");
        ASSERT_EQ(calls.size(), 3u);
        const std::string temporary = calls[0].path;
        EXPECT_EQ(calls[0], (Call{"fsync", temporary, "", "new contents"}));
        EXPECT_EQ(fs::path(temporary).parent_path(), dir); // a rename within one file system
        EXPECT_NE(temporary, path);
        const char* placing = existing == ExistingFile::Replace ? "rename" : "link";
        EXPECT_EQ(calls[1], (Call{placing, temporary, path, ""}));
        EXPECT_EQ(calls[2], (Call{"fsync", dir, "", ""}));
        EXPECT_EQ(filesInDir(), std::vector<std::string>{"store.obp"});
    }
}

TEST_F(SafeFileWriterSync, AFailingSyncLeavesTheOldFileAndNoTemporaryFile) {
    std::ofstream(path) << "old contents";
    g_fileSyncError = EIO;
    FileWriteResult result;
    const std::vector<Call> calls = write("new contents", ExistingFile::Replace, &result);
    EXPECT_EQ(result.error, EIO);
    EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(std::strerror(EIO)), std::string::npos) << result.message;
    ASSERT_EQ(calls.size(), 1u); // nothing renamed after the failed sync
    EXPECT_EQ(calls[0].name, "fsync");
    EXPECT_EQ(readFile(path), "old contents");
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"store.obp"});
}

} // namespace
} // namespace ombrel::test
