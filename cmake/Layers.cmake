# The portable layers, one static library each, shared by the Linux and the
# Windows build. Each folder belongs to one layer, and a layer links only the
# layers below it; tests/check-layers.sh holds every #include to the same
# picture, so a newcomer sees from the tree what may use what.
#
#   readerbase     base/                    clock, GBK table and conversion, file names
#   readerdevice   device/                  HID port contract, CHidLink, traces
#   readercore     core/ reader/ keypad/ profile/
#                                           codecs, the reader session, profiles
#   readersim      sim/                     virtual readers behind the port
#   readertoolkit  toolkit/ toolkit/headless/
#                                           the dialog toolkit contract, headless twin
#   readerdialog   app/ (and its folders)   CReaderConfigDlg and its operations
#   readercli      cli/                     the commands and the parallel batch
#
# Platform adapters, toolkits and entry points come on top (CMakeLists.txt,
# cmake/Windows.cmake). BASE_PLATFORM_SOURCES: the file-name primitive of the
# platform; the GBK table is the same on every platform.

function(reader_layer name)
  cmake_parse_arguments(L "" "" "DIRS;LINKS" ${ARGN})
  set(globs)
  foreach(dir ${L_DIRS})
    list(APPEND globs ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${globs})
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
endfunction()

# Writes with a time limit run on threads of their own (device/BoundedWrite);
# mingw-w64 brings its threads with its C++ runtime.
if(NOT WIN32)
  find_package(Threads REQUIRED)
  set(READER_THREADS Threads::Threads)
endif()
add_library(readerbase STATIC ${PROJECT_SOURCE_DIR}/base/Gbk.cpp
  ${PROJECT_SOURCE_DIR}/base/GbkConvert.cpp ${PROJECT_SOURCE_DIR}/base/GbkTableData.cpp
  ${PROJECT_SOURCE_DIR}/base/SystemClock.cpp ${BASE_PLATFORM_SOURCES})
target_include_directories(readerbase PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(readerbase PUBLIC READER_CONFIG_VERSION="${PROJECT_VERSION}"
  READER_CONFIG_VERSION_SHORT="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")

reader_layer(readerdevice DIRS device LINKS readerbase ${READER_THREADS})
# Profiles and simulation state files are JSON (nlohmann-json, header only).
reader_layer(readercore DIRS core reader keypad profile LINKS readerdevice ${READER_JSON})
reader_layer(readersim DIRS sim LINKS readerdevice ${READER_JSON})
reader_layer(readertoolkit DIRS toolkit toolkit/headless LINKS readerbase)
reader_layer(readerdialog DIRS app app/device app/reader app/keypad app/profile
  LINKS readercore readertoolkit)
reader_layer(readercli DIRS cli LINKS readercore readersim)
