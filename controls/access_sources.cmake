# Reaching and reading the program without a mouse or good eyes: the tool
# bar's own buttons and its keyboard use, and contrast arithmetic.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/contrast.h
    ${CMAKE_CURRENT_LIST_DIR}/contrast.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flat_tool_button.h
    ${CMAKE_CURRENT_LIST_DIR}/flat_tool_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tool_bar_keys.h
    ${CMAKE_CURRENT_LIST_DIR}/tool_bar_keys.cpp
)
