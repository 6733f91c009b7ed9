#pragma once
// What the window says when it is to be shown without a keyboard: the sentence of the language file and, for a
// real keyboard, what the doctor finds in the way on this computer, each problem with the command that fixes it.

#include <QString>

namespace ombrel {

class WindowContext;

// `checkSystem`: run the doctor (not for the emulator, whose keyboard is plugged in by a command, not a cable).
QString NoKeyboardMessage(const WindowContext& context, bool checkSystem, bool trayAvailable);

} // namespace ombrel
