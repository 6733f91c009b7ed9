#include "PlatformFixture.h"

#include "platform/RuntimeDir.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class RuntimeDirTest : public TempDirFixture {
protected:
    RuntimeEnvironment env(const std::string& xdg) const {
        RuntimeEnvironment e;
        e.xdgRuntimeDir = xdg;
        e.tmpBase = dir;
        e.uid = ::getuid();
        return e;
    }
    std::string fallback() const { return dir + "/ombrel-" + std::to_string(::getuid()); }
    static mode_t modeOf(const std::string& path) {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info.st_mode & 0777;
    }
};

TEST_F(RuntimeDirTest, PrivateXdgFolderIsUsed) {
    const std::string xdg = dir + "/run";
    fs::create_directory(xdg);
    fs::permissions(xdg, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(InstanceRuntimeDir(env(xdg)), xdg);
    EXPECT_FALSE(fs::exists(fallback()));
}

TEST_F(RuntimeDirTest, FallbackIsAPrivateFolderOfTheUser) {
    const std::string open = dir + "/open";
    fs::create_directory(open);
    fs::permissions(open, fs::perms::all, fs::perm_options::replace);
    for (const std::string& xdg : {std::string(), std::string("relative/run"), open, dir + "/missing"}) {
        SCOPED_TRACE(xdg);
        EXPECT_EQ(InstanceRuntimeDir(env(xdg)), fallback());
        EXPECT_EQ(modeOf(fallback()), 0700u);
    }
    // A fallback left with wider permissions is tightened.
    fs::permissions(fallback(), fs::perms::all, fs::perm_options::replace);
    EXPECT_EQ(InstanceRuntimeDir(env("")), fallback());
    EXPECT_EQ(modeOf(fallback()), 0700u);
}

TEST_F(RuntimeDirTest, PlantedFallbackIsRefused) {
    // Something put at the fallback name ahead of us is not trusted: a link (to anywhere) or a file.
    const std::string elsewhere = dir + "/elsewhere";
    fs::create_directory(elsewhere);
    fs::create_directory_symlink(elsewhere, fallback());
    std::string error;
    EXPECT_FALSE(InstanceRuntimeDir(env(""), &error));
    EXPECT_FALSE(error.empty());
    fs::remove(fallback());
    writeFile(fallback(), "");
    EXPECT_FALSE(InstanceRuntimeDir(env("")));

    RuntimeEnvironment foreign = env("");
    foreign.uid = ::getuid() + 1; // the folder exists but belongs to "us", not to that user
    fs::remove(fallback());
    fs::create_directory(dir + "/ombrel-" + std::to_string(foreign.uid));
    EXPECT_FALSE(InstanceRuntimeDir(foreign));
}

} // namespace
} // namespace ombrel::test
