# tarvo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [GUI])
# Builds one Qt Test executable and registers it with CTest. GUI tests run on
# the offscreen platform so that they need no display.
function(tarvo_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
    target_compile_definitions(${T_NAME} PRIVATE
        TARVO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(env "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC")
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
