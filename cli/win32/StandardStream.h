#pragma once
// Standard output and error of the Windows program, which is a GUI program
// and so starts without a console. A handle redirected to a file, a pipe or
// NUL is written as it is, in UTF-8; otherwise the program attaches to the
// console of the process that started it, at the first write, and writes
// UTF-16 with WriteConsoleW, so every character shows whatever the console's
// code page. With neither, the text goes nowhere.

#include <streambuf>
#include <string>

namespace cli {

enum class StandardHandle { Output, Error };

// Writes each whole line as it is completed, so that output and error keep
// their order on a shared console, and the rest on flush (to a console, the
// bytes of a character not yet complete stay until it is). Text must be UTF-8.
class StandardStreamBuf : public std::streambuf {
  public:
    explicit StandardStreamBuf(StandardHandle which) : m_which(which) {}
    ~StandardStreamBuf() override;
    StandardStreamBuf(const StandardStreamBuf&) = delete;
    StandardStreamBuf& operator=(const StandardStreamBuf&) = delete;

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    // Writes the first n bytes held; false when the handle refused them.
    bool Write(size_t n);
    void Open();

    StandardHandle m_which;
    bool m_opened = false;
    void* m_handle = nullptr;  // null: nowhere to write
    bool m_ownHandle = false;
    bool m_console = false;
    std::string m_held;
};

}  // namespace cli
