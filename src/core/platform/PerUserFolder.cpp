#include "platform/PerUserFolder.h"

#include "platform/FileCopy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace ombrel {

namespace {

namespace fs = std::filesystem;

PerUserFolderResult failure(std::string what) {
    PerUserFolderResult result;
    result.status = PerUserFolderStatus::Failed;
    result.error = std::move(what);
    return result;
}

} // namespace

PerUserFolderResult EnsurePerUserFolder(const AppPaths& paths) {
    const fs::path folder(paths.userDir);
    struct stat info {};
    if (::stat(paths.userDir.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return {PerUserFolderStatus::Present, true, {}};
        return failure(paths.userDir + " exists and is not a folder");
    }

    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    if (ec) return failure("cannot create " + folder.parent_path().string() + ": " + ec.message());

    std::string pattern = (folder.parent_path() / ("." + folder.filename().string() + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        return failure("cannot create a folder next to " + paths.userDir + ": " + std::strerror(errno));
    const std::string staging(name.data());

    PerUserFolderResult result{PerUserFolderStatus::Created, true, {}};
    const std::string templatePath = UserColorFile(paths.userColorTemplatePrefix, kColorTemplateNumber);
    const std::string stagingPrefix = staging + "/" + kUserColorFilePrefix;
    for (int i = 0; i < kSeededColorFiles && result.status == PerUserFolderStatus::Created; ++i) {
        std::string why;
        switch (CopyFileReplacing(templatePath, UserColorFile(stagingPrefix, i), &why)) {
        case CopyResult::Copied:
            break;
        case CopyResult::SourceMissing:
            result.templateFound = false;
            break;
        case CopyResult::Failed:
            // The reason names the temporary folder's file; what matters to the user is why (a full disk...).
            result = failure("cannot seed " + paths.userDir + " from " + templatePath + ": " +
                             why.substr(why.rfind(": ") == std::string::npos ? 0 : why.rfind(": ") + 2));
            break;
        }
    }
    if (result.status == PerUserFolderStatus::Created && ::rename(staging.c_str(), paths.userDir.c_str()) != 0) {
        // Another instance may have put the folder in place first; then it is simply present.
        const int renameError = errno;
        if (::stat(paths.userDir.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            result = {PerUserFolderStatus::Present, true, {}};
        else
            result = failure("cannot create " + paths.userDir + ": " + std::strerror(renameError));
    }
    fs::remove_all(staging, ec); // only left over when the rename did not happen
    return result;
}

PerUserFolderResult PreparePerUserFolder(const AppPaths& paths) {
    return EnsurePerUserFolder(paths);
}

} // namespace ombrel
