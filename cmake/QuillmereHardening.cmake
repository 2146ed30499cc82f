# Debian's hardening flags for every build: the stack protector, format
# string checks, _FORTIFY_SOURCE, read-only relocations and immediate binding
# (DEB_BUILD_MAINT_OPTIONS=hardening=+all), taken from dpkg-buildflags so
# the program and its package are built the way Debian builds its own.
#
# Only the hardening flags are taken: the optimisation, debug information and
# file-prefix options dpkg-buildflags also prints stay with the build type,
# so Debug, RelWithDebInfo and the test flags mean what they say.
# _FORTIFY_SOURCE needs optimisation, so it is left out of Debug builds (the
# C library warns about every file otherwise).
#
# QUILLMERE_HARDENING=OFF leaves them all out; the sanitizer build does so,
# since AddressSanitizer checks what the fortified functions would.
option(QUILLMERE_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)

# The hardening options among `flags`, as a list.
function(_quillmere_hardening_only out flags)
    separate_arguments(all UNIX_COMMAND "${flags}")
    set(kept "")
    foreach(flag IN LISTS all)
        if(flag MATCHES "^-(g.*|O.*|ffile-prefix-map=.*|fdebug-prefix-map=.*|fmacro-prefix-map=.*|Wdate-time|flto.*|ffat-lto-objects)$")
            continue()
        endif()
        list(APPEND kept "${flag}")
    endforeach()
    set(${out} "${kept}" PARENT_SCOPE)
endfunction()

function(_quillmere_buildflags out name)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${QUILLMERE_DPKG_BUILDFLAGS} --get ${name}
        OUTPUT_VARIABLE value
        OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "dpkg-buildflags --get ${name} failed (${result})")
    endif()
    _quillmere_hardening_only(kept "${value}")
    set(${out} "${kept}" PARENT_SCOPE)
endfunction()

if(QUILLMERE_HARDENING)
    find_program(QUILLMERE_DPKG_BUILDFLAGS dpkg-buildflags)
    if(NOT QUILLMERE_DPKG_BUILDFLAGS)
        message(FATAL_ERROR "QUILLMERE_HARDENING needs dpkg-buildflags (package dpkg-dev, "
                            "installed by scripts/setup.sh); or configure with "
                            "-DQUILLMERE_HARDENING=OFF")
    endif()
    _quillmere_buildflags(_preprocessor CPPFLAGS)
    _quillmere_buildflags(_compiler CXXFLAGS)
    _quillmere_buildflags(_linker LDFLAGS)
    set(QUILLMERE_HARDENING_FLAGS "")
    foreach(flag IN LISTS _preprocessor)
        if(flag MATCHES "^-D_FORTIFY_SOURCE")
            list(APPEND QUILLMERE_HARDENING_FLAGS "$<$<NOT:$<CONFIG:Debug>>:${flag}>")
        else()
            list(APPEND QUILLMERE_HARDENING_FLAGS "${flag}")
        endif()
    endforeach()
    list(APPEND QUILLMERE_HARDENING_FLAGS ${_compiler})
    add_compile_options(${QUILLMERE_HARDENING_FLAGS})
    add_link_options(${_linker})
    list(JOIN _preprocessor " " _shown_preprocessor)
    list(JOIN _compiler " " _shown_compiler)
    list(JOIN _linker " " _shown_linker)
    message(STATUS "Hardening (dpkg-buildflags): "
                   "${_shown_preprocessor} ${_shown_compiler} ${_shown_linker}")
endif()
