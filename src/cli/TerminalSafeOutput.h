#pragma once
// ombrelctl echoes what it was given (names, numbers, file names) in its messages. A control character in such an
// argument, an escape sequence above all, would act on the user's terminal instead of being shown: standard output
// and standard error therefore show every control character but line feed and tab as \xNN.

namespace ombrel::cli {

// Routes stdout and stderr through the escaping; call once, before anything is printed.
void MakeOutputTerminalSafe();

} // namespace ombrel::cli
