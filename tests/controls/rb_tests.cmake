# Pixel and behaviour tests of the panels, buttons and check box, and of
# drop-down lists opening at their box.
quillmere_add_gtest(controls_rb_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/rb_test_app.h
        ${CMAKE_CURRENT_LIST_DIR}/rb_test_app.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_draw_core_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_panel_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_system_colors_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_button_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_check_box_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/rb_accessible_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/popup_placement_test.cpp
    LIBS quillmere_controls Qt6::Test)
