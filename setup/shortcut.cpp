#include "setup/shortcut.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "setup/setup_paths.h"

bool create_shortcut(const wchar_t* link_path) {
    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link);
    if (FAILED(result)) return false;
    result = link->SetPath(g_setup_paths.program_path);
    if (SUCCEEDED(result)) result = link->SetWorkingDirectory(g_setup_paths.install_folder);
    if (SUCCEEDED(result)) {
        IPersistFile* file = nullptr;
        result = link->QueryInterface(IID_IPersistFile, (void**)&file);
        if (SUCCEEDED(result)) {
            result = file->Save(link_path, TRUE);
            file->Release();
        }
    }
    link->Release();
    return SUCCEEDED(result);
}
