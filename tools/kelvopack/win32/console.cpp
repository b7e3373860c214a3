#include "win32/console.h"

#include <shellapi.h>

namespace kelvo::pack {

namespace {

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != FALSE;
}

}  // namespace

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

ConsoleOutputBuffer::ConsoleOutputBuffer(DWORD standardHandle)
    : handle(GetStdHandle(standardHandle)), console(isConsole(handle)) {}

ConsoleOutputBuffer::~ConsoleOutputBuffer() { sync(); }

ConsoleOutputBuffer::int_type ConsoleOutputBuffer::overflow(int_type c) {
    if (c != traits_type::eof()) {
        pending.push_back(static_cast<char>(c));
        if (c == '\n') writeCompleteLines();
    }
    return traits_type::not_eof(c);
}

std::streamsize ConsoleOutputBuffer::xsputn(const char* text, std::streamsize count) {
    pending.append(text, static_cast<std::size_t>(count));
    writeCompleteLines();
    return count;
}

int ConsoleOutputBuffer::sync() {
    write(pending);
    pending.clear();
    return 0;
}

// Whole lines only, so that a UTF-8 sequence is never cut in two.
void ConsoleOutputBuffer::writeCompleteLines() {
    const std::size_t end = pending.rfind('\n');
    if (end == std::string::npos) return;
    write(pending.substr(0, end + 1));
    pending.erase(0, end + 1);
}

void ConsoleOutputBuffer::write(const std::string& utf8) {
    if (utf8.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (console) {
        const std::wstring wide = fromUtf8(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

ConsoleInputBuffer::ConsoleInputBuffer(DWORD standardHandle)
    : handle(GetStdHandle(standardHandle)), console(isConsole(handle)) {}

ConsoleInputBuffer::int_type ConsoleInputBuffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return traits_type::eof();
    DWORD read = 0;
    if (console) {
        wchar_t wide[1024];
        if (!ReadConsoleW(handle, wide, 1024, &read, nullptr) || read == 0) return traits_type::eof();
        const std::string utf8 = toUtf8(std::wstring(wide, read));
        buffer.assign(utf8.begin(), utf8.end());
    } else {
        buffer.resize(4096);
        if (!ReadFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) || read == 0) {
            return traits_type::eof();
        }
        buffer.resize(read);
    }
    if (buffer.empty()) return traits_type::eof();
    setg(buffer.data(), buffer.data(), buffer.data() + buffer.size());
    return traits_type::to_int_type(*gptr());
}

bool writesToConsole(DWORD standardHandle) { return isConsole(GetStdHandle(standardHandle)); }

std::vector<std::string> utf8Arguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; i < count; ++i) utf8.push_back(toUtf8(arguments[i]));
    if (arguments != nullptr) LocalFree(arguments);
    return utf8;
}

bool ownsItsConsoleWindow() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1 && isConsole(GetStdHandle(STD_INPUT_HANDLE));
}

}  // namespace kelvo::pack
