#pragma once
// What --json prints: objects keep the order their members were added in, so the documented shapes stay stable.

#include <nlohmann/json.hpp>

#include <string>

namespace ombrel::cli {

using Json = nlohmann::ordered_json;

// Two spaces of indentation and a final newline. Names from files or the keyboard may hold bytes that are no
// UTF-8; they become U+FFFD so scripts always get valid JSON.
std::string JsonText(const Json& json);
// JsonText on standard output.
void PrintJson(const Json& json);

} // namespace ombrel::cli
