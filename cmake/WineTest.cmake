# Test registration for the Windows build: every test program runs under Wine in the
# build tree's own prefix (tools/wine-exec sets it up); a hang fails through TIMEOUT.
#
# tolvex_add_test(NAME <name> SOURCES <files...> LIBS <libs...> [LOCK] [TIMEOUT s] [ENV k=v...]
#                 [ARGS <arguments of the test run...>])
#   LOCK: the test touches prefix-wide state (clipboard, hotkeys, mutex, tray, focus,
#   registry of the product) and runs alone among such tests.
function(tolvex_add_test)
    cmake_parse_arguments(T "LOCK" "NAME;TIMEOUT" "SOURCES;LIBS;ENV;DEPENDS;ARGS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    tolvex_target(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    if(T_DEPENDS)
        add_dependencies(${T_NAME} ${T_DEPENDS})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "TOLVEX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOLVEX_DIST_DIR=${TOLVEX_DIST_DIR};TOLVEX_HELPERS_DIR=${CMAKE_BINARY_DIR}/helpers;${T_ENV}")
    if(T_LOCK)
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wineprefix)
    endif()
endfunction()
