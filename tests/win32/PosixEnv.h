#pragma once
// setenv and unsetenv, which tests use to set up their environment, over the
// Windows C runtime's _putenv_s. Included ahead of every unit test source in
// the Windows build.

#include <stdlib.h>

inline int setenv(const char* name, const char* value, int /*overwrite*/) {
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}
