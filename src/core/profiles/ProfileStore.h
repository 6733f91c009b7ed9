#pragma once
// Saving `workingStore` to profile files and loading it back: the profile store file in the per-user folder (one
// file for all three profiles), and the files the user exports and imports. Files are always replaced whole and
// atomically, so a crash while saving leaves the previous file.

#include "device/ScreenPort.h"
#include "keys/AssignmentStore.h"
#include "platform/AppPaths.h"
#include "profiles/StoreContentCheck.h"
#include "profiles/StoreFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ombrel {

// Saves the store into the profile store file, but only when that file exists already (it is created by the
// first read from the keyboard). With `takeLock` the store's lock is taken here, else the caller holds it.
// Rewrites the store's file header and its program and text records' string offsets. Result 1 when written;
// otherwise the system's reason goes to `why` when given.
int SaveStore(AssignmentStore& working, const std::string& storePath, bool takeLock, std::string* why = nullptr);
// The same into any file, which is created or replaced (a regular file only, see platform/SafeFileWriter.h).
int ExportStore(AssignmentStore& working, const std::string& path, bool takeLock, std::string* why = nullptr);

// Replaces the store's image, macros and strings with the file's. The caller holds the lock. Only what can be
// used safely is loaded: a file that is too short, shorter than its header says, with more than 100 macros, a
// macro name without its zero or a macro of more than 4000 steps is refused (result 0, the store unchanged, the
// reason in `why` when given). A string offset outside the string area gives that key an empty string.
int LoadStore(AssignmentStore& working, const std::string& path, std::string* why = nullptr);

// Replaces the store's image, macros and strings with parsed file contents. The caller holds the lock.
void ReplaceStoreContents(AssignmentStore& working, StoreFileContents&& contents);

enum ValidateResult : int {
    VALIDATE_OK = 1,
    VALIDATE_BAD = 0,          // missing, too short, too large or malformed
    VALIDATE_CANNOT_OPEN = -2, // exists but cannot be opened or read
    VALIDATE_NO_MEMORY = -3,
};

// Checks a file before it is imported. A malformed file (its header, or contents loading would refuse) is
// reported on `screen` with "PROFILE_FORMAT_ERROR" and the path; a missing, too short or too large file is
// refused without a message. The reason goes to `why` when given. With `problems`, a well-formed file's body is
// checked too (see StoreContentCheck.h) and what is wrong with it listed there; the result still only says
// whether the file can be loaded at all.
int ValidateFile(const std::string& path, ScreenPort& screen, std::string* why = nullptr,
                 std::vector<ContentProblem>* problems = nullptr);

// The checks of ValidateFile on a file's bytes already in memory (a backup that came over the bus). Shows
// nothing: `formatError` says whether ValidateFile would have reported the file as malformed.
int ValidateImage(std::span<const std::uint8_t> bytes, std::string* why = nullptr,
                  std::vector<ContentProblem>* problems = nullptr, bool* formatError = nullptr);

// A fresh key image: file header with no macros and no strings and the given flags, image header, InitKeyImage.
KeyImage DefaultKeyImage(std::uint8_t flags = 0);

enum class DefaultTarget { Store, File };
// Store: the fresh image becomes the store's image (the caller holds the lock), nothing is written. File: the
// fresh image is written to `path`. Result 1 on success.
int CreateDefault(AssignmentStore& working, const std::string& path, std::uint8_t flags, DefaultTarget target);

} // namespace ombrel
