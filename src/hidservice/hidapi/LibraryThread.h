#pragma once
// Marks the threads the library runs (readers, the udev monitor), on which the program's callbacks run. Init and
// End refuse to run there: End would have to join the very thread it runs on.

namespace ombrel::hid {

inline thread_local bool t_libraryThread = false;

} // namespace ombrel::hid
