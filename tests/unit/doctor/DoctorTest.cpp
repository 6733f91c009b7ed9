#include "doctor/Doctor.h"
#include "doctor/HidUsages.h"
#include "doctor/PosixAcl.h"
#include "support/TestPaths.h"
#include "support/Unprivileged.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
const std::string t_nodePlaceholder = "NODE";
using ::testing::HasSubstr;
using ::testing::Not;

// A computer in a temporary folder: sysfs, /dev, /proc, udev's rules and records, and a home folder.
class DoctorTest : public ::testing::Test {
public: // the table of cases arranges the computer through a reference to the fixture
    void SetUp() override {
        system = DoctorSystem{};
        root = makeTempDir("ombrel-doctor");
        ASSERT_EQ(::chmod(root.c_str(), 0755), 0);
        system.sysRoot = root + "/sys";
        system.devRoot = root + "/dev";
        system.procRoot = root + "/proc";
        system.udevDataDir = root + "/run/udev/data";
        system.ruleFolders = {root + "/etc/udev/rules.d", root + "/usr/lib/udev/rules.d"};
        system.unreadRuleFolders = {root + "/usr/local/lib/udev/rules.d"};
        system.shippedRule = root + "/share/ombrel/udev/60-ombrel.rules";
        system.serviceLibrary = root + "/lib/ombrel/libVevIroz.so";
        system.tray = DesktopTray::Present;
        system.userFolders = {root + "/home/.local/share/ombrel", root + "/home/.config/ombrel"};
        fs::create_directories(root + "/home/.local/share/ombrel");
        fs::permissions(root + "/home", fs::perms::all);
        // A mouse that is not the keyboard, and the keyboard's settings interface.
        addNode("hidraw0", "0003:0000046D:0000C077", "usb-0000:00:14.0-2/input0",
                std::string("\x05\x01\x09\x02\xa1\x01\xc0", 7));
        addNode("hidraw3", "0003:00000C45:00005204", "usb-0000:00:14.0-3/input1",
                std::string("\x06\x1c\xff\x09\x92\xa1\x01\x85\x04\xc0", 10));
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& path, const std::string& content, mode_t mode = 0644) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
        ::chmod(path.c_str(), mode);
    }
    void addNode(const std::string& name, const std::string& hidId, const std::string& phys,
                 const std::string& descriptor) {
        const std::string sys = root + "/sys/class/hidraw/" + name;
        write(sys + "/device/uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_PHYS=" + phys + "\n");
        write(sys + "/device/report_descriptor", descriptor);
        write(sys + "/dev", "247:" + name.substr(6) + "\n");
        write(root + "/dev/" + name, "", 0600);
    }
    void installRule(const std::string& folder) { write(folder + "/60-ombrel.rules", "TAG+=\"uaccess\"\n"); }
    void tagForSeat() { write(root + "/run/udev/data/c247:3", "E:ID_VENDOR_ID=0c45\nG:uaccess\nQ:uaccess\n"); }
    std::string node() const { return root + "/dev/hidraw3"; }

    std::string root;
    DoctorSystem system;
};

TEST_F(DoctorTest, AllWellNamesEachInterfaceAndWhoElseHasItOpen) {
    installRule(root + "/etc/udev/rules.d");
    tagForSeat();
    ::chmod(node().c_str(), 0666);
    fs::create_directories(root + "/proc/4321/fd");
    write(root + "/proc/4321/comm", "otherapp\n");
    fs::create_symlink(node(), root + "/proc/4321/fd/7");

    const DoctorReport report = RunDoctor(system);
    const std::string text = report.format();
    EXPECT_TRUE(report.allWell()) << text;
    EXPECT_THAT(text, HasSubstr(node() + ": interface 1, settings (vendor); "));
    EXPECT_THAT(text, HasSubstr(" 0666; you can open it"));
    EXPECT_THAT(text, Not(HasSubstr("hidraw0")));
    EXPECT_THAT(text, HasSubstr("is open in otherapp (pid 4321)"));
    EXPECT_THAT(text, HasSubstr("fix: kill 4321"));
    EXPECT_THAT(text, HasSubstr("the udev rule is installed: " + root + "/etc/udev/rules.d/60-ombrel.rules"));
    EXPECT_THAT(text, HasSubstr("All is well."));
}

