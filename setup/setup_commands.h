// What the main button does: install in install mode, remove in removal mode.
#pragma once

// Checks for the archive engine, installs, and asks whether to open the app; the window closes
// after the question and stays open after a failure.
void run_install_command();

// Removes the installation; after success the clean-up is started and the window closes.
void run_removal_command();
