# GoogleTest: the distribution's i386 package on Linux; on Windows built from the sources
# that Debian's googletest package installs.
if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # The googletest sources define the GTest:: aliases themselves.
else()
  find_package(GTest REQUIRED)
endif()
