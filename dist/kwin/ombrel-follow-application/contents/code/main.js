// Tells Ombrel which application is in front, so the keyboard can switch to the profile the user chose for it.
// On Wayland no other program can see the window in front; KWin can, and passes it on over the session bus.

const ombrelService = "io.github.ombrel.Ombrel";
const ombrelPath = "/io/github/ombrel/Ombrel/Keyboard";
const ombrelInterface = "io.github.ombrel.Keyboard1";
const maxIdLength = 255; // Ombrel refuses longer ids

// The desktop file id where the application has one ("org.kde.konsole"), else the window class (X11 programs and
// games, "steam_app_570").
function applicationId(window) {
    if (!window) return "";
    const desktopId = window.desktopFileName ? String(window.desktopFileName) : "";
    if (desktopId !== "") return desktopId;
    return window.resourceClass ? String(window.resourceClass) : "";
}

function reportActivation(window) {
    const id = applicationId(window);
    if (id === "" || id.length > maxIdLength) return;
    // Only a running Ombrel is told: a call to its name would otherwise start it on every window activation.
    callDBus("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner", ombrelService,
             function (running) {
                 if (running) callDBus(ombrelService, ombrelPath, ombrelInterface, "ApplicationActivated", id);
             });
}

if (workspace.windowActivated) {
    workspace.windowActivated.connect(reportActivation); // KWin 6
    reportActivation(workspace.activeWindow);
} else if (workspace.clientActivated) {
    workspace.clientActivated.connect(reportActivation); // KWin 5
    reportActivation(workspace.activeClient);
}
