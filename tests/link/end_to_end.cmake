# halyx-cli against halyx-radiosim, each a real process, over a pseudo-terminal, and over the
# network through ser2net (skipped where ser2net is not installed).
halyx_add_gtest(end_to_end_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/cli_radio_end_to_end_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/network_end_to_end_test.cpp
    LIBS halyx_image nlohmann_json::nlohmann_json GTest::gtest_main
    DEPENDS halyx-cli halyx-radiosim)
