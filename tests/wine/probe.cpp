// Reads what a person sees of a Windows program running under Wine, for the Windows smoke test
// (smoke.sh). Wine draws the windows, menus and frames of its virtual desktop itself, so
// their titles and menu items are read through Win32 rather than from X.
//
//   probe window TEXT SECONDS  waits for a visible top-level window titled TEXT (or of class TEXT when it
//                              starts with '#') and prints its client area on the desktop: "x y width height"
//   probe sysmenu TITLE        prints the last item of that window's system menu
//   probe clipboard SECONDS    waits for text on the clipboard, prints it and empties the clipboard
//
// Arguments are UTF-16 and the output is UTF-8. A window's menu can only be read in its own process, so
// this file is also built as probe.dll, whose hook copies the system menu to the clipboard.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

UINT readMenuMessage() {
    return RegisterWindowMessageW(L"PomelakProbeReadSystemMenu");
}

std::optional<std::wstring> takeClipboardText() {
    std::optional<std::wstring> text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        EmptyClipboard();
        CloseClipboard();
    }
    return text;
}

HWND findVisibleWindow(const wchar_t* text) {
    const bool isClass = text[0] == L'#';
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, isClass ? text : nullptr, isClass ? nullptr : text))) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Tries every 100 ms until the attempt gives something or the time is up.
template <class Attempt> auto poll(const wchar_t* seconds, Attempt attempt) -> decltype(attempt()) {
    const DWORD start = GetTickCount();
    for (;; Sleep(100)) {
        auto result = attempt();
        if (result || GetTickCount() - start >= static_cast<DWORD>(_wtof(seconds) * 1000)) {
            return result;
        }
    }
}

std::optional<std::wstring> readSystemMenu(HWND window) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dllPath = exe;
    HMODULE dll = LoadLibraryW(dllPath.replace(dllPath.size() - 3, 3, L"dll").c_str());
    // Through void (*)(), the one function pointer type GCC lets any other be cast to without a warning.
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "probeHook")));
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook, dll, GetWindowThreadProcessId(window, nullptr));
    takeClipboardText();
    PostMessageW(window, readMenuMessage(), 0, 0);
    auto items = poll(L"5", takeClipboardText);
    UnhookWindowsHookEx(installed);
    return items;
}

} // namespace

// Runs in the window's own thread, the one place where its menu can be read.
extern "C" __declspec(dllexport) LRESULT CALLBACK probeHook(int code, WPARAM removal, LPARAM param) {
    const auto* message = reinterpret_cast<const MSG*>(param);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == readMenuMessage()) {
        HMENU menu = GetSystemMenu(message->hwnd, FALSE);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 256 * sizeof(wchar_t));
        GetMenuStringW(menu, GetMenuItemCount(menu) - 1, static_cast<wchar_t*>(GlobalLock(memory)), 255,
                       MF_BYPOSITION);
        GlobalUnlock(memory);
        if (OpenClipboard(message->hwnd)) {
            EmptyClipboard();
            SetClipboardData(CF_UNICODETEXT, memory);
            CloseClipboard();
        }
    }
    return CallNextHookEx(nullptr, code, removal, param);
}

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    std::optional<std::wstring> text;
    if (command == L"window" && argc == 4) {
        HWND window = poll(argv[3], [&] { return findVisibleWindow(argv[2]); });
        RECT client{};
        POINT origin{};
        if (window != nullptr && GetClientRect(window, &client) && ClientToScreen(window, &origin)) {
            text = std::to_wstring(origin.x) + L' ' + std::to_wstring(origin.y) + L' ' +
                   std::to_wstring(client.right) + L' ' + std::to_wstring(client.bottom) + L'\n';
        }
    } else if (command == L"sysmenu" && argc == 3) {
        HWND window = findVisibleWindow(argv[2]);
        text = window != nullptr ? readSystemMenu(window) : std::nullopt;
    } else if (command == L"clipboard" && argc == 3) {
        text = poll(argv[2], takeClipboardText);
    } else {
        std::fputs("usage: probe window TEXT SECONDS | sysmenu TITLE | clipboard SECONDS\n", stderr);
        return 2;
    }
    if (text) {
        std::string bytes(text->size() * 3, '\0');
        bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text->data(), static_cast<int>(text->size()),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr));
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
    return text ? 0 : 1;
}
