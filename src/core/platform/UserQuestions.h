#pragma once
// What the core asks a person, and what it tells them. The window answers with message boxes, the command line
// with its own output, tests with queued answers. Texts arrive finished (looked up and filled in).

#include <string>

namespace ombrel {

class UserQuestions {
public:
    virtual ~UserQuestions() = default;
    // A Yes/No question with No as the default; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // A message with an OK button; returns when it was read.
    virtual void tell(const std::string& text) = 0;
};

} // namespace ombrel
