// The setup program run as its own process for a test user of its own, and driven through its
// window's messages: its boxes are answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

// How a stand-in program was started (see command_recorder.cpp).
struct StartRecord {
    std::wstring module;
    std::wstring command;
    std::wstring folder;
    std::wstring show;  // the show command given to it, or "none"
    std::wstring local_app_data;
};

// One value of a registry key as the API reads it back.
struct RegistryValue {
    std::wstring name;
    DWORD type;
    std::vector<unsigned char> data;
};

// The controls of the setup window, in creation order.
struct SetupControls {
    HWND heading, description, folder_line, desktop_box, main_button, cancel_button, language_list;
};

// A test user: its own profile folder with the local application-data, desktop and Programs folders.
// The prefix's desktop and Programs shell folders point into it for the test (they are links into the
// host's home folder otherwise); PowerShell is replaced by the recording stand-in; the installed-apps
// entry is deleted before and after. Everything is put back afterwards.
class SetupTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The environment of the test user: LOCALAPPDATA, USERPROFILE and the folder for start records.
    std::vector<std::wstring> user_environment() const;
    // Starts a setup program (the built one unless another is named) with the arguments.
    void start_setup(const std::wstring& arguments, ChildProcess* child, const std::wstring& program = L"",
                     const std::vector<std::wstring>& environment = {});
    // Starts a setup program as start_setup does and waits for its window.
    void open_setup(const std::wstring& arguments, ChildProcess* child, HWND* window, const std::wstring& program = L"",
                    const std::vector<std::wstring>& environment = {});
    // Starts the setup program, installs (with the desktop box as given), answers No and waits for the end.
    void install_with_the_window(bool desktop_shortcut);

    std::wstring install_folder() const { return local_ + L"\\Lumarek"; }
    std::wstring program_path() const { return install_folder() + L"\\Lumarek.exe"; }
    std::wstring maintenance_path() const { return install_folder() + L"\\Lumarek-Maintenance.exe"; }
    std::wstring start_menu_shortcut() const { return programs_ + L"\\Lumarek.lnk"; }
    std::wstring desktop_shortcut() const { return desktop_ + L"\\Lumarek.lnk"; }

    std::vector<StartRecord> start_records() const;
    // Waits until the stand-in has recorded the given number of starts.
    bool wait_for_start_records(size_t count) const;

    std::wstring root_, profile_, local_, desktop_, programs_, records_;

private:
    struct SavedValue {
        HKEY key;
        std::wstring subkey, name, data;
        DWORD type;
        bool present;
    };
    std::vector<SavedValue> saved_;
    std::wstring powershell_;
    std::vector<unsigned char> powershell_bytes_;
};

std::wstring built_program(const wchar_t* name);

// The setup window of the process, and its controls.
HWND wait_for_setup_window(const ChildProcess& child);
SetupControls setup_controls(HWND window);

// Presses the main button the way the dialog manager's Enter does, without waiting for its work.
void press_main_button(HWND window);
void choose_language(HWND window, bool polish);

// The next message box of the process; its text and buttons.
HWND wait_for_box(const ChildProcess& child, DWORD timeout_ms = 60000);
std::wstring box_text(HWND box);
void answer_box(HWND box, int button);
// Waits for the process to end; its exit code, or STILL_ACTIVE.
DWORD wait_for_exit(const ChildProcess& child, DWORD timeout_ms = 30000);

// Target and working folder of a shell link, read back through IShellLinkW.
bool read_shortcut(const std::wstring& link, std::wstring* target, std::wstring* working_folder);

// Every value of a key under HKEY_CURRENT_USER, in the order the registry gives them; false when
// the key is missing.
bool read_registry_key(const std::wstring& subkey, std::vector<RegistryValue>* values);
extern const wchar_t kUninstallKey[];
// "wine reg query" of a key under HKEY_CURRENT_USER: its exit code and the lines of its values.
int wine_reg_query(const std::wstring& subkey, std::vector<std::string>* value_lines);
std::string narrow(const std::wstring& text);  // UTF-8

// The carried program's bytes, read from the built setup program's resource.
std::vector<unsigned char> carried_program();

// Processes of this Wine prefix whose program file has the name.
size_t processes_named(const wchar_t* exe_name);

// Brings the window's picture up to date and saves it.
void picture_of_window(HWND window, const wchar_t* name);
