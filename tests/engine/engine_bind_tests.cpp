#include <gtest/gtest.h>

#include <string>

#include "engine/engine_api.h"
#include "test_support.h"

static std::wstring module_path(HMODULE module) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

static std::wstring system_folder() {
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return std::wstring(path, length);
}

static bool same_path(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

static const void* const* engine_slots() {
    return reinterpret_cast<const void* const*>(&g_engine);
}

TEST(EngineBind, BindsEveryEntryPointFromTheSystemFolder) {
    ZeroMemory(&g_engine, sizeof(g_engine));
    ASSERT_TRUE(engine_bind());
    for (int i = 0; i < ENGINE_ENTRY_COUNT; ++i) EXPECT_NE(nullptr, engine_slots()[i]) << engine_entry_names[i];
    HMODULE module = GetModuleHandleW(ENGINE_LIBRARY_NAME);
    ASSERT_NE(nullptr, module);
    EXPECT_TRUE(same_path(system_folder() + L"\\archiveint.dll", module_path(module)));
    // Each slot holds the entry point of its own name.
    for (int i = 0; i < ENGINE_ENTRY_COUNT; ++i)
        EXPECT_EQ((const void*)GetProcAddress(module, engine_entry_names[i]), engine_slots()[i]) << i;

    // The bound table really drives the engine: a reader opens and is freed.
    struct archive* reader = g_engine.archive_read_new();
    ASSERT_NE(nullptr, reader);
    g_engine.archive_read_support_format_all(reader);
    EXPECT_NE(ARCHIVE_OK, g_engine.archive_read_open_filename_w(reader, L"C:\\no such file.zip", 65536));
    ASSERT_NE(nullptr, g_engine.archive_error_string(reader));
    g_engine.archive_read_free(reader);
}

TEST(EngineBind, TheTableFollowsTheEngineOrder) {
    const char* expected_first = "archive_read_new";
    const char* expected_last = "archive_entry_set_mtime";
    EXPECT_STREQ(expected_first, engine_entry_names[0]);
    EXPECT_STREQ("archive_entry_is_encrypted", engine_entry_names[18]);
    EXPECT_STREQ("archive_write_new", engine_entry_names[19]);
    EXPECT_STREQ(expected_last, engine_entry_names[ENGINE_ENTRY_COUNT - 1]);
}

TEST(EngineBind, ALibraryBesideTheProgramIsNeverLoaded) {
    // A same-named library that lacks an entry point, beside the program and in the current
    // folder: if it were picked up, binding would fail.
    std::wstring beside = program_folder() + L"\\archiveint.dll";
    ASSERT_TRUE(CopyFileW((program_folder() + L"\\lumarek-partial-engine.dll").c_str(), beside.c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(program_folder().c_str());

    bool bound = engine_bind();
    HMODULE module = GetModuleHandleW(ENGINE_LIBRARY_NAME);
    std::wstring loaded = module != nullptr ? module_path(module) : L"";

    SetCurrentDirectoryW(previous);
    DeleteFileW(beside.c_str());
    EXPECT_TRUE(bound);
    EXPECT_TRUE(same_path(system_folder() + L"\\archiveint.dll", loaded)) << loaded;
}

TEST(EngineBind, ALibraryLackingOnlyTheLastEntryPointIsNoEngine) {
    const wchar_t* name = L"lumarek-partial-engine.dll";
    std::wstring in_system = system_folder() + L"\\" + name;
    ASSERT_TRUE(CopyFileW((program_folder() + L"\\" + name).c_str(), in_system.c_str(), FALSE));
    ZeroMemory(&g_engine, sizeof(g_engine));

    bool bound = engine_bind_library(name);
    HMODULE still_loaded = GetModuleHandleW(name);

    DeleteFileW(in_system.c_str());
    EXPECT_FALSE(bound);
    EXPECT_EQ(nullptr, still_loaded) << "the library is freed again";
    // The lookup went through the table in order and stopped at the missing last entry.
    EXPECT_NE(nullptr, engine_slots()[ENGINE_ENTRY_COUNT - 2]);
    EXPECT_EQ(nullptr, engine_slots()[ENGINE_ENTRY_COUNT - 1]);
}

TEST(EngineBind, AMissingLibraryIsNoEngine) {
    EXPECT_FALSE(engine_bind_library(L"lumarek-no-such-engine.dll"));
}
