# Printing the current entry, with the editor's render call.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/format_range.h
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_print.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_print.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_print.cpp
)
target_link_libraries(quillmere_editor PUBLIC Qt6::PrintSupport)
