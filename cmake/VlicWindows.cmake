# The Windows build (cross-built with mingw-w64, tests run under Wine).
#
# So far it holds the pieces that need no user-interface toolkit: the general
# library's computations, document opening through the Windows shell, the
# part of the run-time layer that its backends share (ui/common) and the
# first pieces of the Win32 backend (ui/win32).
# The library is still the one static library `vlic` that every test links.

add_library(vlic STATIC
  genutil/GenCalcul.cpp
  toolbox/toolboxDoc.cpp
)
include(ui/common/CMakeLists.txt)
include(ui/win32/CMakeLists.txt)
target_include_directories(vlic PUBLIC ${CMAKE_SOURCE_DIR})
# Unicode Windows API: the W functions under the plain names.
target_compile_definitions(vlic PUBLIC UNICODE _UNICODE)

if(VLIC_BUILD_TESTS)
  enable_testing()
  # GoogleTest, built for the target from Debian's sources.
  set(VLIC_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VLIC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(cmake/VlicTest.cmake)
  add_subdirectory(tests/win32)
endif()
