# Removes what `cmake --install` wrote, as its install_manifest.txt lists it:
#   cmake -DMANIFEST=build/install_manifest.txt -P cmake/Uninstall.cmake
# (the `uninstall` target runs this; DESTDIR as for the install). Folders are
# left: others may share them.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "${MANIFEST} not found: nothing was installed from this build tree")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(listed IN LISTS installed)
  # A staged install (DESTDIR) is taken back from the same stage.
  set(path "$ENV{DESTDIR}${listed}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  else()
    message(STATUS "Already gone: ${path}")
  endif()
endforeach()
