# Test panels of the run-time layer's tests (tests/ui/panels/<id>.ui),
# converted in the two ways a resource file travels: compiled into every
# ui_ test as "UiTest.uir", and as the file "UiTestBin.uir" in the
# program's folder (the way FenGen.uir travels).
file(GLOB VLIC_UI_TEST_PANELS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/panels/*.ui)
vlic_convert_panels(OUTPUT ${CMAKE_BINARY_DIR}/uir/UiTest.uir PANELS ${VLIC_UI_TEST_PANELS})
vlic_convert_panels(OUTPUT ${VLIC_BIN_DIR}/UiTestBin.uir PANELS ${VLIC_UI_TEST_PANELS})

file(GLOB ui_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/test_*.cpp)
foreach(f ${ui_tests})
  get_filename_component(base ${f} NAME_WE)
  string(REGEX REPLACE "^test_" "" base ${base})
  set(t ui_${base})
  if(TARGET ${t})
    vlic_carry_file(TARGET ${t} FILE ${CMAKE_BINARY_DIR}/uir/UiTest.uir FROM vlic_uir_UiTest)
    add_dependencies(${t} vlic_uir_UiTestBin)
  endif()
endforeach()

# ui_probe: the layer alone on a real display, for tests/e2e/ui_x11.sh and
# scripts/measure_idle_cpu.sh.
add_executable(ui_probe ${CMAKE_CURRENT_LIST_DIR}/ui_probe.cpp)
target_link_libraries(ui_probe PRIVATE vlic)
vlic_carry_file(TARGET ui_probe FILE ${CMAKE_BINARY_DIR}/uir/UiTest.uir FROM vlic_uir_UiTest)
