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

# Panel resources, converted from the Designer files at build time.
# "FVLicEnr.uir" travels inside the executables that list ${VLIC_FVLICENR_RC}
# among their sources, as the resource "FVLICENR.UIR" of type "UIRFILETYPE";
# "FenGen.uir" lies beside them.
enable_language(RC)
include(tools/ui2uir/ui2uir.cmake)
add_custom_target(vlic_runtime_files)
file(GLOB fvlicenr_panels CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/panels/*.ui)
file(GLOB fvlicenr_images CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/panels/images/*.png)
set(fvlicenr_uir ${CMAKE_BINARY_DIR}/uir/FVLicEnr.uir)
vlic_convert_panels(OUTPUT ${fvlicenr_uir} PANELS ${fvlicenr_panels} DEPENDS ${fvlicenr_images})
set(VLIC_FVLICENR_RC ${CMAKE_BINARY_DIR}/uir/FVLicEnr.rc)
file(WRITE ${VLIC_FVLICENR_RC} "FVLICENR.UIR UIRFILETYPE \"${fvlicenr_uir}\"\n")
set_source_files_properties(${VLIC_FVLICENR_RC} PROPERTIES OBJECT_DEPENDS ${fvlicenr_uir})
add_dependencies(vlic_runtime_files vlic_uir_FVLicEnr)

file(GLOB fengen_panels CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/genutil/panels/*.ui)
file(GLOB fengen_images CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/genutil/panels/images/*.png)
vlic_convert_panels(OUTPUT ${VLIC_BIN_DIR}/FenGen.uir PANELS ${fengen_panels} DEPENDS ${fengen_images})
add_dependencies(vlic_runtime_files vlic_uir_FenGen)

if(VLIC_BUILD_TESTS)
  enable_testing()
  # GoogleTest, built for the target from Debian's sources.
  set(VLIC_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VLIC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/win32)
endif()
