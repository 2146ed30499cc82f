# Pictures and links: picture files (GIF first frame, BMP, JPEG, metafiles),
# pictures on the clipboard in their stored form, their layout in the
# editor, and the Insert Picture, Insert Link and link-click commands.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/picture_file.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_gif.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_file.h
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/photo_orientation.h
    ${CMAKE_CURRENT_LIST_DIR}/photo_orientation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_preparation.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_clipboard.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_layout.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_commands.h
    ${CMAKE_CURRENT_LIST_DIR}/picture_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture_dialog.cpp
)
