# Tests of the entry editor control (link detection, find, formats, entry
# content through the RTF library, mouse and keyboard input, clipboard) and
# of import and save-as of the current entry.
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
        ${CMAKE_CURRENT_LIST_DIR}/entry_files_test.cpp
    LIBS quillmere_editor quillmere_store Qt6::Test)
