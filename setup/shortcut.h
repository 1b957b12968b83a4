// The shell link to the installed program.
#pragma once

#include <wchar.h>

// Writes a shell link at the path (replacing one of that name): target the program path, working
// folder the install folder, nothing else. Needs COM on the calling thread.
bool create_shortcut(const wchar_t* link_path);
