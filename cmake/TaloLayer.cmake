# One static library per layer folder: every .cpp/.h of the folder belongs to it, so a new
# class file joins its layer without touching the build. `talo_layer(platform/store ...)` makes
# `talo_platform_store`.
#
# The build enforces the layering: a layer does not see the source tree, only an include view
# holding its own folder, and it gets the views of the layers listed in DEPS (and theirs) by
# linking them. An include of a layer it does not depend on, or of a Qt module it does not
# link, fails to compile.
function(talo_layer folder)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
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
        target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    else()
        # A layer whose issue has not come yet: nothing to compile.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${view})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# Every tests/<folder>/test_*.cpp is one test program linked with that layer's library;
# tests/platform/store/test_table_cursor.cpp is `platform_store_test_table_cursor`.
function(talo_layer_tests folder)
    string(REPLACE "/" "_" name ${folder})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/test_*.cpp)
    foreach(src IN LISTS tests)
        get_filename_component(base ${src} NAME_WE)
        set(target ${name}_${base})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE talo_${name} talo_test_support Qt6::Test)
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
            TIMEOUT 300)
    endforeach()
endfunction()
