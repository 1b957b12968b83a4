// The language switch: every caption and list of the main window written again in the current
// language.
#pragma once

// Writes every caption in the current language and rebuilds the lists whose items are words, the
// column titles, the settings view, the saved-profile list and the queue rows.
void apply_interface_texts();
