# The tests of the checking build (BROVATO5_SANITIZZA). The checks of every
# test program and of every program a test starts (the Access reader,
# brovato5, brovato5-qt, brovinvio) write their reports into a folder of the
# build instead of the standard error, which the tests read and the programs
# they start often send to /dev/null. A test run before all the others
# empties the folder; one run after them all prints every report found there
# and fails on any, whatever the test that met the fault made of the failure.
set(RAPPORTI_SANITIZER ${CMAKE_BINARY_DIR}/rapporti-sanitizer)
# The leaks of the libraries under Qt (fonts, the window system) are theirs:
# the file says which are let go, our own stay errors.
set(SOPPRESSIONI_PERDITE ${CMAKE_CURRENT_SOURCE_DIR}/sanitizer/perdite.supp)

add_test(NAME RapportiSanitizer.Svuota
         COMMAND ${CMAKE_COMMAND} -D AZIONE=svuota -D CARTELLA=${RAPPORTI_SANITIZER}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/sanitizer/Rapporti.cmake)
add_test(NAME RapportiSanitizer.Nessuno
         COMMAND ${CMAKE_COMMAND} -D AZIONE=controlla -D CARTELLA=${RAPPORTI_SANITIZER}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/sanitizer/Rapporti.cmake)
set_tests_properties(RapportiSanitizer.Svuota PROPERTIES FIXTURES_SETUP RapportiSanitizer)
set_tests_properties(RapportiSanitizer.Nessuno PROPERTIES FIXTURES_CLEANUP RapportiSanitizer)

# The discovered tests are known only when CTest runs: a script it reads after
# the lists of them sets their environment. Both checkers are told where
# reports go, the leak checker (part of the address checker) only what to let go.
set(DOVE_RAPPORTI log_path=${RAPPORTI_SANITIZER}/rapporto:log_exe_name=1)
set(AMBIENTE_SANITIZER
    "ASAN_OPTIONS=set:${DOVE_RAPPORTI}:detect_leaks=1:check_initialization_order=1"
    "LSAN_OPTIONS=set:suppressions=${SOPPRESSIONI_PERDITE}:print_suppressions=0"
    "UBSAN_OPTIONS=set:${DOVE_RAPPORTI}:print_stacktrace=1")
configure_file(sanitizer/ProprietaSanitizer.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/ProprietaSanitizer.cmake @ONLY)
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/ProprietaSanitizer.cmake)
