# One place for the flags every Halyx target gets.
add_library(halyx_options INTERFACE)
target_compile_options(halyx_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wno-sign-conversion)
if(HALYX_WARNINGS_AS_ERRORS)
    target_compile_options(halyx_options INTERFACE -Werror)
endif()

# GCC's tracking of variables through optimised code took about a third of each file's compile
# time. Without it the debug information still gives backtraces, lines and breakpoints; some
# locals of optimised functions show as "optimized out".
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options($<$<CONFIG:RelWithDebInfo>:-fno-var-tracking-assignments>)
endif()

# gold links the big programs (the tests, with their debug information) in half bfd's time.
include(CheckLinkerFlag)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    check_linker_flag(CXX -fuse-ld=gold HALYX_LINKER_GOLD)
    if(HALYX_LINKER_GOLD)
        add_link_options(-fuse-ld=gold)
    endif()
endif()

if(HALYX_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(HALYX_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT HALYX_SANITIZE STREQUAL "")
    message(FATAL_ERROR "HALYX_SANITIZE must be empty, address or thread")
endif()

# Adds a folder's CMakeLists.txt only once it exists, so parts of the tree can grow independently.
# HALYX_SKIP (a list of folders such as "link;app") leaves parts out of a private build while
# they are being rewritten by someone else.
set(HALYX_SKIP "" CACHE STRING "Folders to leave out of this build (developer builds only)")
function(halyx_add_subdirectory_if_present dir)
    if(dir IN_LIST HALYX_SKIP)
        return()
    endif()
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
        add_subdirectory(${dir})
    endif()
endfunction()
