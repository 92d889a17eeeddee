# The link on QtCore: the port interface, the serial and network ports behind it and the exchange
# runner. Every
# port is read on its owner's thread, from the event loop.
add_library(halyx_serial STATIC
    ${CMAKE_CURRENT_LIST_DIR}/cable_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cable_self_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exchange_runner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/link_port.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_port.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_doctor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_doctor_system.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_doctor_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_open_failure.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_line_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_port.cpp)
set_target_properties(halyx_serial PROPERTIES AUTOMOC ON)
target_include_directories(halyx_serial PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_serial
    PUBLIC halyx_protocol Qt6::Core Qt6::SerialPort Qt6::Network
    PRIVATE halyx_options)
