// Every caption, list item and column title of the main window in both languages, as the window
// must show them after its texts were applied in one language.
#pragma once

#include <windows.h>

// Checks (with EXPECT) the window title, every caption, the items of every list whose items are
// words, and the column titles of the contents and queue lists.
void expect_texts(HWND main, bool polish);
