# The pickers: the character map with the command that inserts from it, and
# the emoticon picker with its pictures.
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/char_map.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/char_map_window.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/char_map_insert.h
    ${CMAKE_CURRENT_LIST_DIR}/char_map_insert.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emoticon_art.h
    ${CMAKE_CURRENT_LIST_DIR}/emoticon_art.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emoticons_window.h
    ${CMAKE_CURRENT_LIST_DIR}/emoticons_window.cpp
)
