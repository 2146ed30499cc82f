# Tests of spell checking in the entry editor: the underlines as text is
# loaded and typed, the context menu's corrections, and that the stored
# entry, the clipboard and printing never carry the underline. They use the
# small test dictionary through a private Enchant folder.
quillmere_add_gtest(editor_spelling_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/spelling_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/spell_checking_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/spell_menu_test.cpp
    LIBS quillmere_editor quillmere_store Qt6::Test)
