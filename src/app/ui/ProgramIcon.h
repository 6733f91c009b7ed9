#pragma once
// The program's icon for its windows, as task bars and window switchers read it.

#include <QIcon>
#include <QString>

namespace ombrel {

// The skin's Ombrel.png at the sizes window managers ask for. X sends a window's icons in one request, and a
// 256-pixel picture alone is larger than a server without big requests takes, which left the icon empty.
QIcon ProgramIcon(const QString& skinFolder);

} // namespace ombrel
