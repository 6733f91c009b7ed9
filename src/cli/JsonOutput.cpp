#include "JsonOutput.h"

#include <cstdio>

namespace ombrel::cli {

std::string JsonText(const Json& json) {
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

void PrintJson(const Json& json) {
    std::fputs(JsonText(json).c_str(), stdout);
}

} // namespace ombrel::cli
