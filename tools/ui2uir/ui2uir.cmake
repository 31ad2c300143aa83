# vlic_convert_panels(OUTPUT <file.uir> PANELS <id.ui...> [DEPENDS <files...>])
# Makes a resource file of the Win32 driver's form from Designer panel
# files at build time (tools/ui2uir/ui2uir.py, run by the host's python3).
# DEPENDS names the pictures the panels show, so that a changed picture
# remakes the file. Adds a target vlic_uir_<name of the file> that makes it.
find_program(VLIC_PYTHON3 python3 REQUIRED)
function(vlic_convert_panels)
  cmake_parse_arguments(C "" "OUTPUT" "PANELS;DEPENDS" ${ARGN})
  get_filename_component(name ${C_OUTPUT} NAME_WE)
  add_custom_command(OUTPUT ${C_OUTPUT}
    COMMAND ${VLIC_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/ui2uir/ui2uir.py ${C_OUTPUT} ${C_PANELS}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/ui2uir/ui2uir.py ${C_PANELS} ${C_DEPENDS}
    COMMENT "Converting panels into ${name}.uir"
    VERBATIM)
  add_custom_target(vlic_uir_${name} DEPENDS ${C_OUTPUT})
endfunction()

# vlic_carry_file(TARGET <target> FILE <file.uir> FROM <target that makes it>)
# Compiles a converted resource file into the target (Qt's resource system,
# uncompressed) as ":/<its name>", where the Qt driver finds the resource
# files the program carries (the Windows build carries them as Win32
# resources instead, cmake/VlicWindows.cmake).
function(vlic_carry_file)
  cmake_parse_arguments(C "" "TARGET;FILE;FROM" "" ${ARGN})
  get_filename_component(name ${C_FILE} NAME)
  get_filename_component(stem ${C_FILE} NAME_WE)
  set_source_files_properties(${C_FILE} PROPERTIES QT_RESOURCE_ALIAS ${name} GENERATED TRUE)
  qt_add_resources(${C_TARGET} carried_${stem}_${C_TARGET} PREFIX "/" OPTIONS --no-compress FILES ${C_FILE})
  add_dependencies(${C_TARGET} ${C_FROM})
endfunction()
