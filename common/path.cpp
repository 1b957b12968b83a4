#include "common/path.h"

#include <windows.h>

#include "common/text.h"

bool path_join(wchar_t* destination, uint32_t capacity, const wchar_t* folder, const wchar_t* name) {
    if (capacity == 0) return false;
    destination[0] = 0;
    if (!text_copy(destination, capacity, folder)) return false;
    uint32_t length = text_length(destination);
    if (length > 0 && destination[length - 1] != L'\\') {
        if (length + 1 >= capacity) return false;
        destination[length] = L'\\';
        destination[length + 1] = 0;
    }
    return text_append(destination, capacity, name);
}

const wchar_t* path_file_name(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p != 0; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    return name;
}

bool path_parent(wchar_t* destination, uint32_t capacity, const wchar_t* path) {
    uint32_t n = (uint32_t)(path_file_name(path) - path);
    if (n == 0 || n >= capacity) return false;
    uint32_t keep = n > 3 ? n - 1 : n;
    CopyMemory(destination, path, keep * sizeof(wchar_t));
    destination[keep] = 0;
    return true;
}

bool path_absolute(wchar_t* destination, const wchar_t* path) {
    destination[0] = 0;
    if (path[0] == 0) return false;
    DWORD length = GetFullPathNameW(path, PATH_CAPACITY, destination, nullptr);
    if (length == 0 || length > PATH_CAPACITY - 1) {
        destination[0] = 0;
        return false;
    }
    return true;
}

bool path_exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool path_is_directory(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool path_is_plain_directory(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY;
}

bool local_data_path(wchar_t* destination, const wchar_t* file_name) {
    wchar_t folder[PATH_CAPACITY];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, PATH_CAPACITY);
    if (length < 1 || length > PATH_CAPACITY - 1) {
        destination[0] = 0;
        return false;
    }
    return path_join(destination, PATH_CAPACITY, folder, file_name);
}
