# The Windows build, cross-compiled with mingw-w64 (cmake/mingw-w64-x86_64.cmake):
# the same core, the Win32 toolkit and HID port, the tool and the test suite
# that scripts/test-windows.sh runs under Wine. Qt, hidapi and libudev are
# not used here.

enable_language(C RC)

# Hardening as the PE format has it: stack protector and fortified C calls
# (both with libssp, linked in statically), address-space randomisation with
# high entropy, no executable data.
if(READER_CONFIG_HARDEN)
  add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-fstack-protector-strong -Wl,--dynamicbase,--nxcompat,--high-entropy-va)
endif()

# The layers as on Linux (cmake/Layers.cmake), with file names through UTF-16.
# nlohmann-json is header-only: its headers alone, not the host's /usr/include.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/nlohmann-include)
file(CREATE_LINK /usr/include/nlohmann ${CMAKE_BINARY_DIR}/nlohmann-include/nlohmann SYMBOLIC)
add_library(readerjson INTERFACE)
target_include_directories(readerjson SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/nlohmann-include)
set(READER_JSON readerjson)
set(BASE_PLATFORM_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/base/win32/FilePathWide.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/base/win32/FileWriteWin32.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/base/win32/FileLockWin32.cpp)
include(cmake/Layers.cmake)
# Unicode Win32 API, no min/max macros; localtime_r from the C runtime.
target_compile_definitions(readerbase PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
  _POSIX_C_SOURCE=200809L)
# GCC 12's -O3 inlining of std::string::assign from an iterator range warns of
# an overlap that cannot happen (GCC bug 105329).
foreach(layer readerbase readerdevice readercore readersim readertoolkit readerdialog readercli)
  target_compile_options(${layer} PRIVATE -Wno-restrict)
endforeach()

# The Win32 toolkit, the SetupAPI/hid.dll port and device notifications, and
# the command line on them (cli/win32).
file(GLOB READER_WIN32_SOURCES CONFIGURE_DEPENDS toolkit/win32/*.cpp device/win32/*.cpp
  cli/win32/*.cpp)
list(REMOVE_ITEM READER_WIN32_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/toolkit/win32/WinMain.cpp)
add_library(readerwin32 STATIC ${READER_WIN32_SOURCES})
target_link_libraries(readerwin32 PUBLIC readerdialog readercli setupapi hid user32 gdi32 shell32 comdlg32)

add_executable(reader-config WIN32 toolkit/win32/WinMain.cpp toolkit/win32/reader-config.rc)
# The version resource's numbers and text.
set_property(SOURCE toolkit/win32/reader-config.rc APPEND PROPERTY COMPILE_DEFINITIONS
  READER_CONFIG_VERSION_NUMBERS=${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
  READER_CONFIG_RC_VERSION=${PROJECT_VERSION})
set_property(SOURCE toolkit/win32/reader-config.rc toolkit/win32/manifest.rc APPEND PROPERTY
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit/win32/reader-config.manifest)
target_link_libraries(reader-config PRIVATE readerwin32)
target_link_options(reader-config PRIVATE -municode)  # wWinMain: the command line in UTF-16
set_target_properties(reader-config PROPERTIES OUTPUT_NAME reader-config)

if(READER_CONFIG_TESTS)
  # googletest from the sources Debian's googletest package installs.
  set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "googletest sources")
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/*_test.cpp)
  # The soak test measures the heap through glibc's mallinfo2; it runs on Linux.
  list(REMOVE_ITEM UNIT_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/soak_test.cpp)
  # udev's rule directories are Linux's.
  list(REMOVE_ITEM UNIT_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/access_denial_test.cpp)
  # The GBK table is checked against glibc's iconv on Linux; gbk_test holds
  # Windows to the same table.
  list(REMOVE_ITEM UNIT_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/gbk_table_test.cpp)
  add_executable(unit_tests ${UNIT_TEST_SOURCES} tests/support/DialogFixture.cpp)
  target_include_directories(unit_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(unit_tests PRIVATE readerwin32 gtest_main gmock)
  # GCC bug 105329 as in the layers, here in std::string's operator+.
  target_compile_options(unit_tests PRIVATE -Wno-restrict)
  # setenv and unsetenv for the tests that use them. The locale test builds
  # its de_DE locale with glibc's localedef; on Windows the test script
  # leaves it out (--gtest_filter).
  target_compile_options(unit_tests PRIVATE
    -include ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/PosixEnv.h)
  target_compile_definitions(unit_tests PRIVATE
    READER_CONFIG_TRACE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/traces"
    READER_CONFIG_UDEV_RULE="${PROJECT_SOURCE_DIR}/packaging/70-reader-config.rules"
    READER_CONFIG_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    READER_CONFIG_TEST_LOCALE_DIR="")
endif()

if(READER_CONFIG_TESTS)
  # The Win32 toolkit on real windows: they need a display, so they run
  # apart from the headless unit tests.
  file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*_test.cpp)
  # With the tool's manifest, so the toolkit is tested with the same
  # controls and DPI awareness as in the tool.
  add_executable(win32_tests ${WIN32_TEST_SOURCES} toolkit/win32/manifest.rc)
  target_link_libraries(win32_tests PRIVATE readerwin32 gtest_main version)
  add_dependencies(win32_tests reader-config)  # whose resources it reads

  # Drives the tool's window under Wine from outside (scripts/test-windows.sh).
  add_executable(win-smoke tests/win32/smoke_driver.cpp)
  target_compile_definitions(win-smoke PRIVATE UNICODE _UNICODE)
  target_link_options(win-smoke PRIVATE -municode)
  target_link_libraries(win-smoke PRIVATE user32 gdi32)
endif()
