# The entry editor control: a QTextEdit adapter reading and writing entries
# through the RTF library, with link detection and find.
add_library(quillmere_editor STATIC
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor.h
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_content.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_content.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_find.h
    ${CMAKE_CURRENT_LIST_DIR}/text_find.cpp
    ${CMAKE_CURRENT_LIST_DIR}/url_links.h
    ${CMAKE_CURRENT_LIST_DIR}/url_links.cpp
)
quillmere_layer_headers(quillmere_editor editor)
target_link_libraries(quillmere_editor PUBLIC Qt6::Widgets quillmere_rtf quillmere_store)

# The formatting and editing commands of the main window's editor: the tool
# bar, the context menu, find, font and colour dialogs, the image list.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/image_list.h
    ${CMAKE_CURRENT_LIST_DIR}/image_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/find_dialog.h
    ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_dialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/format_dialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_commands.h
    ${CMAKE_CURRENT_LIST_DIR}/format_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_toolbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popup_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_font_commands.cpp
)
target_link_libraries(quillmere_editor PUBLIC quillmere_controls)

# Pictures and links: picture files (GIF first frame, BMP, JPEG, metafiles),
# pictures on the clipboard in their stored form, their layout in the
# editor, and the Insert Picture, Insert Link and link-click commands.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/picture_file.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_gif.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_clipboard.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_layout.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_commands.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_dialog.cpp
)
# Import, save-as and print of the current entry, with the editor's render call.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/format_range.h
    ${CMAKE_CURRENT_LIST_DIR}/rich_editor_print.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_files.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_print.h
    ${CMAKE_CURRENT_LIST_DIR}/entry_print.cpp
)
target_link_libraries(quillmere_editor PUBLIC Qt6::PrintSupport)
# The character map and the command that inserts from it.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/char_map.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/char_map_window.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/char_map_insert.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map_insert.cpp
)
