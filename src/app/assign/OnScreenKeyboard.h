#pragma once
// The desktop's on-screen keyboard, for typing keys the physical keyboard lacks into the key box.

#include <QString>
#include <QStringList>

namespace ombrel {

// On-screen keyboard programs, in the order they are tried.
QStringList OnScreenKeyboardPrograms();
// The first of them installed on the search path; empty when there is none.
QString InstalledOnScreenKeyboard();
// Starts `program` on its own; false when it could not be started.
bool StartOnScreenKeyboard(const QString& program);

} // namespace ombrel
