#include "text/NamedFields.h"

namespace ombrel {

std::string FillNamedFields(std::string_view text, std::initializer_list<NamedField> fields) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('}', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view name = text.substr(open + 1, close - open - 1);
        const NamedField* field = nullptr;
        for (const NamedField& f : fields)
            if (f.name == name) field = &f;
        out.append(text.substr(at, open - at));
        if (field) {
            out.append(field->value);
            at = close + 1;
        } else {
            // Not a field of ours: keep the brace and look for a field right after it ("{{to}").
            out.push_back('{');
            at = open + 1;
        }
    }
    out.append(text.substr(at));
    return out;
}

} // namespace ombrel
