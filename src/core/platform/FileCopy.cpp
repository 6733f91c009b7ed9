#include "platform/FileCopy.h"

#include "platform/SafeFileWriter.h"
#include "text/FileBytes.h"

namespace ombrel {

CopyResult CopyFileReplacing(const std::string& from, const std::string& to, std::string* why) {
    const FileBytes source = ReadFileBytes(from);
    if (source.status == FileBytes::Status::Unreadable) {
        if (why) *why = "cannot read " + from;
        return CopyResult::Failed;
    }
    if (const FileWriteResult written = WriteFileSafely(to, source.bytes); !written) {
        if (why) *why = written.message;
        return CopyResult::Failed;
    }
    return source.status == FileBytes::Status::Missing ? CopyResult::SourceMissing : CopyResult::Copied;
}

} // namespace ombrel
