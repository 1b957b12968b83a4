// The setup program's texts: a pair of literals each, chosen by the language flag when written.
#pragma once

#include "setup/setup_state.h"

inline const wchar_t* setup_text(const wchar_t* english, const wchar_t* polish) {
    return g_setup.polish ? polish : english;
}

// The window title, heading, description, check box and both buttons in the current language and
// mode.
void apply_setup_texts();
