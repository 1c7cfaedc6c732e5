// Reads what a person sees of a Windows program running under Wine, for the Windows smoke test
// (scripts/wine-smoke.sh). Wine draws the windows, menus and frames of its virtual desktop itself, so their
// titles are read through Win32 rather than from X.
//
//   probe window TEXT SECONDS  waits for a visible top-level window titled TEXT (or of class TEXT when it
//                              starts with '#') and prints its client area on the desktop: "x y width height"
//   probe clipboard SECONDS    waits for text on the clipboard, prints it and empties the clipboard
//
// Arguments are UTF-16 and the output is UTF-8.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

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

} // namespace

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
    } else if (command == L"clipboard" && argc == 3) {
        text = poll(argv[2], takeClipboardText);
    } else {
        std::fputs("usage: probe window TEXT SECONDS | clipboard SECONDS\n", stderr);
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