TEST_F(DoctorTest, EachProblemComesWithItsFix) {
    struct Case {
        const char* name;
        std::function<void(DoctorTest&)> arrange;
        const char* problem;
        std::string fix;
    };
    // Each case starts from a fresh computer in a new folder, so the fixes are matched from the folder on.
    const std::string installFix =
        "/share/ombrel/udev/60-ombrel.rules' /etc/udev/rules.d/ && sudo udevadm control --reload";
    const std::vector<Case> cases = {
        {"no rule", [](DoctorTest&) {}, "no udev rule gives you the keyboard", installFix},
        {"rule where udev does not look", [](DoctorTest& t) { t.installRule(t.root + "/usr/local/lib/udev/rules.d"); },
         "where udev does not read rules", "/usr/local/lib/udev/rules.d/60-ombrel.rules' /etc/udev/rules.d/"},
        {"keyboard not connected",
         [](DoctorTest& t) {
             t.installRule(t.root + "/etc/udev/rules.d");
             fs::remove_all(t.root + "/sys/class/hidraw/hidraw3");
         },
         "no keyboard (USB 0C45:5204) is connected", "connect the keyboard"},
        {"library",
         [](DoctorTest& t) {
             t.installRule(t.root + "/etc/udev/rules.d");
             t.system.serviceLibraryError = "libhidapi-hidraw.so.0: cannot open";
         },
         "the HID service library does not load: libhidapi-hidraw.so.0", "sudo apt-get install --reinstall ombrel"},
        {"no tray",
         [](DoctorTest& t) {
             t.installRule(t.root + "/etc/udev/rules.d");
             t.system.tray = DesktopTray::Missing;
         },
         "the desktop has no tray", "gnome-shell-extension-appindicator"},
        {"data folder is a file",
         [](DoctorTest& t) {
             t.installRule(t.root + "/etc/udev/rules.d");
             fs::remove_all(t.system.userFolders[0]);
             t.write(t.system.userFolders[0], "");
         },
         "/home/.local/share/ombrel is not a folder", "mv '"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.arrange(*this);
        const DoctorReport report = RunDoctor(system);
        const std::string text = report.format();
        EXPECT_FALSE(report.allWell()) << text;
        // The finding is on a line of its own that says it is a problem.
        const auto at = text.find(c.problem);
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.substr(text.rfind('\n', at) + 1, 9), "PROBLEM  ") << text;
        EXPECT_THAT(text, HasSubstr(c.fix)) << text;
    }
}

