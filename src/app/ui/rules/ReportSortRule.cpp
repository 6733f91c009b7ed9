#include "ReportSortRule.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

namespace ombrel {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::optional<long long> WholeNumber(std::string_view s) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    long long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

int Sign(long long v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

} // namespace

int CompareReportCells(std::string_view a, std::string_view b) {
    const auto na = WholeNumber(a);
    const auto nb = WholeNumber(b);
    if (na && nb) {
        if (*na != *nb) return *na < *nb ? -1 : 1;
    }
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return Sign(ca - cb);
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return Sign(static_cast<long long>(a.compare(b)));
}

SortState NextSortState(const SortState& last, int column) {
    SortState next;
    next.column = column;
    next.ascending = !(last.column == column && last.ascending);
    return next;
}

} // namespace ombrel
