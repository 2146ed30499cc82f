# Layer boundaries the build enforces.
#
# Sources include headers by their path from the repository root
# ("store/day.h", "editor/rtf/rtf.h"). The repository root itself is never an
# include folder: each library gets a folder of its own in the build tree,
# holding one link named like the library's source folder, and exposes only
# that folder to the targets that link it. A file sees a layer's headers only
# when its target links that layer, so an include across layers without the
# link is a compile error ("store/errors.h: No such file or directory").
#
# Usage: quillmere_layer_headers(<target> <folder from the repository root>)
function(quillmere_layer_headers target folder)
    set(root "${CMAKE_BINARY_DIR}/layers/${target}")
    set(link "${root}/${folder}")
    get_filename_component(parent "${link}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    if(NOT EXISTS "${link}")
        file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${link}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()
