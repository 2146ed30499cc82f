# Spell checking as you type in the entry editor: the underlines, the
# spelling items of the context menu and the replacement of a word (the
# checking itself is the window-free spelling library).
target_sources(quillmere_editor PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/spell_checking.h
    ${CMAKE_CURRENT_LIST_DIR}/spell_checking.cpp
    ${CMAKE_CURRENT_LIST_DIR}/spell_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/word_replacement.h
    ${CMAKE_CURRENT_LIST_DIR}/word_replacement.cpp
)
