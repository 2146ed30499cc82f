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
    ${CMAKE_CURRENT_LIST_DIR}/font_families.h
    ${CMAKE_CURRENT_LIST_DIR}/font_families.cpp
)
target_link_libraries(quillmere_editor PUBLIC quillmere_controls)
