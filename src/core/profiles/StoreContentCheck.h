#pragma once
// A deeper look at a profile file than its header gives: whether every key record, macro and string reference
// holds something this program and the keyboard can use. The format carries no checksum over its body, so a
// damaged body only shows as values out of their ranges; restoring such a file would quietly turn keys back to
// their factory function or send the keyboard steps it cannot play. Nothing is changed here, only reported.

#include "profiles/StoreFile.h"

#include <string>
#include <vector>

namespace ombrel {

struct ContentProblem {
    int layer = -1; // profile of the key record concerned (3 = the unused fourth layer), -1 for none
    int key = -1;   // key index of that record, -1 for none
    int macro = -1; // 0-based position of the macro concerned in the file, -1 for none
    std::string what;

    // "profile P, key 0xKKK: WHAT" or "macro N: WHAT".
    std::string describe() const;
};

// Every problem of the parsed contents, in file order, at most `limit` of them (a file of random bytes would
// otherwise give thousands).
std::vector<ContentProblem> CheckStoreContents(const StoreFileContents& contents, std::size_t limit = 50);

} // namespace ombrel
