#pragma once
// hidapi keeps its last global error in one unguarded variable that hid_init, hid_exit, hid_enumerate and
// hid_open_path all rewrite (free and allocate), so every such call in the library goes through this one mutex.

#include <mutex>

namespace ombrel::hid {

std::mutex& hidapiGlobalMutex();

} // namespace ombrel::hid
