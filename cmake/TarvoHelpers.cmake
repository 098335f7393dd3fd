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
    # Qt's own settings (the file dialog's history) and anything else a test
    # would put into the user's folders stay inside the build tree.
    set(xdg ${CMAKE_BINARY_DIR}/tests/home)
    set(env "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC"
        "XDG_CONFIG_HOME=${xdg}/config;XDG_DATA_HOME=${xdg}/data;XDG_CACHE_HOME=${xdg}/cache")
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# tarvo_folder(<folder> [LOGIC_DEPS <targets...>] [UI_DEPS <targets...>])
# Builds the folder's sources into two static libraries: tarvo_<folder> (the
# logic, never Qt Widgets) from every .cpp whose name does not end in _dlg,
# _ui or _widget, and tarvo_<folder>_ui (windows and dialogs) from the others.
# A library is only made when it has sources; EXCLUDE names file stems to leave out.
function(tarvo_folder folder)
    cmake_parse_arguments(F "" "" "LOGIC_DEPS;UI_DEPS;EXCLUDE" ${ARGN})
    # Folders are added in a fixed order, so a Tarvo library named here may
    # not exist yet (or not at all while its folder is empty).
    foreach(list_name F_LOGIC_DEPS F_UI_DEPS)
        set(resolved)
        foreach(dep IN LISTS ${list_name})
            if(dep MATCHES "^tarvo_")
                list(APPEND resolved "$<TARGET_NAME_IF_EXISTS:${dep}>")
            else()
                list(APPEND resolved ${dep})
            endif()
        endforeach()
        set(${list_name} ${resolved})
    endforeach()
    file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(logic_sources)
    set(ui_sources)
    foreach(source IN LISTS all_sources)
        get_filename_component(stem ${source} NAME_WE)
        if(stem IN_LIST F_EXCLUDE)
            continue()
        endif()
        # The header goes along, so that automoc always sees its Q_OBJECT.
        set(files ${source})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${stem}.h)
            list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${stem}.h)
        endif()
        if(stem MATCHES "(_dlg|_ui|_widget)$")
            list(APPEND ui_sources ${files})
        else()
            list(APPEND logic_sources ${files})
        endif()
    endforeach()
    if(logic_sources)
        add_library(tarvo_${folder} STATIC ${logic_sources})
        target_include_directories(tarvo_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(tarvo_${folder} PUBLIC Qt6::Core ${F_LOGIC_DEPS})
    endif()
    if(ui_sources)
        add_library(tarvo_${folder}_ui STATIC ${ui_sources})
        target_include_directories(tarvo_${folder}_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(tarvo_${folder}_ui PUBLIC Qt6::Widgets ${F_UI_DEPS})
        if(TARGET tarvo_${folder})
            target_link_libraries(tarvo_${folder}_ui PUBLIC tarvo_${folder})
        endif()
    endif()
endfunction()

# tarvo_folder_tests(<folder>)
# Every test_<name>.cpp of the calling folder becomes one test executable,
# linked with every Tarvo library that exists (static libraries only pull in
# what a test uses).
function(tarvo_folder_tests folder)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
    set(libs)
    foreach(f IN LISTS TARVO_FOLDERS)
        foreach(t tarvo_${f} tarvo_${f}_ui)
            if(TARGET ${t})
                list(APPEND libs ${t})
            endif()
        endforeach()
    endforeach()
    foreach(source IN LISTS tests)
        get_filename_component(name ${source} NAME_WE)
        tarvo_add_test(NAME ${folder}_${name} SOURCES ${source} LIBS ${libs})
    endforeach()
endfunction()
