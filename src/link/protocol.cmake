add_library(halyx_protocol STATIC
    ${CMAKE_CURRENT_LIST_DIR}/traffic_log.cpp)
target_include_directories(halyx_protocol PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_protocol PUBLIC halyx_image PRIVATE halyx_options)
