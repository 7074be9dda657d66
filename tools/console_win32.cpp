// console_win32.cpp - simboard's text on a Windows console.
//
// What the program prints to a console goes there on a detour: the C
// runtime writes a console narrow text a byte at a time in a code page,
// so the descriptors of a console are given a pipe instead, and a thread
// shows what comes through it with WriteConsoleW.
#include "console.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace daqgate::tools {

namespace {

// The relay between the pipe and the console.
struct Relay {
    HANDLE console = nullptr;
    HANDLE from = nullptr;        // the pipe's reading end
    HANDLE thread = nullptr;      // the thread that reads it
    int saved[3] = {-1, -1, -1};  // the console's descriptors, by the number the pipe took
};
Relay relay;

// The bytes of text that end with a whole character.
std::size_t whole_characters(const std::string &text)
{
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xc0) == 0x80)
            continue;  // a continuation: its character began further back
        const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

void show(const std::string &text)
{
    if (text.empty() || text.size() > INT_MAX)
        return;
    // Invalid bytes show as replacement characters, not as nothing.
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    const wchar_t *next = wide.data();
    DWORD left = static_cast<DWORD>(wide.size()), written = 0;
    while (left > 0 && WriteConsoleW(relay.console, next, left, &written, nullptr) && written > 0) {
        next += written;
        left -= written;
    }
}

DWORD WINAPI relay_text(void *)
{
    std::string pending;
    char bytes[4096];
    DWORD got = 0;
    while (ReadFile(relay.from, bytes, sizeof bytes, &got, nullptr) && got > 0) {
        pending.append(bytes, got);
        const std::size_t whole = whole_characters(pending);
        show(pending.substr(0, whole));
        pending.erase(0, whole);
    }
    show(pending);
    return 0;
}

bool is_console(int descriptor)
{
    DWORD mode = 0;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void finish_relay()
{
    std::fflush(stdout);
    std::fflush(stderr);
    // The console's descriptors back: the pipe loses its last writer, and
    // the thread shows what is left and ends.
    for (int descriptor = 1; descriptor <= 2; ++descriptor)
        if (relay.saved[descriptor] >= 0)
            _dup2(relay.saved[descriptor], descriptor);
    WaitForSingleObject(relay.thread, 10000);
    for (int descriptor = 1; descriptor <= 2; ++descriptor)
        if (relay.saved[descriptor] >= 0)
            _close(relay.saved[descriptor]);
    CloseHandle(relay.thread);
    CloseHandle(relay.from);
    relay = Relay{};
}

}  // namespace

void utf8_console()
{
    // Output to a pipe or a file stays the program's bytes, UTF-8.
    if (relay.thread != nullptr)
        return;
    const bool out = is_console(1), err = is_console(2);
    if (!out && !err)
        return;
    HANDLE from = nullptr, to = nullptr;
    if (!CreatePipe(&from, &to, nullptr, 0))
        return;
    const int writer = _open_osfhandle(reinterpret_cast<intptr_t>(to), _O_WRONLY | _O_TEXT);
    if (writer < 0) {
        CloseHandle(from);
        CloseHandle(to);
        return;
    }
    // The thread writes to copies of the console's descriptors: giving a
    // descriptor the pipe closes the handle it had.
    std::fflush(stdout);
    std::fflush(stderr);
    for (int descriptor = 1; descriptor <= 2; ++descriptor)
        relay.saved[descriptor] = (descriptor == 1 ? out : err) ? _dup(descriptor) : -1;
    relay.console = reinterpret_cast<HANDLE>(_get_osfhandle(relay.saved[out ? 1 : 2]));
    relay.from = from;
    relay.thread = relay.console == INVALID_HANDLE_VALUE
                       ? nullptr
                       : CreateThread(nullptr, 0, relay_text, nullptr, 0, nullptr);
    if (relay.thread == nullptr) {
        for (int descriptor = 1; descriptor <= 2; ++descriptor)
            if (relay.saved[descriptor] >= 0)
                _close(relay.saved[descriptor]);
        _close(writer);
        CloseHandle(from);
        relay = Relay{};
        return;
    }
    for (int descriptor = 1; descriptor <= 2; ++descriptor)
        if (relay.saved[descriptor] >= 0)
            _dup2(writer, descriptor);
    _close(writer);
    std::atexit(finish_relay);
}

}  // namespace daqgate::tools
