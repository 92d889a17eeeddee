# Serial port engine tests: a pseudo-terminal's slave stands in for the port, the test plays the
# radio on the master. Under ThreadSanitizer run with TSAN_OPTIONS=suppressions=tests/tsan.supp.
if(NOT UNIX)
    return()
endif()

add_library(halyx_pty_peer STATIC ${CMAKE_CURRENT_LIST_DIR}/pty_peer.cpp)
target_include_directories(halyx_pty_peer PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(halyx_pty_peer PUBLIC Qt6::Core PRIVATE halyx_options util)

halyx_add_gtest(serial_port_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/exchange_runner_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/serial_port_transfer_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/serial_port_lifecycle_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/serial_port_names_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/serial_port_open_failure_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/port_doctor_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/network_port_test.cpp
    LIBS halyx_serial halyx_settings halyx_pty_peer halyx_radio_peer Qt6::Core)
