#include "SkinRect.h"

#include "platform/IniFile.h"

#include <cctype>
#include <charconv>
#include <map>
#include <mutex>

#include <sys/stat.h>

namespace ombrel {

namespace {

// One "%d": optional blanks, an optional sign, at least one digit. Advances `pos` past what was read.
bool ScanInt(std::string_view text, std::size_t& pos, int& out) {
    std::size_t p = pos;
    while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
        ++p;
    std::size_t start = p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    std::size_t digits = p;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
        ++p;
    if (p == digits) return false;
    // from_chars takes no leading '+'.
    std::size_t from = text[start] == '+' ? start + 1 : start;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data() + from, text.data() + p, value);
    if (ec != std::errc() || end != text.data() + p) return false;
    out = value;
    pos = p;
    return true;
}

} // namespace

SkinRect ParseSkinRect(std::string_view text) {
    int values[4] = {1, 1, 1, 1};
    int fields = 0;
    std::size_t pos = 0;
    while (fields < 4) {
        if (fields > 0) {
            if (pos >= text.size() || text[pos] != ',') break;
            ++pos;
        }
        if (!ScanInt(text, pos, values[fields])) break;
        ++fields;
    }
    SkinRect r;
    r.fields = fields;
    if (fields == 4) {
        r.x = values[0];
        r.y = values[1];
        r.w = values[2];
        r.h = values[3];
    }
    return r;
}

namespace {

// A window places a few hundred controls from one layout file: the file is parsed once, and parsed again only when
// it has changed on disk since (another file, size or time of change).
struct CachedLayout {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec changed{};
    IniDocument doc;
};

std::string ReadLayoutString(const std::string& path, std::string_view section, std::string_view key) {
    static std::mutex mutex;
    static std::map<std::string, CachedLayout, std::less<>> cache;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return ReadIniString(path, section, key, kDefaultSkinRectText);
    const std::lock_guard lock(mutex);
    auto it = cache.find(path);
    const bool fresh = it != cache.end() && it->second.device == st.st_dev && it->second.inode == st.st_ino &&
                       it->second.size == st.st_size && it->second.changed.tv_sec == st.st_mtim.tv_sec &&
                       it->second.changed.tv_nsec == st.st_mtim.tv_nsec;
    if (!fresh) {
        std::optional<IniDocument> doc = ReadIniDocument(path);
        if (!doc) return ReadIniString(path, section, key, kDefaultSkinRectText);
        it = cache.insert_or_assign(path, CachedLayout{st.st_dev, st.st_ino, st.st_size, st.st_mtim, std::move(*doc)})
                 .first;
    }
    return it->second.doc.readString(section, key, kDefaultSkinRectText);
}

} // namespace

SkinRect ReadSkinRect(const std::string& layoutPath, std::string_view section, std::string_view key) {
    return ParseSkinRect(ReadLayoutString(layoutPath, section, key));
}

} // namespace ombrel
