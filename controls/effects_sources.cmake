# Fills, owner-drawn menu look and the cylinder progress bar.
list(APPEND QUILLMERE_CONTROLS_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/color_gradient.h
    ${CMAKE_CURRENT_LIST_DIR}/color_gradient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_style.h
    ${CMAKE_CURRENT_LIST_DIR}/menu_style.cpp
    ${CMAKE_CURRENT_LIST_DIR}/progress_cyl_types.h
    ${CMAKE_CURRENT_LIST_DIR}/progress_cyl.h
    ${CMAKE_CURRENT_LIST_DIR}/progress_cyl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/progress_cyl_paint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pro_effect.h
    ${CMAKE_CURRENT_LIST_DIR}/pro_effect.cpp
)
