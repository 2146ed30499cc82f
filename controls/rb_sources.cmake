# Panel, button and check box family: system colours, pixel routines, controls.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.h
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.cpp
)
