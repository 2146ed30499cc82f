# Tests of the formatting commands: tool bar, context menu and shortcuts,
# selection feedback, find, font and colour dialogs, header font, image list,
# the font lists' families.
quillmere_add_gtest(editor_command_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_commands_fixture.h
        ${CMAKE_CURRENT_LIST_DIR}/image_list_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/find_dialog_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_commands_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_toolbar_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/popup_menu_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_font_commands_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/font_families_test.cpp
    LIBS quillmere_editor quillmere_controls quillmere_store Qt6::Test)
