// The interface language: every text is a pair of literals, and the language flag of the current
// preferences picks one at the moment the text is written.
#pragma once

#include "settings/preferences.h"

inline const wchar_t* ui_text(const wchar_t* english, const wchar_t* polish) {
    return g_preferences.polish_ui != 0 ? polish : english;
}
