# Unity build: each target's files are compiled in batches, so the big headers (Qt, GoogleTest,
# CLI11, nlohmann-json) are parsed once a batch instead of once a file. A file that defines a
# file-local name (in an anonymous namespace) which another file of its batch also defines, or
# sees from a header, cannot share a batch; such files are listed here, each with the name that
# collides, and compiled on their own. When the name is shared or renamed, drop the line.
set(HALYX_COMPILED_ALONE
    src/app/lock_key_source_x11.cpp       # Xlib's macros (Bool, Status, None...) reach the files after it
    tests/app/gui_lock_keys_x11_test.cpp  # Xlib's macros, as above
)

# Marks the listed files of every target in the tree; call once all targets are defined. A listed
# file no target compiles is reported, so the list does not outlive the names it works around.
function(halyx_compile_listed_files_alone)
    set(found)
    set(directories ${PROJECT_SOURCE_DIR})
    while(directories)
        list(POP_FRONT directories directory)
        get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
        list(APPEND directories ${subdirectories})
        get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(sources ${target} SOURCES)
            get_target_property(target_dir ${target} SOURCE_DIR)
            if(NOT sources)
                continue()
            endif()
            foreach(source IN LISTS sources)
                if(source MATCHES "^\\$<")
                    continue()
                endif()
                cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${target_dir} NORMALIZE
                           OUTPUT_VARIABLE absolute)
                cmake_path(RELATIVE_PATH absolute BASE_DIRECTORY ${PROJECT_SOURCE_DIR}
                           OUTPUT_VARIABLE relative)
                if(relative IN_LIST HALYX_COMPILED_ALONE)
                    set_source_files_properties(${absolute} TARGET_DIRECTORY ${target}
                                                PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
                    list(APPEND found ${relative})
                endif()
            endforeach()
        endforeach()
    endwhile()
    foreach(file IN LISTS HALYX_COMPILED_ALONE)
        if(NOT file IN_LIST found)
            message(WARNING "${file} is listed in cmake/HalyxUnityBuild.cmake but no target "
                            "compiles it")
        endif()
    endforeach()
endfunction()
