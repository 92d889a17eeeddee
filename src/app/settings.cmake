# Setting file, language files and their text encodings: plain C++, no Qt.
find_package(Iconv)

add_library(halyx_settings STATIC
    ${CMAKE_CURRENT_LIST_DIR}/language.cpp
    ${CMAKE_CURRENT_LIST_DIR}/profile_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/profile_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/program_directory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/setting_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoding.cpp)
target_include_directories(halyx_settings PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_settings PUBLIC halyx_files PRIVATE halyx_options)

# GBK conversion goes through iconv everywhere but Windows, which converts with code page 936.
if(NOT WIN32)
    if(NOT Iconv_FOUND)
        message(FATAL_ERROR "iconv is needed to read GBK language files")
    endif()
    target_link_libraries(halyx_settings PRIVATE Iconv::Iconv)
endif()
