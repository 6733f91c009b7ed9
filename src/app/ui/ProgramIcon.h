#pragma once
// The program's icon for its windows, as task bars and window switchers read it.

#include <QIcon>
#include <QString>

namespace ombrel {

// The skin's Ombrel.png at the sizes window managers ask for. X sends a window's icons in one request, and a
// 256-pixel picture alone is larger than a server without big requests takes, which left the icon empty.
QIcon ProgramIcon(const QString& skinFolder);

// Begins decoding and scaling the icon's pictures on another thread; the first ProgramIcon() of the same folder
// takes them from there instead of making them while the user waits for the window.
void PrepareProgramIcon(const QString& skinFolder);

// Gives the application the prepared icon when it has none yet, for a message shown before the window is built.
void EnsureApplicationIcon();

} // namespace ombrel
