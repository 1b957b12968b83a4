// Lumarek-Maintenance: installs Lumarek for the current user, or removes it when started with
// --uninstall.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "common/language.h"
#include "common/text.h"
#include "common/ui.h"
#include "setup/setup_paths.h"
#include "setup/setup_texts.h"
#include "setup/setup_window.h"

// Only the first argument is looked at.
static bool started_for_removal() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return false;
    bool removal = count > 1 && text_equal_nocase(arguments[1], L"--uninstall");
    LocalFree(arguments);
    return removal;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui_init();
    g_setup.removal_mode = started_for_removal();
    g_setup.polish = user_language_is_polish();
    if (!compute_setup_paths()) {
        MessageBoxW(nullptr, setup_text(L"Could not find the user folder.", L"Nie znaleziono folderu użytkownika."),
                    L"Lumarek", MB_OK | MB_ICONERROR);
        return 1;
    }
    if (!create_setup_window()) return 1;
    int32_t exit_code = run_message_loop(g_setup.window);
    CoUninitialize();
    return exit_code;
}
