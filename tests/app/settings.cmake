halyx_add_gtest(settings_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/profile_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_encoding_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/language_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/shipped_language_files_test.cpp
    LIBS halyx_settings GTest::gtest_main)
