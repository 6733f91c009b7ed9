#pragma once
// "Start with my session" of the window's menu: writes or removes the user's autostart entry. An entry the
// program did not write is replaced or removed only when the user says so; a failure is shown with its reason.

namespace ombrel {

class WindowContext;

// Turns the choice on or off; returns whether the entry is now as asked.
bool SetSessionStart(WindowContext& context, bool on);

} // namespace ombrel
