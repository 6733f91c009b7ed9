#pragma once
// Fuzz inputs as files, for the readers that take a path: an anonymous memory file for those that only open the
// path, and a private scratch folder for those that look at names or neighbours (suffixes, layout files).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <system_error>
#include <unistd.h>

namespace ombrel::fuzz {

inline bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The input as a file, without touching the disk.
class MemoryFile {
public:
    explicit MemoryFile(std::span<const std::uint8_t> bytes) : m_fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
        if (m_fd >= 0 && !WriteAll(m_fd, bytes)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~MemoryFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return m_fd >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

// One folder per process, removed when the process ends normally. In memory where the system offers it: the
// program's writers flush every file they write, which on a disk would cost more than the parsing fuzzed here.
class ScratchFolder {
public:
    static ScratchFolder& instance() {
        static ScratchFolder folder;
        return folder;
    }

    const std::filesystem::path& path() const { return m_path; }

    // Replaces the file `name` in the folder with `bytes`; the file's path, or an empty path on failure.
    std::filesystem::path write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        const std::filesystem::path file = m_path / name;
        std::FILE* f = std::fopen(file.c_str(), "wb");
        if (!f) return {};
        const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && written ? file : std::filesystem::path();
    }
    std::filesystem::path write(const std::string& name, std::string_view text) const {
        return write(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())); // NOLINT
    }

private:
    ScratchFolder() {
        std::error_code ec;
        const std::filesystem::path memory("/dev/shm");
        const std::filesystem::path base =
            std::filesystem::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0
                ? memory
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "ombrel-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }

    std::filesystem::path m_path;
};

} // namespace ombrel::fuzz
