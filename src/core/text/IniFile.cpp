#include "text/IniFile.h"

#include "platform/SafeFileWriter.h"
#include "text/FileBytes.h"

#include <mutex>

namespace ombrel {

namespace {

// Serialises the read-modify-replace of WriteIniString within the process, so two writes to the same file from
// different threads cannot lose one another's change.
std::mutex& writeMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

std::optional<IniDocument> ReadIniDocument(const std::string& path) {
    const FileBytes file = ReadFileBytes(path);
    if (file.status != FileBytes::Status::Ok) return std::nullopt;
    return IniDocument::fromBytes(file.bytes);
}

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultText) {
    const std::optional<IniDocument> doc = ReadIniDocument(path);
    return (doc ? *doc : IniDocument()).readString(section, key, defaultText);
}

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
    const std::lock_guard lock(writeMutex());
    const FileBytes file = ReadFileBytes(path);
    if (file.status == FileBytes::Status::Unreadable) return false;
    IniDocument doc = file.status == FileBytes::Status::Ok ? IniDocument::fromBytes(file.bytes) : IniDocument();
    if (!doc.setValue(section, key, value)) return false;
    return WriteFileSafely(path, doc.toBytes()).ok();
}

} // namespace ombrel
