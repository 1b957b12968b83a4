// Fixture archives for the operation tests, made in the test itself by host tools.
#pragma once

#include <string>

// Runs a Python 3 program on the host (for names that must be stored exactly as given, hostile
// or invalid ones included); the program gets the scratch folder's host path as sys.argv[1].
// Returns the exit code; *output gets what it printed.
int run_python(const std::wstring& folder, const std::string& program, std::string* output = nullptr);

// Runs a shell command on the host inside the scratch folder (cd into its host path first).
int run_in(const std::wstring& folder, const std::string& command, std::string* output = nullptr);
