# One static library per layer folder: every .cpp/.h of the folder belongs to it, so a new
# class file joins its layer without touching the build.
function(talo_layer name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.qrc)
    foreach(ex IN LISTS ARG_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "/${name}/${ex}$")
    endforeach()
    if(sources)
        add_library(talo_${name} STATIC ${sources})
        target_include_directories(talo_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(talo_${name} PUBLIC ${ARG_DEPS})
    else()
        # A layer whose issue has not come yet: nothing to compile.
        add_library(talo_${name} INTERFACE)
        target_include_directories(talo_${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(talo_${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# Every tests/<layer>/test_*.cpp is one test program linked with that layer's library.
function(talo_layer_tests layer)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/test_*.cpp)
    foreach(src IN LISTS tests)
        get_filename_component(base ${src} NAME_WE)
        set(target ${layer}_${base})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE talo_${layer} talo_test_support Qt6::Test)
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
            TIMEOUT 300)
    endforeach()
endfunction()
