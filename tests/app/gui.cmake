# Widget tests of the application shell, run on the offscreen platform.
add_library(halyx_gui_test_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/gui_test_support.cpp)
target_include_directories(halyx_gui_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(halyx_gui_test_support
    PUBLIC halyx_gui GTest::gtest Qt6::PrintSupport
    PRIVATE halyx_options)

halyx_add_gtest(gui_startup_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_startup_test.cpp
    LIBS halyx_gui_test_support Qt6::Test)

halyx_add_gtest(gui_main_frame_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_main_frame_test.cpp
    LIBS halyx_gui_test_support Qt6::Test)

# The lock panes on a real X server: the test starts its own Xvfb (and skips without one) and
# presses Caps Lock through XTest. It has its own main, as the server must be up before Qt.
find_package(X11 QUIET)
if(X11_FOUND AND X11_Xkb_FOUND AND X11_XTest_FOUND)
    halyx_add_gtest(gui_lock_keys_x11_test GUI
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_lock_keys_x11_test.cpp
                ${CMAKE_CURRENT_LIST_DIR}/xvfb_server.cpp
        LIBS halyx_gui_test_support Qt6::Test X11::X11 X11::Xtst)
endif()

halyx_add_gtest(gui_file_commands_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_file_commands_test.cpp
    LIBS halyx_gui_test_support)

halyx_add_gtest(gui_port_dialog_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_port_dialog_test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/gui_port_doctor_test.cpp
    LIBS halyx_gui_test_support Qt6::Test)

halyx_add_gtest(gui_exchange_dialogs_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_exchange_dialogs_test.cpp
    LIBS halyx_gui_test_support halyx_radio_peer Qt6::Test)

# Real serial engine against the simulator on a pseudo-terminal (Unix only).
if(UNIX AND TARGET halyx-radiosim)
    halyx_add_gtest(gui_end_to_end_test GUI
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_end_to_end_test.cpp
        LIBS halyx_gui_test_support
        DEPENDS halyx-radiosim)
endif()

halyx_add_gtest(gui_interchange_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_interchange_test.cpp
    LIBS halyx_gui_test_support)
halyx_add_gtest(gui_installed_layout_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_installed_layout_test.cpp
    LIBS halyx_gui_test_support)

halyx_add_gtest(gui_edit_history_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_edit_history_test.cpp
    LIBS halyx_gui_test_support Qt6::Test)

halyx_add_gtest(gui_fleet_dialog_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_fleet_dialog_test.cpp
    LIBS halyx_gui_test_support halyx_radio_peer Qt6::Test)

halyx_add_gtest(gui_config_file_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_config_file_test.cpp
    LIBS halyx_gui_test_support halyx_config_text)

halyx_add_gtest(gui_unsaved_edits_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_unsaved_edits_test.cpp
    LIBS halyx_gui_test_support halyx_radio_peer Qt6::Test)
halyx_add_gtest(gui_status_and_menus_test GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_status_and_menus_test.cpp
    LIBS halyx_gui_test_support Qt6::Test)
