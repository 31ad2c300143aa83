# The versions of the products' software: downloads/Veltrane.vlicvers is
# their one source. tools/mkversions.py makes the program's built-in table
# from it (the fallback compiled into `vlic`), and the file itself is copied
# into the program's folder, where the program reads it at start and from
# where it ships. Included by the top CMakeLists and cmake/VlicWindows.cmake,
# after `vlic` and `vlic_runtime_files` exist.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(vlic_versions_source ${CMAKE_SOURCE_DIR}/downloads/Veltrane.vlicvers)
set(vlic_versions_table ${CMAKE_BINARY_DIR}/generated/VLicVersionsTable.cpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
add_custom_command(
  OUTPUT ${vlic_versions_table}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/mkversions.py ${vlic_versions_source} ${vlic_versions_table}
  DEPENDS ${vlic_versions_source} ${CMAKE_SOURCE_DIR}/tools/mkversions.py
  COMMENT "Making the built-in version table from Veltrane.vlicvers"
  VERBATIM)
target_sources(vlic PRIVATE ${vlic_versions_table})

add_custom_command(
  OUTPUT ${VLIC_BIN_DIR}/Veltrane.vlicvers
  COMMAND ${CMAKE_COMMAND} -E copy ${vlic_versions_source} ${VLIC_BIN_DIR}/Veltrane.vlicvers
  DEPENDS ${vlic_versions_source}
  VERBATIM)
add_custom_target(vlic_versions_file DEPENDS ${VLIC_BIN_DIR}/Veltrane.vlicvers)
add_dependencies(vlic_runtime_files vlic_versions_file)
