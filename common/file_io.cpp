#include "common/file_io.h"

#include "common/text.h"

bool write_all(HANDLE file, const void* buffer, uint32_t bytes) {
    DWORD written = 0;
    if (!WriteFile(file, buffer, bytes, &written, nullptr)) return false;
    return written == bytes;
}

bool temporary_name_for(wchar_t* temporary, const wchar_t* target) {
    wchar_t pid[DECIMAL_CAPACITY];
    format_decimal(pid, GetCurrentProcessId());
    return text_copy(temporary, PATH_CAPACITY, target) && text_append(temporary, PATH_CAPACITY, L".") &&
           text_append(temporary, PATH_CAPACITY, pid);
}

bool replace_file_atomically(const wchar_t* target, const ByteBlock* blocks, uint32_t block_count, bool flush) {
    wchar_t temporary[PATH_CAPACITY];
    if (!temporary_name_for(temporary, target)) return false;

    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (uint32_t i = 0; ok && i < block_count; ++i) ok = write_all(file, blocks[i].data, blocks[i].size);
    if (ok && flush) ok = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    if (ok && MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary);
    return false;
}
