#include "PlatformFixture.h"

#include "platform/InstanceClient.h"
#include "platform/InstanceLock.h"
#include "platform/LocalSocket.h"
#include "platform/RuntimeDir.h"

#include <sys/stat.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

namespace ombrel::test {
namespace {

using namespace std::chrono_literals;

Deadline soon() {
    return std::chrono::steady_clock::now() + 5s;
}

// Two instances of the program in one process: separate lock and channel objects on one runtime folder.
class InstanceChannelTest : public TempDirFixture {
protected:
    InstanceChannel listenAsFirst(const InstanceChannel::Options& options = {}) {
        first = InstanceLock::acquire(dir);
        EXPECT_TRUE(first.owned()) << first.error();
        std::string error;
        auto channel = InstanceChannel::listen(first, options, &error);
        EXPECT_TRUE(channel) << error;
        return std::move(*channel);
    }
    DeliveryResult send(InstanceRequest request, uid_t uid = ::getuid()) {
        return SendInstanceRequest(InstanceSocketPath(dir), request, soon(), uid);
    }
    // Raw bytes to the socket, as a foreign program might send them; returns the answer bytes.
    std::vector<std::uint8_t> sendRaw(const std::vector<std::uint8_t>& bytes) {
        UniqueFd fd = NewLocalSocket();
        auto address = LocalAddress::forPath(InstanceSocketPath(dir));
        EXPECT_EQ(::connect(fd.get(), address->get(), address->size()), 0);
        EXPECT_TRUE(WriteExactly(fd.get(), bytes.data(), bytes.size(), soon()));
        ::shutdown(fd.get(), SHUT_WR);
        std::vector<std::uint8_t> answer(kInstanceMessageSize);
        if (!ReadExactly(fd.get(), answer.data(), answer.size(), soon())) answer.clear();
        return answer;
    }

    InstanceLock first;
    std::mutex mutex;
    std::vector<InstanceRequest> received;
    std::vector<InstanceRequest> receivedSoFar() {
        std::lock_guard lock(mutex);
        return received;
    }
    InstanceChannel::Handler recorder() {
        return [this](InstanceRequest request) {
            std::lock_guard lock(mutex);
            received.push_back(request);
        };
    }
};

TEST_F(InstanceChannelTest, OneLockPerRuntimeFolder) {
    InstanceLock a = InstanceLock::acquire(dir);
    InstanceLock b = InstanceLock::acquire(dir);
    EXPECT_TRUE(a.owned());
    EXPECT_EQ(b.state(), InstanceLock::State::HeldElsewhere);
    a.release();
    EXPECT_TRUE(InstanceLock::acquire(dir).owned()); // a crashed or ended instance frees the name

    EXPECT_EQ(InstanceLock::acquire(dir + "/missing").state(), InstanceLock::State::Unavailable);
    EXPECT_FALSE(InstanceChannel::listen(b)); // only the lock owner may listen
}

TEST_F(InstanceChannelTest, OpenAndKillRoundTrips) {
    InstanceChannel channel = listenAsFirst();
    channel.setHandler(recorder());
    {
        ChannelServer server(channel);
        EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Delivered);
        EXPECT_EQ(send(InstanceRequest::Kill), DeliveryResult::Delivered);
    }
    EXPECT_EQ(received, (std::vector<InstanceRequest>{InstanceRequest::Open, InstanceRequest::Kill}));

