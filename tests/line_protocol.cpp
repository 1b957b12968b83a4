#include "line_protocol.h"

#include <windows.h>

#include <vector>

bool read_line(std::string* line) {
    line->clear();
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        char c;
        DWORD got = 0;
        if (!ReadFile(input, &c, 1, &got, nullptr) || got == 0) return !line->empty();
        if (c == '\n') return true;
        if (c != '\r') line->push_back(c);
    }
}

void answer(const std::string& text) {
    std::string line = text + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), (DWORD)line.size(), &written, nullptr);
}

std::string field(const std::string& line, int index, char separator) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = line.find(separator, start);
        if (start == std::string::npos) return "";
        ++start;
    }
    size_t end = line.find(separator, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::wstring wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    std::wstring result(text.size(), L'\0');
    int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &result[0], (int)result.size());
    result.resize(units > 0 ? (size_t)units : 0);
    return result;
}

std::string utf8(const wchar_t* text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::vector<char> buffer((size_t)bytes);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer.data(), bytes, nullptr, nullptr);
    return std::string(buffer.data(), (size_t)bytes - 1);
}
