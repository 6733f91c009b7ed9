#include "platform/SessionAutostart.h"

#include "text/AsciiCase.h"
#include "text/FileBytes.h"
#include "text/IniDocument.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

namespace ombrel {

namespace {

constexpr std::string_view kEntrySection = "Desktop Entry";
// An autostart entry is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxEntrySize = 64 * 1024;

bool IsTrue(const std::optional<std::string>& value) {
    return value && AsciiLower(*value) == "true";
}

bool IsFalse(const std::optional<std::string>& value) {
    return value && AsciiLower(*value) == "false";
}

FileWriteResult Failure(int error, const std::string& what, const std::string& path) {
    return {error, what + " " + path + ": " + std::strerror(error)};
}

} // namespace

AutostartEntry ReadAutostartEntry(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    const FileBytes file = ReadFileBytes(path, kMaxEntrySize);
    if (file.status != FileBytes::Status::Ok) return {.exists = true};
    return AutostartEntryFromBytes(file.bytes, S_ISREG(st.st_mode));
}

AutostartEntry AutostartEntryFromBytes(std::string_view bytes, bool regularFile) {
    AutostartEntry entry;
    entry.exists = true;
    if (bytes.size() > kMaxEntrySize) return entry;
    const IniDocument document = IniDocument::fromBytes(bytes);
    if (!document.find(kEntrySection, "Type")) return entry;
    entry.ours = regularFile && IsTrue(document.find(kEntrySection, kAutostartMarkerKey));
    entry.enabled = !IsTrue(document.find(kEntrySection, "Hidden")) &&
                    !IsFalse(document.find(kEntrySection, "X-GNOME-Autostart-enabled"));
    return entry;
}

std::string DesktopExecArgument(std::string_view argument) {
    // Reserved characters of the Exec key: an argument holding one is put in double quotes, where '"', '`', '$'
    // and '\' take a backslash.
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    std::string exec;
    if (quote) exec += '"';
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) exec += '\\';
        if (c == '%') exec += '%';
        exec += c;
    }
    if (quote) exec += '"';
    // The whole value is a string, where a backslash itself is escaped once more.
    std::string value;
    for (const char c : exec) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

std::string AutostartEntryText(const std::string& programPath) {
    for (const char c : programPath)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Ombrel\n"
           "Comment=Keeps the keyboard settings program in the tray\n"
           "Exec=" +
           DesktopExecArgument(programPath) +
           " --start\n"
           "Icon=ombrel\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n"
           "# Written by Ombrel's \"Start with my session\"; turning that off removes this file.\n" +
           std::string(kAutostartMarkerKey) + "=true\n";
}

FileWriteResult WriteAutostartEntry(const std::string& path, const std::string& programPath, bool replaceExisting) {
    const std::string text = AutostartEntryText(programPath);
    if (text.empty()) return {EINVAL, "cannot write " + path + ": the program's path cannot be named in it"};
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) return Failure(ec.value(), "cannot create the folder of", path);
    return WriteFileSafely(path, text, replaceExisting ? ExistingFile::Replace : ExistingFile::Keep);
}

FileWriteResult RemoveAutostartEntry(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        return Failure(errno, "cannot remove", path);
    }
    if (S_ISDIR(st.st_mode)) return Failure(EISDIR, "cannot remove", path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Failure(errno, "cannot remove", path);
    return {};
}

} // namespace ombrel
