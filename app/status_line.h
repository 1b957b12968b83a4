// The status line at the bottom of the main window (set_status is declared with the window seams).
#pragma once

#include "operations/window_seams.h"

// "Sources: n" in the New archive view, "Items: n" (entries of the open archive) elsewhere.
void update_count_status();
