#include "keyboardfile/WriteHistory.h"

#include "device/LinkStartHook.h"

#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/KeyboardFileWriter.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "keyboardfile/WriteIntent.h"
#include "platform/SafeFileWriter.h"
#include "text/FileBytes.h"
#include "transfer/KeyboardWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTimeLine = "# time: ";
constexpr std::string_view kWriterLine = "# writer: ";
constexpr std::string_view kSetupStart = "format = ";
constexpr std::string_view kProcessLine = "process ";

std::string nowText() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char s[40];
    std::strftime(s, sizeof s, "%Y-%m-%d %H:%M:%S UTC", &tm);
    return s;
}

// "000042.toml" -> 42.
std::optional<int> numberOfName(const std::string& name) {
    if (name.size() != 11 || name.substr(6) != ".toml") return std::nullopt;
    int n = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + 6, n);
    if (ec != std::errc() || end != name.data() + 6) return std::nullopt;
    return n;
}

std::string headerValue(const std::string& text, std::string_view prefix) {
    const auto at = text.find(prefix);
    if (at == std::string::npos) return {};
    const auto end = text.find('\n', at);
    return text.substr(at + prefix.size(), end == std::string::npos ? std::string::npos : end - at - prefix.size());
}

// The setup part of a snapshot, without the header that differs from snapshot to snapshot.
std::string_view setupPart(std::string_view text) {
    const auto at = text.find(kSetupStart);
    return at == std::string_view::npos ? text : text.substr(at);
}

// A removed mark must stay removed after a power cut, as a written one stays written.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::mutex g_settingsLock; // guards g_settings
std::optional<HistorySettings> g_settings;

} // namespace

WriteHistory::WriteHistory(std::string folder, std::size_t maxSnapshots, std::uintmax_t maxBytes)
    : m_folder(std::move(folder)), m_maxSnapshots(maxSnapshots), m_maxBytes(maxBytes) {}

std::string WriteHistory::pathOf(int number) const {
    char name[16];
    std::snprintf(name, sizeof name, "%06d.toml", number);
    return m_folder + "/" + name;
}

std::string WriteHistory::markerOf(int number) const {
    return pathOf(number) + ".interrupted";
}

std::string WriteHistory::intendedOf(int number) const {
    return pathOf(number) + ".intended";
}

std::vector<HistorySnapshot> WriteHistory::list() const {
    std::vector<HistorySnapshot> out;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto n = numberOfName(it->path().filename().string());
        if (!n || !it->is_regular_file(ec)) continue;
        HistorySnapshot s;
        s.number = *n;
        s.path = it->path().string();
        s.bytes = it->file_size(ec);
        // The header is in the first lines; a snapshot is never read whole just to be listed.
        const std::string head = ReadFileBytes(s.path).bytes.substr(0, 512);
        s.time = headerValue(head, kTimeLine);
        s.writer = headerValue(head, kWriterLine);
        s.interrupted = fs::exists(markerOf(*n), ec);
        if (s.interrupted) {
            const std::string mark = ReadFileBytes(markerOf(*n)).bytes.substr(0, 256);
            const auto at = mark.find(kProcessLine);
            if (at != std::string::npos) {
                const char* first = mark.data() + at + kProcessLine.size();
                std::from_chars(first, mark.data() + mark.size(), s.writerProcess);
            }
        }
        if (fs::is_regular_file(intendedOf(*n), ec)) s.intendedPath = intendedOf(*n);
        out.push_back(std::move(s));
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return out;
}

std::optional<HistorySnapshot> WriteHistory::find(int number) const {
    for (HistorySnapshot& s : list())
        if (s.number == number) return std::move(s);
    return std::nullopt;
}

std::optional<HistorySnapshot> WriteHistory::interrupted() const {
    const auto all = list();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->interrupted) return *it;
    return std::nullopt;
}

std::optional<int> WriteHistory::keep(std::string_view setupText, const std::string& writer, std::string* why,
                                      bool* isNew, std::optional<std::string_view> intendedText) {
    if (isNew) *isNew = false;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    if (ec) {
        if (why) *why = "cannot create " + m_folder + ": " + ec.message();
        return std::nullopt;
    }
    ::chmod(m_folder.c_str(), 0700); // what the keyboard held is the user's own business
    const auto all = list();
    int number = all.empty() ? 1 : all.back().number + 1;
    if (!all.empty() && setupPart(ReadFileBytes(all.back().path).bytes) == setupPart(setupText)) {
        number = all.back().number;
    } else {
        const std::string text = "# The keyboard before a write, kept by the write history (ombrelctl history).\n" +
                                 std::string(kTimeLine) + nowText() + "\n" + std::string(kWriterLine) + writer +
                                 "\n\n" + std::string(setupPart(setupText));
        if (const FileWriteResult r = WriteFileSafely(pathOf(number), text, ExistingFile::Keep); !r) {
            if (why) *why = r.message;
            return std::nullopt;
        }
        if (isNew) *isNew = true;
    }
    // The intended state goes before the mark, and one left from an earlier write of the same snapshot goes too:
    // a mark never points at an intended state of another write.
    if (intendedText) {
        const std::string text = "# The keyboard as the write means to leave it, kept by the write history.\n" +
                                 std::string(setupPart(*intendedText));
        if (const FileWriteResult r = WriteFileSafely(intendedOf(number), text); !r) {
            if (why) *why = r.message;
            return std::nullopt;
        }
    } else {
        std::error_code removeError;
        if (fs::remove(intendedOf(number), removeError)) syncFolder(m_folder);
    }
    // The mark goes after the snapshot: a mark never points at a snapshot that is not there.
    // The mark names its process, so another program can tell a write under way from one cut off.
    const std::string mark = writer + "\n" + std::string(kProcessLine) + std::to_string(::getpid()) + "\n";
    if (const FileWriteResult r = WriteFileSafely(markerOf(number), mark); !r) {
        if (why) *why = r.message;
        return std::nullopt;
    }
    prune(number);
    return number;
}

