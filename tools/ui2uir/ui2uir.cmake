# vlic_convert_panels(OUTPUT <file.uir> PANELS <id.ui...> [DEPENDS <files...>])
# Makes a resource file of the Win32 backend's form from Designer panel
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
