#pragma once
// A write the last run did not see through, once the keyboard is there: settled without a word when the keyboard
// holds all of it or none of it, else one question: finish the write, go back to before it, or decide later.
// Nothing is written to the keyboard before the user answers.

class QWidget;

namespace ombrel {

class WindowContext;

class UnfinishedWriteQuestion {
public:
    // Returns true when the keyboard was written (what the window shows must be read again). A write the user
    // put off is not asked about again in this run.
    static bool ask(WindowContext& context, QWidget* parent);
};

} // namespace ombrel
