#include "engine/reader.h"

#include <windows.h>

#include "engine/engine_errors.h"
#include "engine/passphrase.h"

struct archive* open_reader(const wchar_t* archive_path, const wchar_t* password, OperationResult* result) {
    struct archive* reader = g_engine.archive_read_new();
    if (reader == nullptr) {
        result->code = RESULT_OUT_OF_MEMORY;
        return nullptr;
    }
    g_engine.archive_read_support_filter_all(reader);
    g_engine.archive_read_support_format_all(reader);
    if (password[0] != 0 && give_passphrase(reader, password, g_engine.archive_read_add_passphrase) < 0) {
        result->code = RESULT_PASSWORD_REQUIRED;
        g_engine.archive_read_free(reader);
        return nullptr;
    }
    if (g_engine.archive_read_open_filename_w(reader, archive_path, READ_BLOCK_SIZE) < 0) {
        record_engine_error(result, reader);
        g_engine.archive_read_free(reader);
        return nullptr;
    }
    return reader;
}
