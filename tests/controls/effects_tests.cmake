# Gradient fill, context menu look and cylinder progress bar.
quillmere_add_gtest(controls_effects_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/color_gradient_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/menu_style_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/progress_cyl_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/pro_effect_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/effects_test_main.cpp
    LIBS quillmere_controls Qt6::Test
)
