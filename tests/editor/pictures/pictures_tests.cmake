# Pictures and links: picture files, the GIF decoder, Insert Picture and
# Insert Link, pasted and dropped pictures, link clicks, picture layout,
# bitmaps cut short, photos shown upright.
quillmere_add_gtest(picture_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../qt_app_environment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/picture_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/picture_commands_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/bitmap_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/photo_orientation_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/picture_preparation_test.cpp
    LIBS quillmere_editor Qt6::Test)
