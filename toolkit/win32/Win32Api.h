#pragma once
// <windows.h> for the Win32 toolkit and adapters, with the one macro that
// would rename a member of the toolkit interface taken back out, and the
// conversions between the interface's UTF-8 and the API's UTF-16.

#include <windows.h>

#undef MessageBox

#include <string>

namespace tk::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide, size_t length);

}  // namespace tk::win32
