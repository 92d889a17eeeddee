# Frame layer, exchanges and tuning exchanges, driven by ticks against the in-process radio.
halyx_add_gtest(halyx_frame_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_layer_test.cpp
    LIBS halyx_protocol GTest::gtest_main)
halyx_add_gtest(halyx_exchange_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/exchange_read_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/exchange_write_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/tuning_exchange_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/telnet_line_test.cpp
    LIBS halyx_protocol halyx_radio_peer GTest::gtest_main)
