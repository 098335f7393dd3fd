# The allowed dependency graph of the folders, written once. Both the build
# (tarvo_folder refuses a dependency the graph does not allow) and the CTest
# check tarvo_include_graph (cmake/CheckIncludeGraph.cmake) read it;
# docs/architecture.md draws the same graph.
#
# Logic layers, bottom up. A logic library may use the logic libraries of the
# layers below its own, never one of its own layer or above, and never a
# window library (_ui).
set(TARVO_LOGIC_LAYERS
    "calendar"
    "storage"
    "solar;entry;mail;grid;reportengine;plot;backup"
    "month"
    "network;reports;reference"
    "evaluation"
    "shell;cli")

# Window libraries (<folder>_ui) may use any logic library, the shared dialog
# pieces and controls listed here, and the window libraries of the windows
# they open or build on.
set(TARVO_UI_SHARED uikit grid_ui plot_ui)
set(TARVO_UI_OPENS_month entry_ui network_ui reports_ui)
set(TARVO_UI_OPENS_reports reportengine_ui)
# The SILSO import dialogs are the SIDC import dialog with other rules.
set(TARVO_UI_OPENS_reference network_ui)
set(TARVO_UI_OPENS_shell solar_ui month_ui evaluation_ui network_ui backup_ui reference_ui)

# The layer number of a logic folder (-1 when the folder is not in the graph).
function(tarvo_layer_of folder out_var)
    set(index 0)
    foreach(layer IN LISTS TARVO_LOGIC_LAYERS)
        string(REPLACE ";" "|" members "${layer}")
        if(folder MATCHES "^(${members})$")
            set(${out_var} ${index} PARENT_SCOPE)
            return()
        endif()
        math(EXPR index "${index} + 1")
    endforeach()
    set(${out_var} -1 PARENT_SCOPE)
endfunction()

# Whether the library `from` (a folder name, or <folder>_ui) may use `to`
# (likewise; uikit is the shared dialog library). Sets `out_var` to TRUE or FALSE.
function(tarvo_dependency_allowed from to out_var)
    set(allowed FALSE)
    if(from MATCHES "^(.+)_ui$" OR from STREQUAL "uikit")
        set(from_folder "${CMAKE_MATCH_1}")
        if(from STREQUAL "uikit")
            # The shared dialog pieces use the storage state and nothing else.
            if(to STREQUAL "storage")
                set(allowed TRUE)
            endif()
        elseif(NOT to MATCHES "_ui$" AND NOT to STREQUAL "uikit")
            tarvo_layer_of(${to} to_layer)
            if(to_layer GREATER_EQUAL 0)
                set(allowed TRUE)
            endif()
        elseif(to IN_LIST TARVO_UI_SHARED OR to IN_LIST TARVO_UI_OPENS_${from_folder})
            set(allowed TRUE)
        endif()
    elseif(NOT to MATCHES "_ui$" AND NOT to STREQUAL "uikit")
        tarvo_layer_of(${from} from_layer)
        tarvo_layer_of(${to} to_layer)
        if(from_layer GREATER 0 AND to_layer GREATER_EQUAL 0 AND to_layer LESS from_layer)
            set(allowed TRUE)
        endif()
    endif()
    set(${out_var} ${allowed} PARENT_SCOPE)
endfunction()

# The graph name of the library that holds a file of `folder` with the file
# name stem `stem`: <folder>_ui for windows and dialogs (*_dlg, *_ui,
# *_widget), uikit for the shared dialog pieces, else <folder> (the logic).
function(tarvo_library_of_file folder stem out_var)
    if(folder STREQUAL "uikit")
        set(${out_var} uikit PARENT_SCOPE)
    elseif(stem MATCHES "(_dlg|_ui|_widget)$")
        set(${out_var} ${folder}_ui PARENT_SCOPE)
    else()
        set(${out_var} ${folder} PARENT_SCOPE)
    endif()
endfunction()

