#include "doctor/Doctor.h"

#include "DeviceFilter.h"
#include "doctor/HidrawNodes.h"
#include "doctor/PosixAcl.h"
#include "text/FileBytes.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace ombrel {

namespace {

namespace fs = std::filesystem;
using Level = DoctorFinding::Level;

std::string userName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return std::to_string(uid);
}

std::string groupName(gid_t gid) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->gr_name;
    return std::to_string(gid);
}

std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A rules file that names the keyboard: ours by name, or any other that mentions its ids.
std::string findRule(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string ours = folder + "/" + kUdevRuleName;
        if (::access(ours.c_str(), F_OK) == 0) return ours;
    }
    for (const std::string& folder : folders) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() != ".rules") continue;
            const std::string text = lower(ReadFileBytes(it->path().string()).bytes);
            if (text.find("0c45") != std::string::npos && text.find("5204") != std::string::npos)
                return it->path().string();
        }
    }
    return {};
}

// udev's record of a device: "G:uaccess" / "Q:uaccess" lines once a rule tagged it.
bool taggedForSeat(const std::string& udevDataDir, const std::string& deviceNumber) {
    const std::string record = ReadFileBytes(udevDataDir + "/c" + deviceNumber).bytes;
    return record.find("G:uaccess") != std::string::npos || record.find("Q:uaccess") != std::string::npos;
}

bool isDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every process (but ours) with `devPath` open: "name (pid N)".
std::vector<std::pair<std::string, std::string>> holdersOf(const std::string& procRoot, const std::string& devPath,
                                                           pid_t ownPid) {
    std::vector<std::pair<std::string, std::string>> holders;
    std::error_code ec;
    for (fs::directory_iterator it(procRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pid = it->path().filename().string();
        if (!isDigits(pid) || pid == std::to_string(ownPid)) continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(it->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
             fd.increment(fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd->path(), linkError).string() != devPath) continue;
            std::string name = ReadFileBytes((it->path() / "comm").string()).bytes;
            while (!name.empty() && name.back() == '\n')
                name.pop_back();
            holders.emplace_back(name.empty() ? "a program" : name, pid);
            break;
        }
    }
    return holders;
}

std::string nearestExisting(fs::path path) {
    std::error_code ec;
    while (!path.empty() && !fs::exists(path, ec) && path != path.parent_path())
        path = path.parent_path();
    return path.string();
}

// A command that needs root, as this user can give it.
std::string asRoot(const DoctorSystem& s, const std::string& command) {
    if (s.asRoot) return command;
    return (s.sudoAvailable ? "sudo " : "as root: ") + command;
}

void add(DoctorReport& report, Level level, std::string text, std::string fix = {}) {
    report.findings.push_back({level, std::move(text), std::move(fix)});
}

void checkLibrary(const DoctorSystem& s, DoctorReport& r) {
    if (s.serviceLibraryError.empty())
        add(r, Level::Ok, "the HID service library loads (" + s.serviceLibrary + ")");
    else
        add(r, Level::Problem, "the HID service library does not load: " + s.serviceLibraryError,
            asRoot(s, "apt-get install --reinstall ombrel"));
}

