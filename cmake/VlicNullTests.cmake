# The core's rules on the null driver of the run-time layer, without any
# display, in every build: the contract of the layer and the core's own
# rules, their panels read in the resource form of tools/ui2uir from the
# folder they run in (DIR, which holds UiTest.uir made by the target
# vlic_uir_UiTest). GTEST names the GoogleTest library to link.
# vlic_add_null_tests(DIR <folder> GTEST <target> [ENV <VAR=value>...])
function(vlic_add_null_tests)
  cmake_parse_arguments(N "" "DIR;GTEST" "ENV" ${ARGN})
  add_library(vlic_testsupport_null STATIC
    ${CMAKE_SOURCE_DIR}/tests/support/main.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/ui_events_null.cpp)
  target_compile_definitions(vlic_testsupport_null PRIVATE VLIC_TEST_NULL_DRIVER=1)
  target_link_libraries(vlic_testsupport_null PUBLIC vlic_null vlic ${N_GTEST})
  target_include_directories(vlic_testsupport_null PUBLIC ${CMAKE_SOURCE_DIR}/tests)
  foreach(t ui_contract_null:ui/test_contract.cpp ui_core:ui/core_rules.cpp)
    string(REPLACE ":" ";" t ${t})
    list(GET t 0 name)
    list(GET t 1 source)
    add_executable(${name} ${CMAKE_SOURCE_DIR}/tests/${source})
    target_link_libraries(${name} PRIVATE vlic_testsupport_null)
    add_dependencies(${name} vlic_uir_UiTest)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${N_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 ENVIRONMENT "${N_ENV}")
  endforeach()
endfunction()
