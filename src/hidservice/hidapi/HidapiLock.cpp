#include "HidapiLock.h"

namespace ombrel::hid {

std::mutex& hidapiGlobalMutex() {
    // Never destroyed: End still needs it while the library's static objects are torn down at unload.
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

} // namespace ombrel::hid
