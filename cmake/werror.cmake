# brevan_werror(DIRECTORY root): every source file under root that a target in DIRECTORY or
# below it lists is compiled with -Werror. Generated code (moc, resources) and code from
# outside root (GoogleTest built from its sources) keep their warnings as warnings: they are
# not ours to change. Call it once every target exists.
function(brevan_werror directory root)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
            continue()
        endif()
        get_target_property(sources ${target} SOURCES)
        get_target_property(sourceDir ${target} SOURCE_DIR)
        foreach(source IN LISTS sources)
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${sourceDir} NORMALIZE)
            cmake_path(IS_PREFIX CMAKE_BINARY_DIR ${source} NORMALIZE generated)
            cmake_path(IS_PREFIX root ${source} NORMALIZE inside)
            if(NOT inside OR generated OR NOT source MATCHES "\\.(cpp|c)$")
                continue()
            endif()
            # A file that two targets of one folder share is marked once.
            get_property(options SOURCE ${source} TARGET_DIRECTORY ${target}
                PROPERTY COMPILE_OPTIONS)
            if(NOT "-Werror" IN_LIST options)
                set_property(SOURCE ${source} TARGET_DIRECTORY ${target} APPEND PROPERTY
                    COMPILE_OPTIONS -Werror)
            endif()
        endforeach()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        brevan_werror(${subdirectory} ${root})
    endforeach()
endfunction()
