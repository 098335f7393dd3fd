include(${CMAKE_CURRENT_LIST_DIR}/TarvoGraph.cmake)

# tarvo_add_library(<graph name> SOURCES <files...> LINKS <targets...>)
# A static library tarvo_<graph name>. LINKS are plain target names: a Tarvo
# library the graph (cmake/TarvoGraph.cmake) does not allow is a configure
# error, and so is one that does not exist (tarvo_check_graph). The library
# and its dependencies are recorded for the include-graph check.
function(tarvo_add_library name)
    cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
    add_library(tarvo_${name} STATIC ${L_SOURCES})
    target_include_directories(tarvo_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tarvo_${name} PUBLIC ${L_LINKS})
    set(own_logic "") # a window library may always use its own folder's logic
    if(name MATCHES "^(.+)_ui$")
        set(own_logic ${CMAKE_MATCH_1})
    endif()
    set(deps)
    foreach(link IN LISTS L_LINKS)
        if(link MATCHES "^tarvo_(.+)$")
            set(dep ${CMAKE_MATCH_1})
            if(NOT dep STREQUAL own_logic)
                tarvo_dependency_allowed(${name} ${dep} allowed)
                if(NOT allowed)
                    message(FATAL_ERROR "tarvo_${name} may not use tarvo_${dep} (see cmake/TarvoGraph.cmake)")
                endif()
            endif()
            list(APPEND deps ${dep})
        endif()
    endforeach()
    tarvo_graph_record(${name} FILES ${L_SOURCES} DEPS ${deps})
endfunction()

# tarvo_graph_record(<graph name> FILES <files...> DEPS <graph names...>)
# Records what a library (or tarvo-cli) is made of and uses, for the checks.
function(tarvo_graph_record name)
    cmake_parse_arguments(R "" "" "FILES;DEPS" ${ARGN})
    set_property(GLOBAL APPEND PROPERTY TARVO_GRAPH_LIBRARIES ${name})
    set_property(GLOBAL PROPERTY TARVO_GRAPH_FILES_${name} ${R_FILES})
    set_property(GLOBAL PROPERTY TARVO_GRAPH_DEPS_${name} ${R_DEPS})
endfunction()

# tarvo_folder(<folder> [LOGIC_DEPS <targets...>] [UI_DEPS <targets...>] [EXCLUDE <stems...>])
# Builds the folder's sources into two static libraries: tarvo_<folder> (the
# logic, never Qt Widgets) from every .cpp whose name does not end in _dlg,
# _ui or _widget, and tarvo_<folder>_ui (windows and dialogs) from the others;
# the window library links the folder's logic. A library is only made when it
# has sources. LOGIC_DEPS and UI_DEPS are exactly the libraries the files
# include (the include-graph check holds them to that).
function(tarvo_folder folder)
    cmake_parse_arguments(F "" "" "LOGIC_DEPS;UI_DEPS;EXCLUDE" ${ARGN})
    file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    set(logic_sources)
    set(ui_sources)
    foreach(source IN LISTS all_sources)
        get_filename_component(stem ${source} NAME_WE)
        if(stem IN_LIST F_EXCLUDE)
            continue()
        endif()
        tarvo_library_of_file(${folder} ${stem} library)
        if(library STREQUAL folder)
            list(APPEND logic_sources ${source})
        else()
            list(APPEND ui_sources ${source})
        endif()
    endforeach()
    set(has_logic FALSE)
    foreach(source IN LISTS logic_sources)
        if(source MATCHES "\\.cpp$")
            set(has_logic TRUE)
        endif()
    endforeach()
    if(has_logic)
        tarvo_add_library(${folder} SOURCES ${logic_sources} LINKS Qt6::Core ${F_LOGIC_DEPS})
    endif()
    if(ui_sources)
        set(own)
        if(has_logic)
            set(own tarvo_${folder})
        endif()
        tarvo_add_library(${folder}_ui SOURCES ${ui_sources} LINKS Qt6::Widgets ${own} ${F_UI_DEPS})
    endif()
endfunction()

# tarvo_included_libraries(<out-var> <files...>)
# The Tarvo libraries (target names) that the files include, following the
# quoted includes of files beside them (the helpers in tests/common, the
# fixtures of a test folder), and Qt6::Widgets when they use a widget. Tests,
# benchmarks and fuzz targets link exactly these.
function(tarvo_included_libraries out_var)
    set(queue ${ARGN})
    set(seen)
    set(libraries)
    while(queue)
        list(POP_FRONT queue file)
        if(file IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${file})
        file(STRINGS ${file} includes REGEX "^#include [\"<]")
        get_filename_component(dir ${file} DIRECTORY)
        foreach(line IN LISTS includes)
            # ${CMAKE_MATCH_n} is expanded before if() runs: match first, then test.
            set(header "")
            set(local "")
            if(line MATCHES "^#include \"([a-z]+)/([a-z0-9_]+)\\.h\"")
                set(header_folder ${CMAKE_MATCH_1})
                set(header_stem ${CMAKE_MATCH_2})
                if(EXISTS ${PROJECT_SOURCE_DIR}/src/${header_folder}/${header_stem}.h)
                    set(header TRUE)
                endif()
            endif()
            if(line MATCHES "^#include \"([^\"]+)\"")
                set(local ${dir}/${CMAKE_MATCH_1})
            endif()
            if(header)
                tarvo_library_of_file(${header_folder} ${header_stem} library)
                list(APPEND libraries tarvo_${library})
            elseif(local AND EXISTS ${local})
                get_filename_component(local ${local} ABSOLUTE)
                list(APPEND queue ${local})
            elseif(line MATCHES "^#include <(QApplication|QWidget|QDialog|QMainWindow|QMessageBox|QtWidgets)>")
                list(APPEND libraries Qt6::Widgets)
            endif()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES libraries)
    set(${out_var} ${libraries} PARENT_SCOPE)
