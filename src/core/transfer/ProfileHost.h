#pragma once
// What switching profiles needs from the window: the state of its editing controls, the question about unapplied
// edits (asked through UserQuestions), and the places that show the active profile. The main window implements it;
// tests answer it by hand.

#include "platform/UserQuestions.h"

#include <functional>
#include <string>

namespace ombrel {

class ProfileHost : public UserQuestions {
public:
    // The key assignment dialog is open: the profile must not change under it.
    virtual bool keyDialogOpen() const = 0;
    // The main window holds edits that have not been written to the keyboard (its Apply is enabled).
    virtual bool editsPending() const = 0;
    virtual void setEditsPending(bool pending) = 0;
    // Writes the pending edits to the keyboard, as the main window's Apply does; returns when done.
    virtual void applyEdits() = 0;

    // The question before a switch drops or writes unapplied edits. A window offers Cancel too (and makes it the
    // default, so Enter loses nothing); a host that can only ask Yes/No applies on Yes and discards on No.
    enum class EditsAnswer { Apply, Discard, Cancel };
    virtual EditsAnswer askAboutEdits(const std::string& text) {
        return askYesNo(text) ? EditsAnswer::Apply : EditsAnswer::Discard;
    }

    // The key map shows the working store's layer of the active profile again.
    virtual void refreshKeyMarks() = 0;
    // The profile name button's caption and tooltip.
    virtual void showProfileName(const std::string& name, const std::string& tooltip) = 0;
    // The active profile is now `index` (the profile buttons, an open profile manager).
    virtual void activeProfileChanged(int index) { (void)index; }

    // Runs device work that may take a while; the window keeps painting meanwhile. Returns what `work` returned.
    virtual int runDeviceWork(const std::function<int()>& work) { return work(); }
};

} // namespace ombrel
