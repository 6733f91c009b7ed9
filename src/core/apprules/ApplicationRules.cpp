#include "apprules/ApplicationRules.h"

#include <algorithm>

namespace ombrel::apprules {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

} // namespace

bool RuleMatches(std::string_view application, const ApplicationIdentity& identity) {
    if (application.empty()) return false;
    for (const std::string* field :
         {&identity.windowClass, &identity.windowInstance, &identity.processName, &identity.desktopId}) {
        if (!field->empty() && equalIgnoringCase(application, *field)) return true;
    }
    return false;
}

std::optional<int> ProfileFor(const ApplicationRules& rules, const ApplicationIdentity& identity) {
    if (!rules.active()) return std::nullopt;
    for (const ApplicationRule& rule : rules.rules) {
        if (RuleMatches(rule.application, identity)) return rule.profile;
    }
    return rules.defaultProfile;
}

} // namespace ombrel::apprules
