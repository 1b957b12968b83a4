#include "engine/engine_errors.h"

#include <string.h>

#include "common/memory.h"

static bool contains(const char* text, const char* fragment) {
    return strstr(text, fragment) != nullptr;
}

static ResultCode classify(const char* text) {
    if (contains(text, "not supported") && (contains(text, "ncrypt") || contains(text, "assword")))
        return RESULT_UNSUPPORTED_ENCRYPTION;
    if (contains(text, "assphrase") || contains(text, "assword")) return RESULT_PASSWORD_REQUIRED;
    // The engine's words when writing its output file or its own temporary file fails (a full disk,
    // a drive gone): the write failed, not the archive.
    if (contains(text, "Write error") || contains(text, "fwrite function failed") || contains(text, "temporary file"))
        return RESULT_IO_ERROR;
    return RESULT_ARCHIVE_ERROR;
}

// The text in the system code page, whole when it fits the detail, otherwise its beginning (never
// ending in half a surrogate pair).
static void copy_engine_text(wchar_t* detail, const char* text) {
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, detail, (int)DETAIL_CAPACITY) > 0) return;
    detail[0] = 0;
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return;
    wchar_t* whole = (wchar_t*)mem_alloc((size_t)units * sizeof(wchar_t));
    if (whole == nullptr) return;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, whole, units) > 0) {
        uint32_t keep = (uint32_t)units - 1 < DETAIL_CAPACITY - 1 ? (uint32_t)units - 1 : DETAIL_CAPACITY - 1;
        if (keep > 0 && IS_HIGH_SURROGATE(whole[keep - 1])) --keep;
        CopyMemory(detail, whole, keep * sizeof(wchar_t));
        detail[keep] = 0;
    }
    mem_free(whole);
}

bool record_engine_error(OperationResult* result, struct archive* archive) {
    const char* text = g_engine.archive_error_string(archive);
    if (text == nullptr) {
        result->code = RESULT_ARCHIVE_ERROR;
        return false;
    }
    result->code = classify(text);
    copy_engine_text(result->detail, text);
    return false;
}
