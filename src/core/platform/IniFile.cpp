#include "platform/IniFile.h"

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
    const IniValue one{section, key, value};
    return WriteIniStrings(path, std::span(&one, 1));
}

bool WriteIniStrings(const std::string& path, std::span<const IniValue> values, std::string* why) {
    auto fail = [&](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    const std::lock_guard lock(writeMutex());
    const FileBytes file = ReadFileBytes(path);
    if (file.status == FileBytes::Status::Unreadable) return fail("cannot read " + path + ", so it is left as it is");
    IniDocument doc = file.status == FileBytes::Status::Ok ? IniDocument::fromBytes(file.bytes) : IniDocument();
    for (const IniValue& v : values)
        if (!doc.setValue(v.section, v.key, v.value)) return fail("a name or value cannot be stored in " + path);
    const FileWriteResult written = WriteFileSafely(path, doc.toBytes());
    return written ? true : fail(written.message);
}

} // namespace ombrel
