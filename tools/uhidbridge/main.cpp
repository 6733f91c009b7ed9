// ombrel-uhid-bridge: the keyboard for a test machine, made through the kernel's uhid (needs /dev/uhid).
#include <cstdio>
#include <cstring>
#include <string>

#include "UhidBridge.h"

int main(int argc, char** argv) {
    ombrel::vm::BridgeOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--numbered") {
            options.numbered = true;
        } else if (arg.rfind("--latency-us=", 0) == 0) {
            options.latency = std::chrono::microseconds(std::stoul(arg.substr(std::strlen("--latency-us="))));
        } else if (options.controlFifo.empty()) {
            options.controlFifo = arg;
        } else if (options.answerFifo.empty()) {
            options.answerFifo = arg;
        } else {
            options.controlFifo.clear();
            break;
        }
    }
    if (options.controlFifo.empty() || options.answerFifo.empty()) {
        std::fprintf(stderr, "usage: ombrel-uhid-bridge [--numbered] [--latency-us=N] CONTROL_FIFO ANSWER_FIFO\n");
        return 2;
    }
    return ombrel::vm::UhidBridge(options).run();
}
