// The line protocol of the test programs that stand in for running copies of the program: one
// command per line on standard input, one answer line (or several) on standard output, UTF-8.
#pragma once

#include <string>

// The next line without its end; false at the end of the input when nothing was read.
bool read_line(std::string* line);

// Writes the text and a line end at once (no buffering, so a parent sees it before anything else).
void answer(const std::string& text);

// The index-th field of the line, fields separated by the separator; "" when there are fewer.
std::string field(const std::string& line, int index, char separator = ' ');

std::wstring wide(const std::string& text);
std::string utf8(const wchar_t* text);
