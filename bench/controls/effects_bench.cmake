# Repaint cost of the cylinder progress bar and the gradient fill.
add_executable(controls_effects_bench ${CMAKE_CURRENT_LIST_DIR}/effects_bench.cpp)
target_link_libraries(controls_effects_bench PRIVATE quillmere_controls benchmark::benchmark)
