#pragma once
// Long device work (Apply, restore, reload) started from the window. The work runs on a worker thread while the
// UI thread goes on painting in a nested event loop, so the progress animation moves; input to the window is
// ignored meanwhile, and calls of other threads that touch the key stores wait until the work is done (the work
// holds the stores' locks).

#include <functional>

class QWidget;

namespace ombrel {

class UiDispatcher;

class DeviceTask {
public:
    // Runs `work` and returns its result. Returns `busyResult` at once, without running it, when another task is
    // still running (a nested event loop could otherwise start a second one).
    static int run(UiDispatcher& dispatcher, QWidget* window, const std::function<int()>& work, int busyResult = 0);
    static bool running();
};

} // namespace ombrel
