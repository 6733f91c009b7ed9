#pragma once
// Filling texts with several values, such as "Macro {macro} ({name}) added: {steps} steps". A translation may put
// the fields in any order or leave one out; a field the caller does not name, and any other brace, stays as it is
// written. Values are put in as they are and never scanned again, so a value holding "{to}" stays literal.

#include <initializer_list>
#include <string>
#include <string_view>

namespace ombrel {

struct NamedField {
    std::string_view name;
    std::string_view value;
};

std::string FillNamedFields(std::string_view text, std::initializer_list<NamedField> fields);

} // namespace ombrel
