// Another running copy of the program, as far as the profile file is concerned: profile_window.exe,
// a separate process with its own current profile store, driven through its standard input with one
// command per line and one answer line each (the commands are listed in profile_window.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "test_support.h"

// One running copy; ended and closed when the test leaves its scope.
struct WindowCopy {
    ChildProcess child = {};
    HANDLE input = nullptr;   // the copy's standard input
    HANDLE output = nullptr;  // its standard output and error
    std::string received;

    ~WindowCopy();
};

// Started with the test's environment, so it uses the test's LOCALAPPDATA.
bool start_copy(WindowCopy* copy);

bool send_line(WindowCopy* copy, const std::string& command);

// One answer line if it has arrived; false while none has (or the copy has gone).
bool poll_line(WindowCopy* copy, std::string* line);

// Sends a command and waits for its answer ("(no answer)" after the timeout).
std::string ask(WindowCopy* copy, const std::string& command, DWORD timeout_ms = 30000);
