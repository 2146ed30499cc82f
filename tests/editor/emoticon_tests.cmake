# Tests of the emoticon picker and its pictures.
quillmere_add_gtest(emoticon_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/emoticon_art_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/emoticons_window_test.cpp
    LIBS quillmere_editor quillmere_controls Qt6::Test)