void checkDevice(const DoctorSystem& s, DoctorReport& r) {
    const std::string installRule = s.udevDaemon
                                        ? asRoot(s, "install -m 644 " + quoted(s.shippedRule) + " /etc/udev/rules.d/") +
                                              " && " + asRoot(s, "udevadm control --reload") + " && " +
                                              asRoot(s, "udevadm trigger --subsystem-match=hidraw --action=change")
                                        : std::string();
    const std::string retrigger = asRoot(s, "udevadm control --reload") + " && " +
                                  asRoot(s, "udevadm trigger --subsystem-match=hidraw --action=change");
    const std::string rule = findRule(s.ruleFolders);
    const std::string noDaemon = "no udev daemon runs here (a container?), so no udev rule takes effect";
    if (!rule.empty()) {
        add(r, Level::Ok, "the udev rule is installed: " + rule);
    } else if (const std::string unread = findRule(s.unreadRuleFolders); !unread.empty()) {
        add(r, Level::Problem, "the udev rule is in " + unread + ", where udev does not read rules",
            asRoot(s, "install -m 644 " + quoted(unread) + " /etc/udev/rules.d/") + " && " +
                asRoot(s, "udevadm control --reload") + " && " +
                asRoot(s, "udevadm trigger --subsystem-match=hidraw --action=change"));
    } else if (s.asRoot) {
        // Root opens the keyboard without a rule; only other users need one.
        add(r, Level::Note, "no udev rule is installed: you are root and may open the keyboard, other users may not",
            installRule);
    } else if (!s.udevDaemon) {
        add(r, Level::Problem, "no udev rule gives you the keyboard, and " + noDaemon);
    } else {
        add(r, Level::Problem, "no udev rule gives you the keyboard: only root may open it", installRule);
    }

    const auto nodes = FindHidrawNodes(s.sysRoot, s.devRoot, kVendorFilter.vendorId, kVendorFilter.productId);
    if (nodes.empty()) {
        add(r, Level::Problem, "no keyboard (USB 0C45:5204) is connected: no hidraw node belongs to it",
            "connect the keyboard (directly, not through a hub without power)");
        return;
    }
    const std::string me = userName(::getuid());
    for (const HidrawNode& node : nodes) {
        std::string text = node.devPath + ": ";
        text += node.interfaceNumber >= 0 ? "interface " + std::to_string(node.interfaceNumber) + ", " : "";
        text += DescribeInterface(node.usages);
        struct stat info {};
        if (::stat(node.devPath.c_str(), &info) != 0) {
            // Without udev nothing creates the node: it is made by hand from the kernel's device number.
            std::string major = node.deviceNumber, minor;
            if (const auto colon = major.find(':'); colon != std::string::npos) {
                minor = major.substr(colon + 1);
                major.resize(colon);
            }
            add(r, Level::Problem, text + "; the node is missing" + (s.udevDaemon ? "" : " (" + noDaemon + ")"),
                s.udevDaemon || minor.empty()
                    ? retrigger
                    : asRoot(s, "mknod -m 0600 " + node.devPath + " c " + major + " " + minor));
            continue;
        }
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        text += "; " + userName(info.st_uid) + ":" + groupName(info.st_gid) + " " + mode;
        for (const std::string& entry : ReadAclEntries(node.devPath))
            text += ", ACL " + entry;
        const bool tagged = !node.deviceNumber.empty() && taggedForSeat(s.udevDataDir, node.deviceNumber);
        if (::access(node.devPath.c_str(), R_OK | W_OK) == 0) {
            add(r, Level::Ok, text + "; you can open it");
        } else if (!s.udevDaemon) {
            add(r, Level::Problem, text + "; you cannot open it: " + noDaemon,
                asRoot(s, "setfacl -m u:" + me + ":rw " + node.devPath));
        } else if (rule.empty()) {
            add(r, Level::Problem, text + "; you cannot open it (no udev rule)", installRule);
        } else if (!tagged) {
            add(r, Level::Problem, text + "; you cannot open it: the udev rule has not been applied to it yet",
                retrigger);
        } else {
            // The rule gives the node to whoever sits at the computer's own screen; a remote login is not that user.
            add(r, Level::Problem,
                text + "; you cannot open it: the udev rule " + rule + " gives it to the user at the seat",
                asRoot(s, "setfacl -m u:" + me + ":rw " + node.devPath));
        }
        for (const auto& [name, pid] : holdersOf(s.procRoot, node.devPath, s.ownPid))
            add(r, Level::Note,
                node.devPath + " is open in " + name + " (pid " + pid +
                    "), which may talk to the "
                    "keyboard at the same time",
                "kill " + pid);
    }
}

void checkTray(const DoctorSystem& s, DoctorReport& r) {
    switch (s.tray) {
    case DesktopTray::Present:
        add(r, Level::Ok, "the desktop shows tray icons (StatusNotifierWatcher on the session bus)");
        break;
    case DesktopTray::Missing:
        add(r, Level::Problem,
            "the desktop has no tray (no StatusNotifierWatcher on the session bus): the window cannot hide there",
            asRoot(s, "apt-get install gnome-shell-extension-appindicator"));
        break;
    case DesktopTray::NoSession:
        add(r, Level::Note, "no desktop session: the tray was not checked");
        break;
    }
}

void checkFolders(const DoctorSystem& s, DoctorReport& r) {
    const std::string me = userName(::getuid());
    for (const std::string& folder : s.userFolders) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0)
                add(r, Level::Ok, folder + " is writable");
            else if (!S_ISDIR(info.st_mode))
                add(r, Level::Problem, folder + " is not a folder",
                    "mv " + quoted(folder) + " " + quoted(folder + ".old"));
            else
                add(r, Level::Problem, folder + " is not writable for you",
                    asRoot(s, "chown -R " + me + ": " + quoted(folder)));
            continue;
        }
        const std::string parent = nearestExisting(folder);
        if (::access(parent.c_str(), W_OK | X_OK) == 0)
            add(r, Level::Ok, folder + " will be created on first use");
        else
            add(r, Level::Problem, folder + " cannot be created: " + parent + " is not writable for you",
                asRoot(s, "install -d -o " + me + " " + quoted(folder)));
    }
}

} // namespace

DoctorReport RunDoctor(const DoctorSystem& system) {
    DoctorReport report;
    checkLibrary(system, report);
    checkDevice(system, report);
    checkTray(system, report);
    checkFolders(system, report);
    return report;
}

bool DoctorReport::allWell() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](const DoctorFinding& f) { return f.level == Level::Problem; });
}

std::string DoctorReport::format() const {
    std::string out;
    for (const DoctorFinding& f : findings) {
        out += f.level == Level::Ok ? "ok       " : f.level == Level::Note ? "note     " : "PROBLEM  ";
        out += f.text + "\n";
        if (!f.fix.empty()) out += "         fix: " + f.fix + "\n";
    }
    out += allWell() ? "All is well.\n" : "Fix the problems above, then run ombrelctl doctor again.\n";
    return out;
}

} // namespace ombrel
