#pragma once
// Whether a file the user named may be written, checked before the keyboard is read for it: only a regular file
// (or a link to one) is ever replaced, and only with --force; anything else is refused with what it is, so --force
// is never proposed where it cannot help.

#include "platform/SafeFileWriter.h"

#include <string>

namespace ombrel::cli {

// kExitOk, or kExitFailed after saying why on stderr.
int CheckWriteTarget(const std::string& target, ExistingFile existing);

} // namespace ombrel::cli
