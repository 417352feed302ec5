# The application icon as PNG files, all from the one design: the 32-pixel one is the hand-drawn
# XPM pixel for pixel, the other sizes are rendered from the SVG master. Rendering at build time
# keeps them in step with the art, so no generated image is kept in git. quorvale_xpm_to_png
# comes from resources/, which carries the same PNG in the program.

# quorvale_render_icons(<variable> <path> <size>...): makes the icon at each size at <path>, in
# which "<size>" stands for the size, and sets <variable> to the files in the order of the sizes.
function(quorvale_render_icons variable path)
    find_program(RSVG_CONVERT rsvg-convert REQUIRED)
    set(res "${PROJECT_SOURCE_DIR}/resources")
    set(pngs "")
    foreach(size IN LISTS ARGN)
        string(REPLACE "<size>" "${size}" png "${path}")
        cmake_path(GET png PARENT_PATH dir)
        if(size EQUAL 32)
            set(render quorvale_xpm_to_png "${res}/quorvale.xpm" "${png}" ${size})
            set(art "${res}/quorvale.xpm" quorvale_xpm_to_png)
        else()
            set(render "${RSVG_CONVERT}" --width ${size} --height ${size} --keep-aspect-ratio
                       --output "${png}" "${res}/quorvale.svg")
            set(art "${res}/quorvale.svg")
        endif()
        add_custom_command(OUTPUT "${png}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
            COMMAND ${render}
            DEPENDS ${art}
            VERBATIM)
        list(APPEND pngs "${png}")
    endforeach()
    set(${variable} "${pngs}" PARENT_SCOPE)
endfunction()
