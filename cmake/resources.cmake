# zm_add_resources(<target> <rcfile>...)
# Compiles each .rc script with Wine's resource compiler into a .res in the
# binary folder and adds it to the target's sources; winegcc links .res files
# but refuses .rc scripts. Relative paths are taken from the current source
# folder. The include path holds the source tree, so scripts can include the
# headers that name their control ids.
find_program(ZM_WRC NAMES wrc-stable wrc REQUIRED)

function(zm_add_resources target)
    foreach(rc ${ARGN})
        get_filename_component(rc_abs ${rc} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        get_filename_component(rc_name ${rc} NAME_WE)
        get_filename_component(rc_dir ${rc_abs} DIRECTORY)
        set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}.res)
        # wrc writes no dependency file: a script is rebuilt when it, a header
        # beside it or a file of its res/ folder changes.
        # Scripts include their images and their parts from res/ beside them.
        file(GLOB rc_headers CONFIGURE_DEPENDS ${rc_dir}/*.h ${rc_dir}/res/*)
        add_custom_command(
            OUTPUT ${res}
            COMMAND ${ZM_WRC} -I/usr/include/wine/wine/windows -I${rc_dir} -I${CMAKE_SOURCE_DIR}
                    -o ${res} ${rc_abs}
            DEPENDS ${rc_abs} ${rc_headers}
            COMMENT "Compiling resources ${rc_name}.rc"
            VERBATIM)
        # CMake knows no language for .res: it goes to the linker as it is.
        set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
        target_sources(${target} PRIVATE ${res})
    endforeach()
endfunction()
