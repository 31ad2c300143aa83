# Test panels of the run-time layer's tests (tests/ui/panels/<id>.ui), in
# the two forms a resource bundle takes: compiled into every ui_ test as
# "UiTest.uir", and as the binary rcc file "UiTestBin.uir" in the program's
# folder (the way FenGen.uir travels).
file(GLOB VLIC_UI_TEST_PANELS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/panels/*.ui)

set(ui_test_qrc ${CMAKE_CURRENT_BINARY_DIR}/UiTestBin.qrc)
set(ui_test_qrc_text "<RCC><qresource prefix=\"/\">\n")
foreach(f ${VLIC_UI_TEST_PANELS})
  get_filename_component(n ${f} NAME)
  string(APPEND ui_test_qrc_text "<file alias=\"${n}\">${f}</file>\n")
endforeach()
string(APPEND ui_test_qrc_text "</qresource></RCC>\n")
file(GENERATE OUTPUT ${ui_test_qrc} CONTENT "${ui_test_qrc_text}")
add_custom_command(OUTPUT ${VLIC_BIN_DIR}/UiTestBin.uir
  COMMAND Qt6::rcc --binary -o ${VLIC_BIN_DIR}/UiTestBin.uir ${ui_test_qrc}
  DEPENDS ${VLIC_UI_TEST_PANELS} ${ui_test_qrc}
  COMMENT "Binary test bundle UiTestBin.uir")
add_custom_target(ui_test_bundle DEPENDS ${VLIC_BIN_DIR}/UiTestBin.uir)

file(GLOB ui_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/test_*.cpp)
foreach(f ${ui_tests})
  get_filename_component(base ${f} NAME_WE)
  string(REGEX REPLACE "^test_" "" base ${base})
  set(t ui_${base})
  if(TARGET ${t})
    qt_add_resources(${t} "ui_test_panels_${base}" PREFIX "/UiTest.uir"
      BASE ${CMAKE_CURRENT_LIST_DIR}/panels FILES ${VLIC_UI_TEST_PANELS})
    add_dependencies(${t} ui_test_bundle)
  endif()
endforeach()

# ui_probe: the layer alone on a real display, for tests/e2e/ui_x11.sh and
# scripts/measure_idle_cpu.sh.
add_executable(ui_probe ${CMAKE_CURRENT_LIST_DIR}/ui_probe.cpp)
target_link_libraries(ui_probe PRIVATE vlic)
qt_add_resources(ui_probe "ui_probe_panels" PREFIX "/UiTest.uir"
  BASE ${CMAKE_CURRENT_LIST_DIR}/panels FILES ${VLIC_UI_TEST_PANELS})
