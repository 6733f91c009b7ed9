#include "apprules/ApplicationRulesFile.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel::apprules {

namespace {

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool validUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

// A TOML basic string: quotes, backslashes and control characters escaped, everything else as it is.
std::string tomlString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

class Reader {
public:
    RulesRead read(std::string_view text) {
        if (text.size() > kMaxRulesFileSize) {
            problem(1, 1, "the file is larger than 1 MB; no rules file is that large");
        } else {
            // toml++ reports syntax errors by exception; nothing else here throws.
            try {
                const toml::table root = toml::parse(text);
                readRoot(root);
            } catch (const toml::parse_error& e) {
                problem(e.source(), std::string(e.description()));
            }
        }
        std::stable_sort(m_problems.begin(), m_problems.end(), [](const RulesProblem& a, const RulesProblem& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        RulesRead result;
        result.problems = std::move(m_problems);
        if (result.problems.empty()) result.rules = std::move(m_rules);
        return result;
    }

private:
    void problem(int line, int column, std::string message) {
        m_problems.push_back({std::max(line, 1), std::max(column, 1), std::move(message)});
    }
    void problem(const toml::source_region& at, std::string message) {
        problem(int(at.begin.line), int(at.begin.column), std::move(message));
    }

    std::optional<int> profile(const toml::node& node, std::string_view what) {
        const auto v = node.value<std::int64_t>();
        if (!node.is_integer() || !v) {
            problem(node.source(), std::string(what) + " must be a profile number from 1 to 3");
            return std::nullopt;
        }
        if (*v < kFirstProfile || *v > kLastProfile) {
            problem(node.source(), std::string(what) + " must be from 1 to 3, not " + std::to_string(*v));
            return std::nullopt;
        }
        return static_cast<int>(*v);
    }

    void readRoot(const toml::table& root) {
        for (auto&& [key, node] : root) {
            if (key == "default-profile") {
                if (const auto p = profile(node, "default-profile")) m_rules.defaultProfile = *p;
            } else if (key == "rule") {
                readRules(node);
            } else {
                problem(key.source(), "unknown entry '" + std::string(key.str()) +
                                          "' (the file has default-profile and [[rule]] tables)");
            }
        }
    }

    void readRules(const toml::node& node) {
        const toml::array* list = node.as_array();
        if (!list) {
            problem(node.source(), "each rule must be a [[rule]] table (two brackets on each side)");
            return;
        }
        std::map<std::string, int> lines; // lowercased application -> line of its first rule
        for (const toml::node& entry : *list) {
            const toml::table* t = entry.as_table();
            if (!t) {
                problem(entry.source(), "each rule must be a table with an application and a profile");
                continue;
            }
            ApplicationRule rule;
            bool complete = t->contains("application") && t->contains("profile");
            if (!complete) problem(entry.source(), "a rule needs an application and a profile");
            for (auto&& [key, value] : *t) {
                if (key == "application") {
                    const auto* s = value.as_string();
                    if (!s) {
                        problem(value.source(), "application must be a text in quotes");
                        complete = false;
                        continue;
                    }
                    if (const std::string wrong = ApplicationProblem(s->get()); !wrong.empty()) {
                        problem(value.source(), wrong);
                        complete = false;
                        continue;
                    }
                    rule.application = s->get();
                    const auto [at, fresh] = lines.emplace(lowerAscii(rule.application), value.source().begin.line);
                    if (!fresh)
                        problem(value.source(), "'" + rule.application + "' already has a rule on line " +
                                                    std::to_string(at->second) + "; only the first would ever apply");
                } else if (key == "profile") {
                    if (const auto p = profile(value, "profile"))
                        rule.profile = *p;
                    else
                        complete = false;
                } else {
                    problem(key.source(), "unknown entry '" + std::string(key.str()) +
                                              "' in a rule (it has application and profile)");
                }
            }
            if (complete) m_rules.rules.push_back(std::move(rule));
        }
    }

    ApplicationRules m_rules;
    std::vector<RulesProblem> m_problems;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

} // namespace

RulesRead ParseApplicationRules(std::string_view text) {
    return Reader().read(text);
}

std::string FormatApplicationRules(const ApplicationRules& rules) {
    std::string out = "# Ombrel: the keyboard's profile follows the application in front.\n"
                      "# The first rule that names the application wins; every other application gets the default.\n"
                      "# An application is its window class, instance, process name or desktop file id (any case).\n"
                      "# The rules are off while there is none. Ombrel rewrites this file when the rules change.\n\n";
    out += "default-profile = " + std::to_string(rules.defaultProfile) + "\n";
    for (const ApplicationRule& rule : rules.rules) {
        out += "\n[[rule]]\napplication = " + tomlString(rule.application) + "\n";
        out += "profile = " + std::to_string(rule.profile) + "\n";
    }
    return out;
}

std::string ApplicationProblem(std::string_view application) {
    if (application.empty()) return "the application is empty";
    if (application.size() > kMaxApplicationLength)
        return "the application is longer than " + std::to_string(kMaxApplicationLength) + " bytes";
    if (!validUtf8(application)) return "the application is not UTF-8 text";
    for (const char c : application) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return "the application contains a control character";
    }
    if (application.front() == ' ' || application.back() == ' ')
        return "the application begins or ends with a space, so it would never match";
    return {};
}

std::optional<std::size_t> FindRule(const ApplicationRules& rules, std::string_view application) {
    const std::string wanted = lowerAscii(application);
    for (std::size_t i = 0; i < rules.rules.size(); ++i)
        if (lowerAscii(rules.rules[i].application) == wanted) return i;
    return std::nullopt;
}

std::string DescribeProblem(const RulesProblem& problem) {
    return std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " + problem.message;
}

std::string ApplicationRulesPath(const AppPaths& paths) {
    return folderOf(paths.settingsIni) + "/" + kRulesFileName;
}

RulesFile LoadApplicationRules(const std::string& path) {
    RulesFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return file; // Missing: no rules yet
        file.state = RulesFile::State::Unreadable;
        file.error = "cannot read " + path + ": " + std::strerror(errno);
        return file;
    }
    struct stat st {};
    std::string text;
    int error = 0;
    std::string reason;
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (!S_ISREG(st.st_mode)) {
        reason = "it is not a regular file";
    } else if (static_cast<std::uint64_t>(st.st_size) > kMaxRulesFileSize) {
        reason = "it is larger than 1 MB, far larger than a rules file";
    } else {
        // Read one byte past the limit so a file that grows meanwhile is still caught.
        text.resize(kMaxRulesFileSize + 1);
        std::size_t used = 0;
        while (used < text.size()) {
            const ssize_t n = ::read(fd, text.data() + used, text.size() - used);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = errno;
                break;
            }
            if (n == 0) break;
            used += static_cast<std::size_t>(n);
        }
        text.resize(used);
        if (!error && used > kMaxRulesFileSize) reason = "it is larger than 1 MB, far larger than a rules file";
    }
    ::close(fd);
    if (error || !reason.empty()) {
        file.state = RulesFile::State::Unreadable;
        file.error = "cannot read " + path + ": " + (reason.empty() ? std::strerror(error) : reason);
        return file;
    }
    RulesRead read = ParseApplicationRules(text);
    if (!read.rules) {
        file.state = RulesFile::State::Damaged;
        file.problems = std::move(read.problems);
        return file;
    }
    file.state = RulesFile::State::Read;
    file.rules = std::move(*read.rules);
    return file;
}

FileWriteResult SaveApplicationRules(const std::string& path, const ApplicationRules& rules) {
    std::error_code ec;
    std::filesystem::create_directories(folderOf(path), ec); // a failure shows in the write's own reason
    return WriteFileSafely(path, FormatApplicationRules(rules));
}

} // namespace ombrel::apprules
