// Passwords handed to the engine as UTF-8, in a buffer that is wiped before and after.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "engine/engine_api.h"

const uint32_t PASSWORD_UTF8_CAPACITY = 2048;

typedef int (*PassphraseSetter)(struct archive*, const char*);

// Converts the password to UTF-8 and gives it to the engine through the setter (the reader's or
// the writer's passphrase call). Returns the engine's status, or ARCHIVE_FATAL when the password
// does not convert within PASSWORD_UTF8_CAPACITY bytes.
int give_passphrase(struct archive* archive, const wchar_t* password, PassphraseSetter setter);
