// Interface texts: every text is a pair of literals, chosen by the language flag when it is written.
#pragma once

#include "settings/preferences.h"

inline const wchar_t* ui_text(const wchar_t* english, const wchar_t* polish) {
    return g_preferences.polish_ui != 0 ? polish : english;
}

// Writes every caption in the current language and rebuilds the lists whose items are words, the
// column titles, the settings view, the saved-profile list and the queue rows.
void apply_interface_texts();

// The view names of the startup-view list, in StartupView order, in the current language.
const wchar_t* startup_view_name(uint32_t index);

// The compression names (Fast, Normal, Maximum) in the current language.
const wchar_t* compression_name(uint32_t index);

extern const wchar_t* const FORMAT_NAMES[3];
