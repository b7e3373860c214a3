// Standard input and output in UTF-8 whatever the console's code page: a
// console gets UTF-16 through WriteConsoleW/ReadConsoleW, a file or a pipe
// gets the UTF-8 bytes unchanged (so `check` output is UTF-8 under Wine too).
#pragma once

#include <windows.h>

#include <streambuf>
#include <string>
#include <vector>

namespace kelvo::pack {

class ConsoleOutputBuffer : public std::streambuf {
public:
    explicit ConsoleOutputBuffer(DWORD standardHandle);
    ~ConsoleOutputBuffer() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void writeCompleteLines();
    void write(const std::string& utf8);

    HANDLE handle;
    bool console;
    std::string pending;
};

class ConsoleInputBuffer : public std::streambuf {
public:
    explicit ConsoleInputBuffer(DWORD standardHandle);

protected:
    int_type underflow() override;

private:
    HANDLE handle;
    bool console;
    std::vector<char> buffer;
};

// True when the standard handle is a console rather than a file or a pipe.
bool writesToConsole(DWORD standardHandle);

// Arguments of the command line as UTF-8, without the program name.
std::vector<std::string> utf8Arguments();

// True when the console window belongs to this process alone: kelvopack.exe
// was started from Explorer (double click, or a file dropped on it), and the
// window would vanish before its messages could be read.
bool ownsItsConsoleWindow();

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

}  // namespace kelvo::pack
