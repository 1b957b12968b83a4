// The setup window: one window whose main button installs or removes, by the program's mode.
#pragma once

// Registers the class and creates, places and shows the window with its controls in the current
// mode and language; false when the window cannot be created.
bool create_setup_window();
