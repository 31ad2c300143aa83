# In a sanitizer build (VLIC_SANITIZE) every test runs with LeakSanitizer's
# suppressions of third-party libraries (tests/lsan.supp); our own code is
# never suppressed.
if(VLIC_SANITIZE)
  set(VLIC_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
else()
  set(VLIC_SANITIZER_ENV "")
endif()

# vlic_add_test(NAME <name> SOURCES <files...> [ENV <VAR=value>...] [LABELS <l>...])
# One GoogleTest executable linked with the library and the shared test main
# (tests/support/main.cpp starts the run-time on Qt's offscreen
# platform), registered with ctest from the program's folder.
function(vlic_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;ENV;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE vlic_testsupport vlic GTest::gtest)
  add_dependencies(${T_NAME} vlic_runtime_files)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${VLIC_BIN_DIR})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV};${VLIC_SANITIZER_ENV}"
    LABELS "${T_LABELS}" TIMEOUT 300)
endfunction()

# vlic_add_script_test(NAME <name> SCRIPT <file> [LABELS <l>...])
# A shell test (end to end under Xvfb): run with bash, given the program's
# folder and the source folder as arguments.
function(vlic_add_script_test)
  cmake_parse_arguments(T "" "NAME;SCRIPT" "LABELS" ${ARGN})
  add_test(NAME ${T_NAME} COMMAND bash ${T_SCRIPT} ${VLIC_BIN_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 600 RUN_SERIAL TRUE)
endfunction()
