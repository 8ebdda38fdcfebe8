# Installation of the suite (cmake --install, the Debian package): the
# shared libraries with version and SONAME, their public headers, CMake
# package files (find_package(ZnCore), find_package(ZnWidgets)) and
# pkg-config files, and the two programs with their private libraries.
# The documentation folder is named after the program, as its package is.
set(CMAKE_INSTALL_DOCDIR "share/doc/ombral" CACHE PATH "Documentation folder")
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Where the programs' own libraries (the scan run, the dialog program's
# windows) go: beside the public ones, in a folder of the program's.
set(ZN_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/ombral)

# A public library of the suite: versioned, found by its siblings at run
# time wherever the prefix is ($ORIGIN), exported into the package `export`.
function(zn_install_library target export)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT ${export}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endfunction()

# Installs the headers of `folder` (its include/ tree) except test support.
function(zn_install_headers folder)
  install(DIRECTORY ${folder}/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    FILES_MATCHING PATTERN "*.h"
    PATTERN "testing" EXCLUDE)
endfunction()

# A library only the programs use: versioned, in the private folder.
function(zn_install_private_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN:$ORIGIN/..")
  install(TARGETS ${target} LIBRARY DESTINATION ${ZN_PRIVATE_LIBDIR} NAMELINK_SKIP)
endfunction()

# A program: found in bin, finding its libraries relative to itself.
function(zn_install_program target)
  file(RELATIVE_PATH to_lib /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${target} PROPERTIES
    INSTALL_RPATH "$ORIGIN/${to_lib}/ombral:$ORIGIN/${to_lib}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
