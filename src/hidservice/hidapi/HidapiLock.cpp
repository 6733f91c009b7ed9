#include "HidapiLock.h"

namespace ombrel::hid {

std::mutex& hidapiGlobalMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace ombrel::hid
