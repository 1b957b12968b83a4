// Archives for the window tests, made in the test itself by host tools and small Python writers.
#pragma once

#include <string>
#include <vector>

struct ZipMember {
    std::string name;  // UTF-8; a trailing "/" makes a folder entry
    std::string data;
    bool encrypted;  // ZipCrypto with the password "secret" (headers readable, data not)
};

// A ZIP with a central directory, entries in the given order, deflated.
bool make_zip(const std::wstring& path, const std::vector<ZipMember>& members);

// A ZIP that can only be read front to back (no usable central directory) whose files are
// ZipCrypto-encrypted with sizes after the data: even listing it needs the password.
bool make_streamed_encrypted_zip(const std::wstring& path, const std::string& password);

// A ZIP whose second file has damaged compressed data (the headers are intact, so it lists).
bool make_damaged_zip(const std::wstring& path);
