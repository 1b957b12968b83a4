// Checks of the built programs themselves: what they import and the resources they carry.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "test_support.h"

static const wchar_t* const kPrograms[] = {L"Lumarek.exe", L"Lumarek-Maintenance.exe"};

static std::wstring program(const wchar_t* name) {
    return program_folder() + L"\\" + name;
}

// The names of the DLLs a PE image imports, read from its import directory.
static std::vector<std::string> imported_libraries(const std::vector<unsigned char>& image) {
    std::vector<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return names;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)image.data();
    const IMAGE_NT_HEADERS64* nt = (const IMAGE_NT_HEADERS64*)(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto offset_of = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    DWORD import_rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    size_t at = offset_of(import_rva);
    if (at == 0) return names;
    for (const IMAGE_IMPORT_DESCRIPTOR* d = (const IMAGE_IMPORT_DESCRIPTOR*)(image.data() + at); d->Name != 0; ++d)
        names.push_back((const char*)image.data() + offset_of(d->Name));
    return names;
}

TEST(Programs, AreWindowsGuiProgramsForX64) {
    for (const wchar_t* name : kPrograms) {
        std::vector<unsigned char> image = read_bytes(program(name));
        ASSERT_GT(image.size(), 4096u) << name;
        const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)image.data();
        const IMAGE_NT_HEADERS64* nt = (const IMAGE_NT_HEADERS64*)(image.data() + dos->e_lfanew);
        EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, nt->FileHeader.Machine) << name;
        EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem) << name;
    }
}

TEST(Programs, ImportOnlySystemLibraries) {
    const char* const runtime[] = {"libstdc++", "libgcc", "libwinpthread", "libarchive", "archiveint", "zlib"};
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    for (const wchar_t* name : kPrograms) {
        std::vector<std::string> libraries = imported_libraries(read_bytes(program(name)));
        ASSERT_FALSE(libraries.empty()) << name;
        std::set<std::string> seen;
        for (const std::string& library : libraries) {
            std::string lower;
            for (char c : library) lower.push_back((char)tolower((unsigned char)c));
            seen.insert(lower);
            for (const char* bad : runtime) EXPECT_EQ(std::string::npos, lower.find(bad)) << library;
            std::wstring wide(library.begin(), library.end());
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((std::wstring(system) + L"\\" + wide).c_str()))
                << library << " is a library of the system folder";
        }
        EXPECT_TRUE(seen.count("kernel32.dll")) << "sanity: the import table was read";
        EXPECT_TRUE(seen.count("user32.dll"));
    }
}

TEST(Programs, MaintenanceCarriesLumarekByteForByte) {
    HMODULE module = LoadLibraryExW(program(L"Lumarek-Maintenance.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(101), RT_RCDATA);
    ASSERT_NE(nullptr, found);
    DWORD size = SizeofResource(module, found);
    const void* data = LockResource(LoadResource(module, found));
    std::vector<unsigned char> lumarek = read_bytes(program(L"Lumarek.exe"));
    ASSERT_NE(nullptr, data);
    ASSERT_EQ(lumarek.size(), size);
    EXPECT_EQ(0, memcmp(lumarek.data(), data, size));
    FreeLibrary(module);
}

static std::wstring version_string(const std::vector<unsigned char>& block, const wchar_t* name) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), (void**)&value, &length) || value == nullptr) return L"";
    return value;
}

TEST(Programs, VersionBlock) {
    for (const wchar_t* name : kPrograms) {
        std::wstring path = program(name);
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        ASSERT_GT(size, 0u) << name;
        std::vector<unsigned char> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", (void**)&fixed, &length));
        EXPECT_EQ(MAKELONG(2, 1), fixed->dwFileVersionMS);
        EXPECT_EQ(0u, fixed->dwFileVersionLS);
        EXPECT_EQ(MAKELONG(2, 1), fixed->dwProductVersionMS);
        EXPECT_EQ(0u, fixed->dwProductVersionLS);

        EXPECT_EQ(L"1.2.0", version_string(block, L"FileVersion")) << name;
        EXPECT_EQ(L"1.2.0", version_string(block, L"ProductVersion"));
        EXPECT_EQ(L"Lumarek", version_string(block, L"ProductName"));
        EXPECT_EQ(L"Lumarek", version_string(block, L"FileDescription"));
        EXPECT_EQ(L"Dravik", version_string(block, L"CompanyName"));

        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", (void**)&translation, &length));
        ASSERT_EQ(4u, length);
        EXPECT_EQ(0x0409, translation[0]);
        EXPECT_EQ(0x04B0, translation[1]);
    }
}

// One string of a string table in one language, read from its block of sixteen.
static std::wstring table_string(HMODULE module, UINT id, WORD language) {
    HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr) return L"(missing)";
    const WCHAR* entry = (const WCHAR*)LockResource(LoadResource(module, found));
    for (UINT i = 0; i < id % 16; ++i) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

static std::string resource_text(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return "";
    const char* data = (const char*)LockResource(LoadResource(module, found));
    return std::string(data, SizeofResource(module, found));
}

TEST(Programs, ResourcesOfBothPrograms) {
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const WORD polish = MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT);
    ASSERT_EQ(1033, english);
    ASSERT_EQ(1045, polish);
    for (const wchar_t* name : kPrograms) {
        HMODULE module =
            LoadLibraryExW(program(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, module) << name;
        EXPECT_EQ(L"Lumarek - Extract here", table_string(module, 201, english)) << name;
        EXPECT_EQ(L"Lumarek - Pack with a profile", table_string(module, 202, english));
        EXPECT_EQ(L"Lumarek - Rozpakuj tutaj", table_string(module, 201, polish));
        EXPECT_EQ(L"Lumarek - Spakuj według profilu", table_string(module, 202, polish));

        std::string manifest = resource_text(module, RT_MANIFEST, MAKEINTRESOURCEW(1));
        for (const char* part :
             {"version=\"1.2.0.0\" processorArchitecture=\"amd64\"", "Microsoft.Windows.Common-Controls",
              "version=\"6.0.0.0\"", "level=\"asInvoker\"", ">false</dpiAware>", ">true</longPathAware>"})
            EXPECT_NE(std::string::npos, manifest.find(part)) << part;

        // Icon group 1: every size from 16 to 256 (a width byte of 0 means 256).
        std::string group = resource_text(module, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
        ASSERT_GE(group.size(), 6u);
        const unsigned char* bytes = (const unsigned char*)group.data();
        unsigned count = bytes[4] | bytes[5] << 8;
        std::set<int> sizes;
        for (unsigned i = 0; i < count; ++i) {
            int width = bytes[6 + i * 14];
            sizes.insert(width == 0 ? 256 : width);
        }
        for (int size : {16, 24, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.count(size)) << size;
        EXPECT_NE(nullptr, LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 256, 256, 0));
        FreeLibrary(module);
    }
}
