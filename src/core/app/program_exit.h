#pragma once

namespace planwarte {

// Ends the program with an exit code. Thrown where the program must stop at once (no
// calendar source, missing templates); the entry point catches it and returns the code, so
// that everything on the way is unwound and destroyed normally.
struct ProgramExit {
    int exit_code = 0;
};

}  // namespace planwarte
