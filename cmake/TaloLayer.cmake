# One static library per layer folder: every .cpp/.h of the folder belongs to it, so a new
# class file joins its layer without touching the build. `talo_layer(platform/store ...)` makes
# `talo_platform_store`.
#
# The build enforces the layering: a layer does not see the source tree, only an include view
# holding its own folder, and it gets the views of the layers listed in DEPS (and theirs) by
# linking them. An include of a layer it does not depend on, or of a Qt module it does not
# link, fails to compile; what the compiler cannot see (a module-qualified Qt include, a `..`,
# a system library's header) the include check below refuses.
#
# DEPS are public: the layers and Qt modules its headers show to the layers above. PRIVATE are
# the system libraries its own sources call (SQLite, CUPS, pxlib): the layers above link them
# but do not see them, and must name them again to use them.
include(${CMAKE_CURRENT_LIST_DIR}/TaloLayerLinks.cmake)

function(talo_layer folder)
    cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE;EXCLUDE" ${ARGN})
    string(REPLACE "/" "_" name ${folder})
    set(target talo_${name})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.qrc)
    foreach(ex IN LISTS ARG_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "/${folder}/${ex}$")
    endforeach()

    set(view ${CMAKE_BINARY_DIR}/layer-include/${target})
    get_filename_component(parent ${view}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)

    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${view})
        target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE})
    else()
        # A layer whose issue has not come yet: nothing to compile.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${view})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE})
    endif()
    set_property(GLOBAL APPEND PROPERTY TALO_LAYERS ${folder})
endfunction()

# What `item` (a target or a library file) gives the code that links it: the targets whose
# include directories it sees, followed through public links only ($<LINK_ONLY:...> is a
# private link of a static library: linked, never seen).
function(_talo_seen item out)
    set(seen)
    set(queue ${item})
    while(queue)
        list(POP_FRONT queue next)
        if(next IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${next})
        if(TARGET ${next})
            get_target_property(interface ${next} INTERFACE_LINK_LIBRARIES)
            if(interface)
                foreach(dep IN LISTS interface)
                    if(NOT dep MATCHES "^\\$<")
                        list(APPEND queue ${dep})
                    endif()
                endforeach()
            endif()
        endif()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The label of a layer's tests: its folder's last name (`platform/store` is `store`).
function(talo_layer_label folder out)
    get_filename_component(label ${folder} NAME)
    set(${out} ${label} PARENT_SCOPE)
endfunction()

# Every tests/<folder>/test_*.cpp is one test program linked with that layer's library;
# tests/platform/store/test_table_cursor.cpp is `platform_store_test_table_cursor`. Each is
# labelled with its layer and its kind: `window` when it links Qt Widgets (a QApplication and
# real windows, offscreen), `unit` otherwise. `talo_tests_<label>` builds the layer's programs.
function(talo_layer_tests folder)
    string(REPLACE "/" "_" name ${folder})
    talo_layer_label(${folder} label)
    _talo_seen(talo_${name} seen)
    if(Qt6::Widgets IN_LIST seen)
        set(kind window)
    else()
        set(kind unit)
    endif()
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/test_*.cpp)
    set(programs)
    foreach(src IN LISTS tests)
        get_filename_component(base ${src} NAME_WE)
        set(target ${name}_${base})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE talo_${name} talo_test_support Qt6::Test)
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            LABELS "${label};${kind}"
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
            TIMEOUT 300)
        list(APPEND programs ${target})
    endforeach()
    if(programs)
        add_custom_target(talo_tests_${label} DEPENDS ${programs})
    endif()
endfunction()
