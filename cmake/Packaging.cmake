# Desktop integration (menu entry, theme icons, AppStream metainfo) and the manual page; the
# Debian package in debian/ installs the same tree. Included from the top-level CMakeLists.txt,
# after the program's own targets.

set(QUORVALE_DESKTOP_ID quorvale)
set(QUORVALE_APPSTREAM_ID example.quorvale.quorvale)
set(quorvale_res "${PROJECT_SOURCE_DIR}/resources")

install(FILES "${quorvale_res}/quorvale.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications"
        RENAME "${QUORVALE_DESKTOP_ID}.desktop")
# AppStream wants the file named after the component id.
install(FILES "${quorvale_res}/quorvale.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo"
        RENAME "${QUORVALE_APPSTREAM_ID}.metainfo.xml")
install(FILES "${quorvale_res}/quorvale.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# Theme icons, all from the one design: the 32-pixel one is the hand-drawn XPM pixel for pixel,
# the other sizes are rendered from the SVG master. Rendering at build time keeps them in step
# with the art, so no generated image is kept in git.
set(QUORVALE_ICON_SIZES 16 32 48 64 128 256)
# Configure again when a file appears in resources/, such as the SVG after a merge.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${quorvale_res}")
if(EXISTS "${quorvale_res}/quorvale.svg")
    set(QUORVALE_HAS_ICONS ON)
    find_program(RSVG_CONVERT rsvg-convert REQUIRED)

    # quorvale_xpm_to_png comes from resources/, which carries the same PNG in the program.
    set(icon_root "${PROJECT_BINARY_DIR}/icons/hicolor")
    set(icon_files "")
    foreach(size IN LISTS QUORVALE_ICON_SIZES)
        set(dir "${icon_root}/${size}x${size}/apps")
        set(png "${dir}/${QUORVALE_DESKTOP_ID}.png")
        if(size EQUAL 32)
            add_custom_command(OUTPUT "${png}"
                COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
                COMMAND quorvale_xpm_to_png "${quorvale_res}/quorvale.xpm" "${png}" ${size}
                DEPENDS "${quorvale_res}/quorvale.xpm" quorvale_xpm_to_png
                VERBATIM)
        else()
            add_custom_command(OUTPUT "${png}"
                COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
                COMMAND "${RSVG_CONVERT}" --width ${size} --height ${size} --keep-aspect-ratio
                        --output "${png}" "${quorvale_res}/quorvale.svg"
                DEPENDS "${quorvale_res}/quorvale.svg"
                VERBATIM)
        endif()
        list(APPEND icon_files "${png}")
        install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
    endforeach()
    add_custom_target(quorvale_icons ALL DEPENDS ${icon_files})

    install(FILES "${quorvale_res}/quorvale.svg"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
            RENAME "${QUORVALE_DESKTOP_ID}.svg")
else()
    # The art is drawn apart from the code; a tree without it still builds and packages.
    set(QUORVALE_HAS_ICONS OFF)
    message(WARNING "resources/quorvale.svg is missing: the theme icons are left out of the install")
endif()

# ---- Checks of the installed tree and of the running window ----
quorvale_add_test(test_install "${PROJECT_SOURCE_DIR}/tests/test_install.cpp" LIBS Qt6::Gui)
string(REPLACE ";" " " icon_sizes "${QUORVALE_ICON_SIZES}")
if(QUORVALE_HAS_ICONS)
    set(has_icons 1)
else()
    set(has_icons 0)
endif()
target_compile_definitions(test_install PRIVATE
    QUORVALE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUORVALE_BINARY_DIR="${PROJECT_BINARY_DIR}"
    QUORVALE_VERSION="${PROJECT_VERSION}"
    QUORVALE_DESKTOP_ID="${QUORVALE_DESKTOP_ID}"
    QUORVALE_APPSTREAM_ID="${QUORVALE_APPSTREAM_ID}"
    QUORVALE_HAS_ICONS=${has_icons}
    QUORVALE_ICON_SIZES="${icon_sizes}")

add_test(NAME window_class
    COMMAND "${PROJECT_SOURCE_DIR}/tests/window_class_check.sh" "$<TARGET_FILE:quorvale>"
            "${quorvale_res}/quorvale.desktop")
set_tests_properties(window_class PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)
