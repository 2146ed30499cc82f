# The entry editor control: a QTextEdit adapter reading and writing entries
# through the RTF library, with link detection, find, and import and save-as
# of the current entry.
add_library(quillmere_editor STATIC
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor.h
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_marks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_content.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_content.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_find.h
    ${CMAKE_CURRENT_LIST_DIR}/text_find.cpp
    ${CMAKE_CURRENT_LIST_DIR}/url_links.h
    ${CMAKE_CURRENT_LIST_DIR}/url_links.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_files.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_files.cpp
)
quillmere_layer_headers(quillmere_editor editor)
target_link_libraries(quillmere_editor PUBLIC Qt6::Widgets quillmere_rtf quillmere_store
                      quillmere_spelling)
