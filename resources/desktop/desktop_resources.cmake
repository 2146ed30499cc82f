# The program icon, drawn once as SVG and rendered at every size it is shown
# at (see program_icon_image.h); reached as ":/desktop/quillmere.svg".
target_sources(quillmere_resources PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../program_icon_image.h
    ${CMAKE_CURRENT_LIST_DIR}/../program_icon_image.cpp)
target_link_libraries(quillmere_resources PRIVATE Qt6::Svg)
qt_add_resources(quillmere_resources "desktop_pictures"
    PREFIX "/desktop"
    BASE ${CMAKE_CURRENT_LIST_DIR}
    FILES ${CMAKE_CURRENT_LIST_DIR}/quillmere.svg)
