#include "support/TestPaths.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace ombrel::test {

std::string serviceLibraryPath(const std::string& fileName) {
    return std::string(OMBREL_TEST_SERVICE_DIR) + "/" + fileName;
}

std::string makeTempDir(const std::string& prefix) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    return std::string(buf.data());
}

std::string sourcePath(const std::string& relative) {
    return std::string(OMBREL_TEST_SOURCE_DIR) + "/" + relative;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) out.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

} // namespace ombrel::test
