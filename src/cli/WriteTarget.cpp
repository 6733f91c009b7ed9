#include "WriteTarget.h"

#include "CliSession.h"

#include <sys/stat.h>

#include <cstdio>

namespace ombrel::cli {

int CheckWriteTarget(const std::string& target, ExistingFile existing) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0) return kExitOk; // nothing there yet
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        std::fprintf(stderr, "cannot write %s: it is a link to a file that does not exist\n", target.c_str());
        return kExitFailed;
    }
    if (S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "cannot write %s: it is a folder\n", target.c_str());
        return kExitFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "cannot write %s: it is not a regular file (a device, pipe or socket) and is left alone\n",
                     target.c_str());
        return kExitFailed;
    }
    if (existing == ExistingFile::Keep) {
        std::fprintf(stderr, "%s already exists; give --force to replace it\n", target.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace ombrel::cli
