#pragma once
// What the About box tells about this copy of the program: its version, and the build as the build knows it
// (the commit and its date where it was built from a git checkout, the compiler, the Qt it runs on).

#include <QString>

namespace ombrel {

QString VersionText();
// "build 83af375 (2026-12-10), GCC 12.2.0, Qt 6.4.2"; the commit is left out when the build did not know it.
QString BuildText();

} // namespace ombrel
