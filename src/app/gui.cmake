# The windows of the application and the halyx executable.

# The application owns the run's objects and wires the windows to them; nothing below this
# folder includes it.
add_library(halyx_gui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/builtin_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/config_file_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fleet_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fleet_dialog_run.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fleet_ports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lock_key_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/halyx_app.cpp
    ${CMAKE_CURRENT_LIST_DIR}/interchange_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_bars.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_menus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cable_watch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_doctor_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/port_settings_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_translations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/radio_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/status_pane_updater.cpp
    ${CMAKE_CURRENT_LIST_DIR}/status_panes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/toolbar_icons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs/exchange_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs/read_radio_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs/report_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialogs/write_radio_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/report_texts.cpp)
# The exchange dialogs signal each radio operation they record.
set_target_properties(halyx_gui PROPERTIES AUTOMOC ON)
target_include_directories(halyx_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(halyx_gui
    PUBLIC halyx_settings halyx_image halyx_editing halyx_protocol halyx_serial halyx_ui_common
           halyx_form halyx_factory halyx_files halyx_interchange halyx_sheet_render
           halyx_fleet_serial halyx_history halyx_config_text Qt6::Widgets Qt6::PrintSupport
    PRIVATE halyx_version halyx_options)

# The lock-key panes read the keyboard's indicators where the platform tells them: XKB on X11
# (only where libX11 with XKB is found; elsewhere the panes stay blank), the event source's
# modifier flags on macOS, GetKeyState (user32, linked by default) on Windows.
find_package(X11 QUIET)
if(X11_FOUND AND X11_Xkb_FOUND)
    target_sources(halyx_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/lock_key_source_x11.cpp)
    target_compile_definitions(halyx_gui PRIVATE HALYX_HAVE_X11_LOCK_KEYS)
    target_link_libraries(halyx_gui PRIVATE X11::X11)
endif()
if(APPLE)
    target_link_libraries(halyx_gui PRIVATE "-framework ApplicationServices")
endif()

add_executable(halyx ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(halyx PRIVATE halyx_gui halyx_version halyx_options)

# The language files live in the program directory; put them beside the freshly built program
# so that it runs straight from the build tree.
foreach(language_file english.lang chinese.lang)
    add_custom_command(TARGET halyx POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                ${PROJECT_SOURCE_DIR}/data/${language_file} $<TARGET_FILE_DIR:halyx>/${language_file}
        VERBATIM)
endforeach()
