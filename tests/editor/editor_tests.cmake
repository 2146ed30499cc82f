# Tests of the entry editor control (link detection, find, formats, entry
# content through the RTF library, mouse and keyboard input).
quillmere_add_gtest(editor_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/url_links_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_find_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_format_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/entry_content_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_clipboard_test.cpp
    LIBS quillmere_editor Qt6::Test)

# Tests of the formatting commands: tool bar, context menu and shortcuts,
# selection feedback, find, font and colour dialogs, header font, image list.
quillmere_add_gtest(editor_command_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_commands_fixture.h
        ${CMAKE_CURRENT_LIST_DIR}/image_list_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/find_dialog_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_commands_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_toolbar_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/popup_menu_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_font_commands_test.cpp
    LIBS quillmere_editor quillmere_controls quillmere_store Qt6::Test)

# Pictures and links: picture files, the GIF decoder, Insert Picture and
# Insert Link, pasted and dropped pictures, link clicks, picture layout.
quillmere_add_gtest(picture_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/picture_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/picture_commands_test.cpp
    LIBS quillmere_editor Qt6::Test)
# Tests of import, save-as and print of the current entry, and of the
# editor's render call.
quillmere_add_gtest(entry_files_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/print_recorder.h
        ${CMAKE_CURRENT_LIST_DIR}/print_recorder.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_print_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/entry_print_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/entry_files_test.cpp
    LIBS quillmere_editor quillmere_store Qt6::PrintSupport Qt6::Test)
# Tests of the character map: its cells and characters, its window, and the
# insertion of its text into the editor.
quillmere_add_gtest(char_map_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/char_map_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/char_map_insert_test.cpp
    LIBS quillmere_editor quillmere_controls Qt6::Test)
