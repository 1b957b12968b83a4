// What the queue tests share: real archives of each kind made by host tools, the queue list read
// back from the window, and a pump that stops right after a given message.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A small archive of the kind its name says (".zip" by zip, ".tar.gz" by bsdtar, anything else a
// 7z by 7z) holding inside.txt (the archive's file name as text) and sub/deeper.txt.
bool make_small_archive(const std::wstring& path);

// What make_small_archive puts inside an archive of that name, as folder_tree lists it.
std::vector<std::wstring> small_archive_tree();

// Column 0 (the archives) or 1 (their results) of every row of the queue list.
std::vector<std::wstring> queue_column(HWND main, int column);

// Dispatches the test thread's messages one by one until the message (to any window, with this
// wParam) has been handled; false after the timeout.
bool pump_through(UINT message, WPARAM wparam, DWORD timeout_ms = 60000);
