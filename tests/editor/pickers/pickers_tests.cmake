# Tests of the character map: its cells and characters, its window, and the
# insertion of its text into the editor.
quillmere_add_gtest(char_map_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/char_map_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/char_map_insert_test.cpp
    LIBS quillmere_editor quillmere_controls Qt6::Test)
# Tests of the emoticon picker and its pictures.
quillmere_add_gtest(emoticon_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/emoticon_art_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/emoticons_window_test.cpp
    LIBS quillmere_editor quillmere_controls Qt6::Test)