    // The socket is the owner's alone, and goes with the channel.
    struct stat info {};
    ASSERT_EQ(::stat(channel.path().c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const std::string path = channel.path();
    { InstanceChannel gone = std::move(channel); }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::NotListening);
}

TEST_F(InstanceChannelTest, AnEndThatAsksInTheWindowIsAnsweredSo) {
    InstanceChannel channel = listenAsFirst();
    channel.setHandler(recorder());
    channel.setAsking([](InstanceRequest request) { return request == InstanceRequest::Kill; });
    {
        ChannelServer server(channel);
        EXPECT_EQ(send(InstanceRequest::Kill), DeliveryResult::Asking);
        EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Delivered);
    }
    // The request reaches the handler all the same: the window asks, and ends once the edits are settled.
    EXPECT_EQ(received, (std::vector<InstanceRequest>{InstanceRequest::Kill, InstanceRequest::Open}));
}

TEST_F(InstanceChannelTest, SenderWaitsUntilTheHandlerHasFinished) {
    InstanceChannel channel = listenAsFirst();
    std::promise<void> entered;
    std::mutex gate;
    std::condition_variable opened;
    bool release = false;
    channel.setHandler([&](InstanceRequest) {
        entered.set_value();
        std::unique_lock lock(gate);
        opened.wait(lock, [&] { return release; });
    });
    ChannelServer server(channel);
    auto sending = std::async(std::launch::async, [&] { return send(InstanceRequest::Open); });

    entered.get_future().wait();
    // The handler is still running (think of a message box), so no answer can have been sent yet.
    EXPECT_EQ(sending.wait_for(0s), std::future_status::timeout);
    {
        std::lock_guard lock(gate);
        release = true;
    }
    opened.notify_all();
    EXPECT_EQ(sending.get(), DeliveryResult::Delivered);
}

TEST_F(InstanceChannelTest, RequestsBeforeTheHandlerExistsAreRefused) {
    InstanceChannel channel = listenAsFirst();
    ChannelServer server(channel);
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Refused);
}

TEST_F(InstanceChannelTest, ForeignMessagesAreRefused) {
    InstanceChannel channel = listenAsFirst();
    channel.setHandler(recorder());
    ChannelServer server(channel);
    const InstanceMessage open = EncodeInstanceRequest(InstanceRequest::Open);
    const InstanceMessage refused = EncodeInstanceReply(InstanceReply::Refused);
    const std::vector<std::uint8_t> refusedBytes(refused.begin(), refused.end());

    std::vector<std::uint8_t> longer(open.begin(), open.end());
    longer.push_back('!');
    EXPECT_EQ(sendRaw(longer), refusedBytes);
    EXPECT_EQ(sendRaw({'o', 'p', 'e', 'n', '\n', 0, 0, 0}), refusedBytes);
    EXPECT_TRUE(sendRaw({'o', 'p', 'e', 'n'}).empty()); // too short: the connection is dropped unanswered
    EXPECT_TRUE(receivedSoFar().empty());
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Delivered); // still serving
}

TEST_F(InstanceChannelTest, OtherUsersAreNotTalkedTo) {
    // Pretend the socket's owner is someone else: each side sees a peer of a foreign user id.
    InstanceChannel::Options strict;
    strict.ownerUid = ::getuid() + 1;
    InstanceChannel channel = listenAsFirst(strict);
    channel.setHandler(recorder());
    ChannelServer server(channel);
    EXPECT_EQ(send(InstanceRequest::Kill), DeliveryResult::NoAnswer);
    EXPECT_EQ(send(InstanceRequest::Kill, ::getuid() + 1), DeliveryResult::ForeignOwner);
    EXPECT_TRUE(receivedSoFar().empty());
}

TEST_F(InstanceChannelTest, StaleSocketIsReplaced) {
    {
        // An instance that died: its socket file stays, nobody listens, the lock is free.
        UniqueFd dead = NewLocalSocket();
        auto address = LocalAddress::forPath(InstanceSocketPath(dir));
        ASSERT_EQ(::bind(dead.get(), address->get(), address->size()), 0);
    }
    ASSERT_TRUE(std::filesystem::exists(InstanceSocketPath(dir)));
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::NotListening);

    InstanceChannel channel = listenAsFirst();
    channel.setHandler(recorder());
    ChannelServer server(channel);
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Delivered);
}

TEST_F(InstanceChannelTest, DeepRuntimeFolderWorks) {
    // Longer than a socket address can hold.
    dir += "/" + std::string(120, 'r');
    std::filesystem::create_directory(dir);
    InstanceChannel channel = listenAsFirst();
    channel.setHandler(recorder());
    ChannelServer server(channel);
    EXPECT_GT(InstanceSocketPath(dir).size(), sizeof(sockaddr_un::sun_path));
    EXPECT_EQ(send(InstanceRequest::Open), DeliveryResult::Delivered);
}

} // namespace
} // namespace ombrel::test