void WriteHistory::finish(int number) {
    std::error_code ec;
    // The mark first: a mark never points at an intended state that is not there.
    fs::remove(markerOf(number), ec);
    fs::remove(intendedOf(number), ec);
    syncFolder(m_folder);
}

void WriteHistory::discard(int number) {
    std::error_code ec;
    // The mark first: a mark never points at a snapshot that is not there.
    fs::remove(markerOf(number), ec);
    fs::remove(intendedOf(number), ec);
    fs::remove(pathOf(number), ec);
    syncFolder(m_folder);
}

bool WriteHistory::holds(int number, std::string_view setupText) const {
    const FileBytes file = ReadFileBytes(pathOf(number));
    return file.status == FileBytes::Status::Ok && setupPart(file.bytes) == setupPart(setupText);
}

void WriteHistory::prune(int keepNumber) {
    auto all = list();
    std::uintmax_t total = 0;
    for (const auto& s : all)
        total += s.bytes;
    std::size_t count = all.size();
    std::error_code ec;
    for (const HistorySnapshot& s : all) {
        if (count <= m_maxSnapshots && total <= m_maxBytes) break;
        if (s.number == keepNumber) continue;
        fs::remove(markerOf(s.number), ec);
        fs::remove(intendedOf(s.number), ec);
        fs::remove(s.path, ec);
        --count;
        total -= s.bytes;
    }
}

std::string DefaultHistoryFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/') return std::string(state) + "/ombrel/history";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/state/ombrel/history";
}

void SetProcessHistory(std::optional<HistorySettings> settings) {
    {
        std::lock_guard guard(g_settingsLock);
        g_settings = settings;
    }
    if (!settings) {
        SetLinkStartHook({});
        SetKeysWriteHook({});
        return;
    }
    DeclareKeysWriteIntents();
    SetLinkStartHook([history = *settings](DeviceCommands& commands, DeviceState& state) {
        RecordWriteHistory(commands, state, history);
    });
}

HistorySettings HistorySettingsFor(const AppPaths& paths, bool emulator, std::string writer, TextLookup text) {
    return {emulator ? paths.userDir + "/history" : DefaultHistoryFolder(), std::move(writer), paths.userColorPrefix,
            std::move(text)};
}

std::optional<HistorySettings> ProcessHistory() {
    std::lock_guard guard(g_settingsLock);
    return g_settings;
}

void RecordWriteHistory(DeviceCommands& commands, DeviceState& state, const HistorySettings& settings) {
    struct Recorder {
        HistorySettings settings;
        WriteHistory history;
        NullScreen screen;
        std::optional<int> current;
        bool currentIsNew = false;
    };
    auto recorder = std::make_shared<Recorder>(Recorder{settings, WriteHistory(settings.folder), {}, {}, false});
    DeviceCommands::WriteObserver observer;
    // The keyboard, or nothing when it cannot be read.
    auto readSetup = [recorder, &commands, &state]() -> std::optional<KeyboardSetup> {
        TextLookup text =
            recorder->settings.text ? recorder->settings.text : [](std::string_view) { return std::string("Macro "); };
        SetupPlaces places{commands, state, recorder->screen, text, "", recorder->settings.colorPrefix};
        KeyboardSetup setup;
        if (ReadKeyboardSetup(places, setup) != LINK_OK) return std::nullopt;
        return setup;
    };
    observer.before = [recorder, readSetup, &commands] {
        recorder->current.reset();
        // A keyboard that cannot be read cannot be snapshotted; the write itself still goes ahead.
        const auto setup = readSetup();
        if (!setup) return;
        std::optional<std::string> intended;
        if (const auto change = DeclaredWriteIntent(commands))
            intended = WriteKeyboardFile(MergeSetup(*setup, *change), KeyCodeNames());
        recorder->current = recorder->history.keep(WriteKeyboardFile(*setup, KeyCodeNames()), recorder->settings.writer,
                                                   nullptr, &recorder->currentIsNew, intended);
    };
    observer.after = [recorder, readSetup](int result) {
        if (recorder->current && result == LINK_OK) {
            // A write that put back what was there (a pattern loaded again, the same value set twice) changed
            // nothing: a history row for it would only hide the writes that did.
            const auto read = recorder->currentIsNew ? readSetup() : std::nullopt;
            const auto setup = read ? std::optional(WriteKeyboardFile(*read, KeyCodeNames())) : std::nullopt;
            if (setup && recorder->history.holds(*recorder->current, *setup))
                recorder->history.discard(*recorder->current);
            else
                recorder->history.finish(*recorder->current);
        }
        recorder->current.reset();
    };
    commands.setWriteObserver(std::move(observer));
}

} // namespace ombrel
