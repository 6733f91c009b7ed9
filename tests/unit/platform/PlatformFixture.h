#pragma once
// What the platform tests share: a private temporary folder per test, files written and read whole, and an
// instance channel served on a thread of its own, the way the application's event loop serves it.

#include "platform/AppPaths.h"
#include "platform/InstanceChannel.h"
#include "support/TestPaths.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace ombrel::test {

class TempDirFixture : public ::testing::Test {
protected:
    void SetUp() override { dir = root = makeTempDir("ombrel-platform"); }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(root, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root, ec);
    }

    std::string root; // removed after the test
    std::string dir;  // the folder a test works in; root unless the test moves it
};

// The paths of a program installed in `root`/bin for a user whose home is `root`/home (nothing made yet).
inline AppPaths pathsUnder(const std::string& root) {
    PathEnvironment env;
    env.executablePath = root + "/bin/ombrel";
    env.home = root + "/home";
    return *BuildAppPaths(env);
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    return ReadFileBytes(path).bytes;
}

// Calls handlePending() whenever the channel's socket is readable, until destroyed. The channel must not be
// touched by the test thread meanwhile.
class ChannelServer {
public:
    explicit ChannelServer(InstanceChannel& channel)
        : m_thread([this, &channel] {
              while (!m_stop.load()) {
                  pollfd entry{channel.fd(), POLLIN, 0};
                  if (::poll(&entry, 1, 20) > 0) channel.handlePending();
              }
          }) {}
    ~ChannelServer() {
        m_stop.store(true);
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace ombrel::test
