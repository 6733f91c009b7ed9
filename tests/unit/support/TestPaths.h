#pragma once
// Where tests find what the build produced.

#include <string>
#include <vector>

namespace ombrel::test {

// Full path of a service library in the build tree ("libVevIrozEmu.so", "libVevIroz.so").
std::string serviceLibraryPath(const std::string& fileName);
// A fresh, empty folder for one test's files, removed by the caller when it likes.
std::string makeTempDir(const std::string& prefix);
// Path below the source tree.
std::string sourcePath(const std::string& relative);
// A command line written as one string ("keymap set 1"), split at spaces.
std::vector<std::string> words(const std::string& line);

} // namespace ombrel::test
