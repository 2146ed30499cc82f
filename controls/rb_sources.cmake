# Panel, button and check box family: system colours, pixel routines, controls.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.h
    ${CMAKE_CURRENT_LIST_DIR}/system_colors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_draw_core.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_draw_core.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_fonts.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_fonts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_control_colors.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_control_colors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_custom_control.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_custom_control.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_style_manager.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_style_manager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_panel.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rb_panel_styles.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_panel_styles.cpp
)
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rb_button.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bar_button.h
    ${CMAKE_CURRENT_LIST_DIR}/bar_button.cpp
)
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rb_check_box.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_check_box.cpp
)
# What screen readers are told about the drawn controls.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/rb_accessible.h
    ${CMAKE_CURRENT_LIST_DIR}/rb_accessible.cpp
)
# Drop-down lists that open at their box.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/popup_placement.h
    ${CMAKE_CURRENT_LIST_DIR}/popup_placement.cpp
)
