// ombrel-uhid-bridge: the keyboard for a test machine, made through the kernel's uhid (needs /dev/uhid).
//   ombrel-uhid-bridge [--numbered] [--latency-us=N] SOCKET   serve until "quit"
//   ombrel-uhid-bridge --send SOCKET COMMAND...               send one command, print the answer
#include <cstdio>
#include <cstring>
#include <string>

#include "BridgeClient.h"
#include "UhidBridge.h"

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--send") == 0) {
        std::string command;
        for (int i = 3; i < argc; ++i)
            command += (i > 3 ? " " : "") + std::string(argv[i]);
        const std::string answer = ombrel::vm::BridgeClient(argv[2]).send(command);
        std::printf("%s\n", answer.c_str());
        return answer.rfind("error", 0) == 0 ? 1 : 0;
    }
    ombrel::vm::BridgeOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--numbered") {
            options.numbered = true;
        } else if (arg.rfind("--latency-us=", 0) == 0) {
            options.latency =
                std::chrono::microseconds(std::strtoul(arg.c_str() + std::strlen("--latency-us="), nullptr, 10));
        } else if (options.controlSocket.empty() && arg[0] != '-') {
            options.controlSocket = arg;
        } else {
            options.controlSocket.clear();
            break;
        }
    }
    if (options.controlSocket.empty()) {
        std::fprintf(stderr, "usage: ombrel-uhid-bridge [--numbered] [--latency-us=N] SOCKET\n"
                             "       ombrel-uhid-bridge --send SOCKET COMMAND...\n");
        return 2;
    }
    return ombrel::vm::UhidBridge(options).run();
}
