// Lumarek: the archive manager's entry point.
#include <windows.h>

#include "app/command_line.h"
#include "app/startup.h"
#include "common/ui.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    bool profiles_loaded = startup_prepare();
    HWND main = create_main_window();
    if (main == nullptr) return 1;
    // After the window is visible, so the first operation reports into the shown window.
    act_on_command_line(GetCommandLineW());
    report_startup_problems(profiles_loaded);
    int32_t exit_code = run_message_loop(main);
    shutdown_program();
    return exit_code;
}
