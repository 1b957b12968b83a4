#include "common/text.h"

#include <windows.h>

#include "common/memory.h"

uint32_t text_length(const wchar_t* text) {
    uint32_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

bool text_copy(wchar_t* destination, uint32_t capacity, const wchar_t* source) {
    if (capacity == 0) return false;
    destination[0] = 0;
    uint32_t length = text_length(source);
    if (length >= capacity) return false;
    CopyMemory(destination, source, (length + 1) * sizeof(wchar_t));
    return true;
}

bool text_append(wchar_t* destination, uint32_t capacity, const wchar_t* source) {
    uint32_t have = text_length(destination);
    uint32_t add = text_length(source);
    if ((uint64_t)have + add >= capacity) return false;
    CopyMemory(destination + have, source, (add + 1) * sizeof(wchar_t));
    return true;
}

wchar_t* text_duplicate(const wchar_t* text) {
    uint32_t length = text_length(text);
    wchar_t* copy = (wchar_t*)mem_alloc(((size_t)length + 1) * sizeof(wchar_t));
    if (copy == nullptr) return nullptr;
    CopyMemory(copy, text, ((size_t)length + 1) * sizeof(wchar_t));
    return copy;
}

bool text_equal_nocase(const wchar_t* a, const wchar_t* b) {
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

void format_decimal(wchar_t* destination, uint64_t value) {
    wchar_t reversed[DECIMAL_CAPACITY];
    uint32_t count = 0;
    do {
        reversed[count++] = (wchar_t)(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (uint32_t i = 0; i < count; ++i) destination[i] = reversed[count - 1 - i];
    destination[count] = 0;
}