endfunction()

# tarvo_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# Builds one Qt Test executable and registers it with CTest. Tests run on the
# offscreen platform so that they need no display.
function(tarvo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test Qt6::Gui ${T_LIBS})
    target_compile_definitions(${T_NAME} PRIVATE
        TARVO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    # Qt's own settings (the file dialog's history) and anything else a test
    # would put into the user's folders stay inside the build tree.
    set(xdg ${CMAKE_BINARY_DIR}/tests/home)
    set(env "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC"
        "XDG_CONFIG_HOME=${xdg}/config;XDG_DATA_HOME=${xdg}/data;XDG_CACHE_HOME=${xdg}/cache")
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# tarvo_folder_tests(<folder>)
# Every test_<name>.cpp of the calling folder becomes one test executable,
# linked with the Tarvo libraries it includes.
function(tarvo_folder_tests folder)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
    foreach(source IN LISTS tests)
        get_filename_component(name ${source} NAME_WE)
        tarvo_included_libraries(libs ${source})
        tarvo_add_test(NAME ${folder}_${name} SOURCES ${source} LIBS ${libs})
    endforeach()
endfunction()

# tarvo_check_graph()
# After all folders are added: every Tarvo library named as a dependency
# exists (a missing one is a configure error, never a dropped dependency),
# and the CTest checks of the graph are registered.
function(tarvo_check_graph)
    get_property(libraries GLOBAL PROPERTY TARVO_GRAPH_LIBRARIES)
    set(manifest "# Generated by tarvo_check_graph(): the Tarvo libraries, their files and dependencies.\n")
    set(logic_files)
    foreach(name IN LISTS libraries)
        get_property(files GLOBAL PROPERTY TARVO_GRAPH_FILES_${name})
        get_property(deps GLOBAL PROPERTY TARVO_GRAPH_DEPS_${name})
        foreach(dep IN LISTS deps)
            if(NOT TARGET tarvo_${dep})
                message(FATAL_ERROR "tarvo_${name} links tarvo_${dep}, which does not exist")
            endif()
        endforeach()
        string(APPEND manifest "set(TARVO_FILES_${name} \"${files}\")\nset(TARVO_DEPS_${name} \"${deps}\")\n")
        if(NOT name MATCHES "_ui$" AND NOT name STREQUAL "uikit" AND TARGET tarvo_${name})
            get_target_property(type tarvo_${name} TYPE)
            if(type STREQUAL "STATIC_LIBRARY")
                list(APPEND logic_files $<TARGET_FILE:tarvo_${name}>)
            endif()
        endif()
    endforeach()
    string(APPEND manifest "set(TARVO_LIBRARIES \"${libraries}\")\n")
    file(WRITE ${CMAKE_BINARY_DIR}/tarvo_graph.cmake "${manifest}")
    if(TARVO_BUILD_TESTS)
        add_test(NAME tarvo_include_graph
                 COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/tarvo_graph.cmake
                         -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludeGraph.cmake)
        # The checks can fail: on a graph that breaks every rule, and on the
        # shared dialog library, which uses Qt Widgets by design.
        add_test(NAME tarvo_include_graph_refuses
                 COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_SOURCE_DIR}/tests/data/graph/manifest.cmake
                         -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/tests/data/graph
                         -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludeGraph.cmake)
        set_tests_properties(tarvo_include_graph_refuses PROPERTIES PASS_REGULAR_EXPRESSION
            "year_store.cpp includes month/month_view.h, but tarvo_storage does not link tarvo_month.*tarvo_month links tarvo_storage, but none of its files includes it.*tarvo_calendar may not use tarvo_month")
        file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/tarvo_widget_library.txt CONTENT "$<TARGET_FILE:tarvo_uikit>\n")
        add_test(NAME tarvo_no_widgets_refuses
                 COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/check_no_widgets.sh ${CMAKE_NM}
                         $<TARGET_FILE:Qt6::Widgets> ${CMAKE_BINARY_DIR}/tarvo_widget_library.txt)
        set_tests_properties(tarvo_no_widgets_refuses PROPERTIES PASS_REGULAR_EXPRESSION
                             "libtarvo_uikit.a uses Qt Widgets:\n    Q")
        list(JOIN logic_files "\n" logic_lines)
        file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/tarvo_logic_libraries.txt CONTENT "${logic_lines}\n")
        add_test(NAME tarvo_no_widgets_in_logic
                 COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/check_no_widgets.sh ${CMAKE_NM}
                         $<TARGET_FILE:Qt6::Widgets> ${CMAKE_BINARY_DIR}/tarvo_logic_libraries.txt)
    endif()
endfunction()
