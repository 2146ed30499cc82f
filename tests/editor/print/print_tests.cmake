# Tests of printing the current entry and of the editor's render call.
quillmere_add_gtest(print_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/print_recorder.h
        ${CMAKE_CURRENT_LIST_DIR}/print_recorder.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rich_editor_print_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/entry_print_test.cpp
    LIBS quillmere_editor quillmere_store Qt6::PrintSupport Qt6::Test)
