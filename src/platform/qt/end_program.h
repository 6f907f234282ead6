// The end of the program: the exit code the process ends with once the frame
// window is closed.
#pragma once

namespace qtl {

// The code of the program end (wnd_end_program) if one happened, else 0.
int exit_code_at_close();

}  // namespace qtl
