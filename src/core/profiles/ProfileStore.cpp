#include "profiles/ProfileStore.h"

#include <cerrno>

#include "profiles/BinaryFile.h"
#include "profiles/StoreFileHeader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <mutex>

namespace ombrel {

namespace {

constexpr std::uint64_t kLargestFile = 0xFFFFFFFFull; // sizes are 32-bit in the header

std::span<std::uint8_t, kFileHeaderSize> fileHeaderOf(KeyImage& image) {
    return image.bytes().first<kFileHeaderSize>();
}

void setWhy(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

int writeStore(AssignmentStore& working, const std::string& path, bool takeLock, std::string* why) {
    std::unique_lock guard(working.lock, std::defer_lock);
    if (takeLock) guard.lock();
    WriteFileHeader(fileHeaderOf(working.image), working.macroCount(), working.strings.stringBytes(), 0);
    const std::vector<std::uint8_t> area = working.strings.pack(working.image);
    const std::vector<std::uint8_t> file = SerializeStoreFile(working.image, working.macros, area);
    const FileWriteResult written = WriteBinaryFile(path, file);
    setWhy(why, written.message);
    return written ? 1 : 0;
}

} // namespace

int SaveStore(AssignmentStore& working, const std::string& storePath, bool takeLock, std::string* why) {
    if (!FileExists(storePath)) return 0;
    return writeStore(working, storePath, takeLock, why);
}

int ExportStore(AssignmentStore& working, const std::string& path, bool takeLock, std::string* why) {
    return writeStore(working, path, takeLock, why);
}

int LoadStore(AssignmentStore& working, const std::string& path, std::string* why) {
    FileStatus status = FileStatus::Ok;
    const auto file = InputFile::open(path, &status);
    if (!file) {
        setWhy(why, DescribeFileStatus(status, errno));
        return 0;
    }
    ParsedStoreFile parsed = ParseStoreFile(
        file->size(), [&](std::uint64_t offset, std::span<std::uint8_t> out) { return file->readAt(offset, out); },
        false);
    if (!parsed.check.ok()) {
        setWhy(why, parsed.check.describe());
        return 0;
    }
    ReplaceStoreContents(working, std::move(parsed.contents));
    return 1;
}

void ReplaceStoreContents(AssignmentStore& working, StoreFileContents&& contents) {
    working.strings = KeyStringTable::unpack(contents.image, contents.stringArea);
    working.image = std::move(contents.image);
    working.macros = std::move(contents.macros);
    working.stringArea.clear();
}

int ValidateFile(const std::string& path, ScreenPort& screen, std::string* why, std::vector<ContentProblem>* problems) {
    if (problems) problems->clear();
    const BinaryFileRead file = ReadBinaryFile(path, kLargestFile);
    switch (file.status) {
    case FileStatus::Ok:
        break;
    case FileStatus::Missing:
    case FileStatus::TooLarge:
        setWhy(why, DescribeFileStatus(file.status, file.error));
        return VALIDATE_BAD;
    case FileStatus::NoMemory:
        setWhy(why, DescribeFileStatus(file.status, file.error));
        return VALIDATE_NO_MEMORY;
    default:
        setWhy(why, DescribeFileStatus(file.status, file.error));
        return VALIDATE_CANNOT_OPEN;
    }
    bool formatError = false;
    const int result = ValidateImage(file.bytes, why, problems, &formatError);
    if (formatError) screen.showFormattedMessage("PROFILE_FORMAT_ERROR", path);
    return result;
}

int ValidateImage(std::span<const std::uint8_t> bytes, std::string* why, std::vector<ContentProblem>* problems,
                  bool* formatError) {
    if (problems) problems->clear();
    if (formatError) *formatError = false;
    if (bytes.size() > kLargestFile) {
        setWhy(why, DescribeFileStatus(FileStatus::TooLarge, 0));
        return VALIDATE_BAD;
    }
    const ParsedStoreFile parsed = ParseStoreFile(bytes, true);
    const StoreFileCheck& check = parsed.check;
    setWhy(why, check.describe());
    if (check.ok()) {
        if (problems) *problems = CheckStoreContents(parsed.contents);
        return VALIDATE_OK;
    }
    if (check.problem == StoreFileCheck::Problem::NoMemory) return VALIDATE_NO_MEMORY;
    if (formatError) *formatError = check.problem != StoreFileCheck::Problem::TooShort;
    return VALIDATE_BAD;
}

KeyImage DefaultKeyImage(std::uint8_t flags) {
    KeyImage image;
    WriteFileHeader(fileHeaderOf(image), 0, 0, flags);
    WriteImageHeader(image.bytes().subspan<kImageHeaderOffset, kFileHeaderSize>());
    InitKeyImage(image);
    return image;
}

int CreateDefault(AssignmentStore& working, const std::string& path, std::uint8_t flags, DefaultTarget target) {
    KeyImage image = DefaultKeyImage(flags);
    if (target == DefaultTarget::Store) {
        working.image = std::move(image);
        return 1;
    }
    return WriteBinaryFile(path, image.bytes()) ? 1 : 0;
}

} // namespace ombrel
