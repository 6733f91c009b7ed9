#pragma once
// What the device link asks of the screen. The main window implements it (each call becomes the window message
// or timer it stands for); the command-line tool and the tests use their own.
//
// "Send" calls return only when the window has handled them; "post" calls return at once.

#include <string_view>

namespace ombrel {

// What the tray icon tells about the keyboard.
enum class TrayState {
    KeyboardAbsent,  // shown and remembered
    KeyboardPresent, // shown and remembered
    Activity,        // the keyboard reports an activity; the remembered state comes back with ActivityEnded
    ActivityEnded,   // the remembered state again
};

class ScreenPort {
public:
    virtual ~ScreenPort() = default;

    // The keyboard is gone: close every open owned dialog and focus the main window (sent); then an open main
    // window says that the keyboard was unplugged (it is not hidden under the user's hands).
    virtual void sendDetach() = 0;
    virtual void showKeyboardGone() = 0;
    // Reload what the window shows from the keyboard (sent).
    virtual void sendProfileReload() = 0;
    // Show the main window and check the firmware version (posted).
    virtual void postOpen() = 0;
    // The G-key bank changed to `bank` (0 = A, 1 = B): refresh the G-key marks and the bank display (sent).
    virtual void sendBankChanged(int bank) = 0;
    // Start the one-shot lighting reload timer with the shortest elapse; a second start replaces the first.
    virtual void startReloadTimer() = 0;
    virtual void setTrayState(TrayState state) = 0;
    // The main window has finished initialising.
    virtual bool windowReady() const = 0;
    // A message box with the language text of `textKey` and an OK button (returns when closed).
    virtual void showMessage(std::string_view textKey) = 0;
    // The same with the language text used as a format for one string argument (a file's path, say); the text is
    // filled in safely whatever placeholders it holds.
    virtual void showFormattedMessage(std::string_view textKey, std::string_view argument) {
        (void)argument;
        showMessage(textKey);
    }
};

// A screen that shows nothing; for programs without a window.
class NullScreen : public ScreenPort {
public:
    void sendDetach() override {}
    void showKeyboardGone() override {}
    void sendProfileReload() override {}
    void postOpen() override {}
    void sendBankChanged(int) override {}
    void startReloadTimer() override {}
    void setTrayState(TrayState) override {}
    bool windowReady() const override { return true; }
    void showMessage(std::string_view) override {}
    void showFormattedMessage(std::string_view, std::string_view) override {}
};

} // namespace ombrel
