#include "engine/passphrase.h"

#include <windows.h>

int give_passphrase(struct archive* archive, const wchar_t* password, PassphraseSetter setter) {
    char utf8[PASSWORD_UTF8_CAPACITY];
    SecureZeroMemory(utf8, sizeof(utf8));
    int status = ARCHIVE_FATAL;
    if (WideCharToMultiByte(CP_UTF8, 0, password, -1, utf8, (int)sizeof(utf8), nullptr, nullptr) > 0)
        status = setter(archive, utf8);
    SecureZeroMemory(utf8, sizeof(utf8));
    return status;
}