// The fixes fit who runs them and where: root needs no sudo and no rule, a system without sudo says "as root:",
// and without a udev daemon (a container) no udev rule or udevadm is proposed.
TEST_F(DoctorTest, FixesFitWhoRunsThemAndWhere) {
    struct Case {
        const char* name;
        std::function<void(DoctorTest&)> arrange;
        std::vector<std::string> said;
        std::vector<std::string> notSaid;
    };
    const std::vector<Case> cases = {
        {"root without a rule",
         [](DoctorTest& t) { t.system.asRoot = true; },
         {"note     no udev rule is installed: you are root and may open the keyboard, other users may not",
          "fix: install -m 644 '"},
         {"sudo", "only root may open it", "PROBLEM  no udev rule"}},
        {"no sudo",
         [](DoctorTest& t) { t.system.sudoAvailable = false; },
         {"fix: as root: install -m 644 '", "&& as root: udevadm control --reload"},
         {"sudo"}},
        {"container",
         [](DoctorTest& t) { t.system.udevDaemon = false; },
         {"no udev rule gives you the keyboard, and no udev daemon runs here (a container?)"},
         {"udevadm"}},
        {"container without the node",
         [](DoctorTest& t) {
             t.system.udevDaemon = false;
             t.system.asRoot = true;
             fs::remove(t.node());
         },
         {"the node is missing (no udev daemon runs here", "fix: mknod -m 0600 " + t_nodePlaceholder + " c 247 3"},
         {"udevadm", "sudo"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.arrange(*this);
        const std::string text = RunDoctor(system).format();
        for (std::string want : c.said) {
            if (const auto at = want.find(t_nodePlaceholder); at != std::string::npos)
                want.replace(at, t_nodePlaceholder.size(), node());
            EXPECT_THAT(text, HasSubstr(want));
        }
        for (const std::string& unwanted : c.notSaid)
            EXPECT_THAT(text, Not(HasSubstr(unwanted)));
    }
}

TEST_F(DoctorTest, ANodeThisUserCannotOpenSaysWhy) {
    installRule(root + "/etc/udev/rules.d");
    for (const bool tagged : {false, true}) {
        SCOPED_TRACE(tagged ? "rule applied" : "rule not applied yet");
        if (tagged) tagForSeat();
        const auto text = RunAsUnprivilegedUser([&] {
            const DoctorReport report = RunDoctor(system);
            return report.format() + (report.allWell() ? "WELL" : "NOT WELL");
        });
        ASSERT_TRUE(text);
        EXPECT_THAT(*text, HasSubstr(node() + ": interface 1, settings (vendor); root:root 0600; you cannot open it"));
        EXPECT_THAT(*text,
                    HasSubstr(tagged ? "fix: sudo setfacl -m u:nobody:rw " + node()
                                     : std::string("fix: sudo udevadm control --reload && sudo udevadm trigger")));
        // Folders of another user: nobody may not write there.
        EXPECT_THAT(*text, HasSubstr("is not writable for you"));
        EXPECT_THAT(*text, HasSubstr("NOT WELL"));
    }
}

TEST(HidrawReaders, TopLevelCollectionsOfADescriptor) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<HidUsage> expected;
    };
    const std::vector<Case> cases = {
        {"vendor", std::string("\x06\x1c\xff\x09\x92\xa1\x01\x85\x04\x09\x01\xa1\x00\xc0\xc0", 15), {{0xFF1C, 0x92}}},
        {"two collections, nested one not counted",
         std::string("\x05\x0c\x09\x01\xa1\x01\x09\xe9\xa1\x02\xc0\xc0\x05\x01\x09\x80\xa1\x01\xc0", 19),
         {{0x000C, 0x01}, {0x0001, 0x80}}},
        {"four-byte usage carries its page", std::string("\x0b\x89\x00\x08\x00\xa1\x01\xc0", 8), {{0x0008, 0x89}}},
        {"collection without usage", std::string("\xa1\x01\xc0", 3), {}},
        {"truncated item", std::string("\x06\x1c\xff\x09\x92\xa1\x01\x06\x1c", 9), {{0xFF1C, 0x92}}},
        {"long item skipped", std::string("\xfe\x02\x10\xaa\xbb\x05\x01\x09\x06\xa1\x01", 11), {{0x0001, 0x06}}},
        {"long item past the end", std::string("\xfe\x09\x10\xaa", 4), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TopLevelUsages(std::span(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size())),
                  c.expected);
    }
}

TEST(HidrawReaders, AclEntries) {
    auto entries = [](const std::string& bytes) {
        return DescribeAclEntries(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    };
    const std::string header("\x02\x00\x00\x00", 4);
    const std::string owner("\x01\x00\x06\x00\xff\xff\xff\xff", 8);
    const std::string user1000("\x02\x00\x06\x00\xe8\x03\x00\x00", 8);
    const std::string group27("\x08\x00\x04\x00\x1b\x00\x00\x00", 8);
    EXPECT_EQ(entries(header + owner + user1000 + group27),
              (std::vector<std::string>{"user:1000:rw-", "group:27:r--"}));
    EXPECT_TRUE(entries(header + owner + user1000.substr(0, 7)).empty());        // a cut entry
    EXPECT_TRUE(entries(std::string("\x01\x00\x00\x00", 4) + user1000).empty()); // another version
    EXPECT_TRUE(entries("").empty());
}

} // namespace
} // namespace ombrel::test
