#include "platform/FileCopy.h"

#include "platform/SafeFileWriter.h"
#include "text/FileBytes.h"

namespace ombrel {

CopyResult CopyFileReplacing(const std::string& from, const std::string& to) {
    const FileBytes source = ReadFileBytes(from);
    if (source.status == FileBytes::Status::Unreadable) return CopyResult::Failed;
    if (!WriteFileSafely(to, source.bytes)) return CopyResult::Failed;
    return source.status == FileBytes::Status::Missing ? CopyResult::SourceMissing : CopyResult::Copied;
}

} // namespace ombrel
