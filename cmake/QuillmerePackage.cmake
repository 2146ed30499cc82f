# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh
# makes a release build and runs it). Library dependencies are computed from
# the installed programs by dpkg-shlibdeps; what the programs load by name
# (the fonts of the drawn controls, and the colour emoji font without which
# every emoticon would be the same plain face) is listed by hand. The
# programs are built with Debian's hardening flags (QuillmereHardening.cmake);
# the copyright file and the changelog come from docs/ (QuillmereInstall.cmake).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillmere")
set(CPACK_PACKAGE_VENDOR "Velmora Durazu")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "private diary, one rich-text entry per day")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmere is a single-user desktop diary. You write one rich-text entry per
calendar day, kept in one local data file and guarded by an optional password.
You move between days, jump to today or to a day picked in a calendar, format
the text, insert pictures, links, emoticons and special characters, print an
entry, search every entry and export every entry as its own RTF file.
The package also holds quillmere-journal, which works on a diary file from the
command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillmere developers <quillmere@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillmere.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-material-design-icons-iconfont, fonts-noto-color-emoji")
# Qt's own texts (the standard buttons and dialogs) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-image-formats-plugins, qt6-translations-l10n, xdg-utils")
include(CPack)
