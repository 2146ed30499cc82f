# Pictures of the drawn controls: the 8 x 8 check mark "CHECK" (black strokes
# on magenta, which is drawn transparent), reached as ":/controls/CHECK".
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/controls/check.bmp
    PROPERTIES QT_RESOURCE_ALIAS "CHECK")
qt_add_resources(quillmere_resources "controls_pictures"
    PREFIX "/controls"
    BASE ${CMAKE_CURRENT_LIST_DIR}/controls
    FILES ${CMAKE_CURRENT_LIST_DIR}/controls/check.bmp)
