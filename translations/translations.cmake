# The program's translations: every text a user reads goes through tr() or
# QCoreApplication::translate; the English texts are the sources, so English
# needs no file. Each .ts file is compiled by lrelease and embedded in the
# shell library as ":/i18n/quillmere_<language>.qm" (the installed file list
# stays the same). `cmake --build build --target update_translations` runs
# lupdate over the folders below and adds new texts to the .ts files.
set(QUILLMERE_TRANSLATION_FILES ${CMAKE_SOURCE_DIR}/translations/quillmere_de.ts
    CACHE INTERNAL "The translations, one .ts file per language")
# The folders whose texts are translated, for lupdate here and in the test
# that checks the .ts files are complete. The journal tool (tools/journal)
# is a command-line interface scripts read, and stays English.
set(QUILLMERE_TRANSLATED_FOLDERS store controls editor search export shell spelling crypto lookback
    CACHE INTERNAL "Folders whose texts are translated")

set(quillmere_translated_sources "")
foreach(folder IN LISTS QUILLMERE_TRANSLATED_FOLDERS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(APPEND quillmere_translated_sources ${found})
endforeach()

qt_add_translations(quillmere_shell
    TS_FILES ${QUILLMERE_TRANSLATION_FILES}
    SOURCES ${quillmere_translated_sources}
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -locations none -no-obsolete)
