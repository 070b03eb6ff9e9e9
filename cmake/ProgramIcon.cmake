# The program's icon in the PNG sizes of the hicolor theme, drawn from the one SVG at build
# time so that no generated image is kept in the sources. The desktop programs carry them as
# a resource for their windows; packaging/ installs them for the menu and task bars.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(VENTROLUX_ICON_SVG ${PROJECT_SOURCE_DIR}/packaging/ventrolux.svg)
set(VENTROLUX_ICON_SIZES 16 32 48 64 128 256)
set(VENTROLUX_ICON_PNGS)
foreach(size ${VENTROLUX_ICON_SIZES})
  set(_png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/ventrolux.png)
  add_custom_command(
    OUTPUT ${_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${_png} ${VENTROLUX_ICON_SVG}
    DEPENDS ${VENTROLUX_ICON_SVG}
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND VENTROLUX_ICON_PNGS ${_png})
endforeach()
add_custom_target(ventrolux-icons ALL DEPENDS ${VENTROLUX_ICON_PNGS})
