// The words of the choice lists (formats, compression strengths, start-up views), in the current
// language when they have one.
#pragma once

#include <stdint.h>

extern const wchar_t* const FORMAT_NAMES[3];

// The compression names (Fast, Normal, Maximum) in the current language.
const wchar_t* compression_name(uint32_t index);

// The view names of the startup-view list, in StartupView order, in the current language.
const wchar_t* startup_view_name(uint32_t index);
