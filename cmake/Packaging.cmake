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

# Theme icons at the sizes desktops ask for, and the SVG master for any other size.
set(QUORVALE_ICON_SIZES 16 32 48 64 128 256)
quorvale_render_icons(icon_files
    "${PROJECT_BINARY_DIR}/icons/hicolor/<size>x<size>/apps/${QUORVALE_DESKTOP_ID}.png"
    ${QUORVALE_ICON_SIZES})
add_custom_target(quorvale_icons ALL DEPENDS ${icon_files})
foreach(size png IN ZIP_LISTS QUORVALE_ICON_SIZES icon_files)
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
install(FILES "${quorvale_res}/quorvale.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${QUORVALE_DESKTOP_ID}.svg")
