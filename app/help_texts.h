// The help, about and contact texts, built in the current language each time they are shown.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "lumarek_version.h"

#define APP_VERSION L"" LUMAREK_VERSION_TEXT

const uint32_t INFO_TEXT_CAPACITY = 2048;

// Each fills a buffer of INFO_TEXT_CAPACITY units; lines are separated by CR LF.
void build_help_text(wchar_t* text);
void build_about_text(wchar_t* text);
void build_contact_text(wchar_t* text);
