#pragma once
// The one way this program writes a file for the user: profile store and exports, backups, INI files, colour
// files, the emulator's state. A reader, or a crash, sees either the old contents or the new ones, never a mix:
// the new contents go to a temporary file in the same folder, are flushed to the disk and renamed over the old
// file, and the folder is flushed too. Only regular files are ever replaced: a device node, folder, pipe or socket
// at the path is refused, so writing can never turn a device into a file. A file the user may not write is
// refused as `cp` would refuse it (root may write anywhere, as with `cp`). A replaced file keeps its permission
// bits; a symbolic link to a regular file keeps being a link, and its target gets the new contents.

#include <string>
#include <string_view>

namespace ombrel {

enum class ExistingFile {
    Replace, // an existing regular file is replaced
    Keep,    // an existing file of any kind is left alone and the write fails with EEXIST
};

struct FileWriteResult {
    int error = 0;       // errno of the step that failed; 0 on success
    std::string message; // "cannot write PATH: REASON" for the user; empty on success

    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
};

// Writes `contents` to `path`. On failure the old file is untouched and no temporary file is left behind.
FileWriteResult WriteFileSafely(const std::string& path, std::string_view contents,
                                ExistingFile existing = ExistingFile::Replace);

// Removes the temporary files a write to `path` leaves when the writer is killed before its rename (".NAME.XXXXXX"
// beside the file, regular, ours). Only for a caller that alone may write `path` at the moment (it holds the
// file's lock): another writer's temporary file would otherwise go from under it.
void RemoveStaleTemporaryFiles(const std::string& path);

} // namespace ombrel
