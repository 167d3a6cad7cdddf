# The web page, built with Emscripten (scripts/build-web.sh): the same layers
# compiled to WebAssembly, the DOM toolkit (toolkit/web), the WebHID port
# (device/webhid) and the page's entry point (web/). Qt, hidapi and libudev
# are not used here; the synchronous waits of the dialog run over the
# browser's promises through Asyncify.

# Exceptions are caught as on the other platforms (a profile that does not
# parse is a message, not an abort): Emscripten leaves them out by default.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# nlohmann-json is header-only: its headers alone, not the host's /usr/include.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/nlohmann-include)
file(CREATE_LINK /usr/include/nlohmann ${CMAKE_BINARY_DIR}/nlohmann-include/nlohmann SYMBOLIC)
add_library(readerjson INTERFACE)
target_include_directories(readerjson SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/nlohmann-include)
set(READER_JSON readerjson)
set(BASE_PLATFORM_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/base/FilePath.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/base/FileWrite.cpp ${CMAKE_CURRENT_SOURCE_DIR}/base/FileLock.cpp)
include(cmake/Layers.cmake)

# The DOM toolkit and the WebHID port, one target each like the other
# platforms' adapters; their page sides are scripts bundled with the module.
# Object libraries: the exports the page's scripts call are referenced by no
# C++, and an archive would leave them out.
add_library(readerwebtoolkit OBJECT toolkit/web/WebSurface.cpp toolkit/web/WebEvents.cpp
  toolkit/web/WebKeys.cpp toolkit/web/WebDialogUnits.cpp)
target_link_libraries(readerwebtoolkit PUBLIC readertoolkit readerjson)
add_library(readerwebhid OBJECT device/webhid/WebHidPort.cpp)
target_link_libraries(readerwebhid PUBLIC readerdevice readerjson)

# The page's program: page.html loads reader-config.js, which loads the wasm.
set(READER_WEB_SCRIPTS ${PROJECT_SOURCE_DIR}/toolkit/web/dom_toolkit.js
  ${PROJECT_SOURCE_DIR}/device/webhid/webhid_port.js ${PROJECT_SOURCE_DIR}/web/fake_hid.js
  ${PROJECT_SOURCE_DIR}/web/page.js)
add_executable(reader-config web/WebMain.cpp web/SimulatedHid.cpp)
target_link_libraries(reader-config PRIVATE readerdialog readersim readerwebtoolkit readerwebhid)
set(link_flags -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH
  -sENVIRONMENT=web -sFORCE_FILESYSTEM -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=callMain,allocateUTF8,UTF8ToString,FS)
foreach(script ${READER_WEB_SCRIPTS})
  list(APPEND link_flags "SHELL:--pre-js ${script}")
endforeach()
target_link_options(reader-config PRIVATE ${link_flags})
set_property(TARGET reader-config APPEND PROPERTY LINK_DEPENDS ${READER_WEB_SCRIPTS})
