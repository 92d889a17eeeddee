# The serial port engine: the one place that touches QSerialPort and its worker thread.
add_library(halyx_serial STATIC
    ${CMAKE_CURRENT_LIST_DIR}/port_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_open_failure.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_byte_handover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_line_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_port.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_worker.cpp)
target_include_directories(halyx_serial PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_serial
    PUBLIC halyx_protocol Qt6::Core Qt6::SerialPort
    PRIVATE halyx_options)
