# Frames, the gatherer, command senders, the tick-driven exchanges and the Telnet/COM-PORT codec
# of network ports: plain C++, no Qt.
add_library(halyx_protocol STATIC
    ${CMAKE_CURRENT_LIST_DIR}/block_stream_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/block_stream_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/com_port_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_link.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_address.cpp
    ${CMAKE_CURRENT_LIST_DIR}/radio_read_exchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/telnet_codec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/traffic_log.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tuning_data.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tuning_read_exchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/write_verify_exchange.cpp)
target_include_directories(halyx_protocol PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_protocol PUBLIC halyx_image PRIVATE halyx_options)
