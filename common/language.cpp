#include "common/language.h"

#include <windows.h>

bool user_language_is_polish() {
    return (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
}
