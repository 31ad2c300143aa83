# The Windows build (cross-built with mingw-w64, tests run under Wine).
#
# The application, the downloads panel, the general library and the toolbox
# are the same sources as on Linux; the run-time layer is its shared part
# (ui/core) and the Win32 backend (ui/win32). All of it is the one static
# library `vlic` that the program and every test link. (The folders'
# CMakeLists add Qt resources, so the Windows build lists their sources.)

file(GLOB vlic_app_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/downloads/*.cpp
  ${CMAKE_SOURCE_DIR}/genutil/*.cpp ${CMAKE_SOURCE_DIR}/toolbox/*.cpp)
list(REMOVE_ITEM vlic_app_sources ${CMAKE_SOURCE_DIR}/app/main.cpp)
add_library(vlic STATIC ${vlic_app_sources})
include(ui/core/CMakeLists.txt)
include(ui/null/CMakeLists.txt)
include(ui/win32/CMakeLists.txt)
target_include_directories(vlic PUBLIC ${CMAKE_SOURCE_DIR})
# The version "VLicEnr --version" prints: the file VERSION's (app/CMakeLists.txt).
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/VLicListe.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS "VLIC_VERSION_TEXTE=\"${PROJECT_VERSION}\"")
# Unicode Windows API: the W functions under the plain names.
target_compile_definitions(vlic PUBLIC UNICODE _UNICODE)

# Panel resources, converted from the Designer files at build time.
# "FVLicEnr.uir" travels inside the executables that list ${VLIC_FVLICENR_RC}
# among their sources, as the resource "FVLICENR.UIR" of type "UIRFILETYPE";
# "FenGen.uir" lies beside them.
enable_language(RC)
include(tools/ui2uir/ui2uir.cmake)
add_custom_target(vlic_runtime_files)
include(cmake/VlicVersions.cmake)
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

# The bundled catalogue, made by the cross-built mkcatalogue run under Wine.
add_executable(mkcatalogue tools/mkcatalogue.cpp)
target_link_libraries(mkcatalogue PRIVATE vlic)
set_target_properties(mkcatalogue PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(
  OUTPUT ${VLIC_BIN_DIR}/Veltrane.vlicprod
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh $<TARGET_FILE:mkcatalogue> ${VLIC_BIN_DIR}/Veltrane.vlicprod
  DEPENDS mkcatalogue
  COMMENT "Making the catalogue Veltrane.vlicprod"
  VERBATIM)
add_custom_target(vlic_catalogue DEPENDS ${VLIC_BIN_DIR}/Veltrane.vlicprod)
add_dependencies(vlic_runtime_files vlic_catalogue)

# The program: a windowed executable carrying FVLicEnr.uir, its icon, its
# version and its manifest (app/win/VLicEnr.rc).
add_executable(VLicEnr WIN32 app/main.cpp ${VLIC_FVLICENR_RC} app/win/VLicEnr.rc)
target_link_libraries(VLicEnr PRIVATE vlic)
add_dependencies(VLicEnr vlic_runtime_files)
set_source_files_properties(app/win/VLicEnr.rc PROPERTIES
  COMPILE_DEFINITIONS "VLIC_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};VLIC_VERSION_MINOR=${PROJECT_VERSION_MINOR};VLIC_VERSION_PATCH=${PROJECT_VERSION_PATCH}"
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/app/win/VLicEnr.ico;${CMAKE_SOURCE_DIR}/app/win/manifest.rc;${CMAKE_SOURCE_DIR}/app/win/VLicEnr.exe.manifest")

# VLicEnr.com, the console launcher beside it (app/win/VLicEnrCom.cpp): cmd
# finds it before VLicEnr.exe for "VLicEnr --produits" and waits for it, as
# it never does for a windowed program. A console program on Windows' own
# DLLs alone, linked statically as the program is, carrying the program's
# icon, version and manifest (its own file name aside).
add_executable(VLicEnrCom app/win/VLicEnrCom.cpp app/win/VLicEnr.rc)
set_target_properties(VLicEnrCom PROPERTIES OUTPUT_NAME VLicEnr SUFFIX .com)
target_compile_definitions(VLicEnrCom PRIVATE UNICODE _UNICODE VLIC_CONSOLE_LAUNCHER)
target_include_directories(VLicEnrCom PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(VLicEnrCom PRIVATE -municode)
add_dependencies(VLicEnr VLicEnrCom)

# GenDemo, the general library's demonstration, with its panel carried
# inside as "GENDEMO.UIR". Built beside the program, never packaged.
file(GLOB gendemo_images CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/GenDemo/images/*.png)
vlic_convert_panels(OUTPUT ${CMAKE_BINARY_DIR}/uir/GenDemo.uir
  PANELS ${CMAKE_SOURCE_DIR}/examples/GenDemo/1.ui DEPENDS ${gendemo_images})
set(gendemo_rc ${CMAKE_BINARY_DIR}/uir/GenDemo.rc)
file(WRITE ${gendemo_rc} "GENDEMO.UIR UIRFILETYPE \"${CMAKE_BINARY_DIR}/uir/GenDemo.uir\"\n")
set_source_files_properties(${gendemo_rc} PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/uir/GenDemo.uir)
add_executable(GenDemo WIN32 examples/GenDemo/GenDemo.cpp ${gendemo_rc})
target_link_libraries(GenDemo PRIVATE vlic)
add_dependencies(GenDemo vlic_runtime_files vlic_uir_GenDemo)

if(VLIC_BUILD_TESTS)
  enable_testing()
  # GoogleTest, built for the target from Debian's sources.
  set(VLIC_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VLIC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_subdirectory(tests/win32)
  # The program under Wine as a user drives it: every tests/e2e/wine/*.sh
  # but its helpers is one test on a private Xvfb, with real X input.
  file(GLOB wine_e2e_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/wine/*.sh)
  list(FILTER wine_e2e_files EXCLUDE REGEX "/winelib\\.sh$")
  foreach(f ${wine_e2e_files})
    get_filename_component(base ${f} NAME_WE)
    add_test(NAME wine_e2e_${base} COMMAND bash ${f} ${VLIC_BIN_DIR} ${CMAKE_SOURCE_DIR})
    set_tests_properties(wine_e2e_${base} PROPERTIES LABELS e2e TIMEOUT 600)
  endforeach()
endif()
