#pragma once
// The Help command: the HTML help viewer on the help file beside the program.
#include <string>

namespace kelvane {

// Checks that the viewer is in the Windows folder (WINDIR) and that the help file lies beside
// program_path, then starts the viewer through the program-start seam. A missing viewer or
// help file is told in a stop message and nothing is started; a failed start is not reported.
void show_help(const std::string& program_path);

}  // namespace kelvane
