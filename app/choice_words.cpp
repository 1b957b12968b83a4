#include "app/choice_words.h"

#include "settings/language.h"

const wchar_t* const FORMAT_NAMES[3] = {L"ZIP", L"7z", L"TAR.GZ"};

const wchar_t* compression_name(uint32_t index) {
    switch (index) {
    case 0:
        return ui_text(L"Fast", L"Szybka");
    case 1:
        return ui_text(L"Normal", L"Standardowa");
    default:
        return ui_text(L"Maximum", L"Maksymalna");
    }
}

const wchar_t* startup_view_name(uint32_t index) {
    switch (index) {
    case 0:
        return ui_text(L"Archive contents", L"Zawartość archiwum");
    case 1:
        return ui_text(L"New archive", L"Nowe archiwum");
    case 2:
        return ui_text(L"ZIP profiles", L"Profile ZIP");
    default:
        return ui_text(L"Extract queue", L"Kolejka");
    }
}
