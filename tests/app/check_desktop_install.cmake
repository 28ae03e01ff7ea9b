# Installs the program into a fresh prefix and checks what the desktop learns from it: the
# desktop entry (desktop-file-validate), the AppStream metainfo (appstreamcli validate), the
# program's and the document type's icons in the hicolor theme (scalable SVG and PNG sizes of
# the size their folder names) and that the entry, the metainfo and the document type name
# the icons and the entry that are installed.
# cmake -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch folder> -P check_desktop_install.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(rc)
  message(FATAL_ERROR "installing failed: ${err}")
endif()
set(share ${prefix}/share)
set(entry ${share}/applications/kestrum.Vekanto.desktop)
set(metainfo ${share}/metainfo/org.kestrum.Vekanto.metainfo.xml)

function(expect_file path)
  if(NOT EXISTS ${path})
    message(SEND_ERROR "not installed: ${path}")
  endif()
endfunction()

# A PNG's width and height from its header (bytes 16 to 23, big-endian).
function(expect_png_size path size)
  expect_file(${path})
  if(NOT EXISTS ${path})
    return()
  endif()
  file(READ ${path} header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING ${header} 0 8 width_hex)
  string(SUBSTRING ${header} 8 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    message(SEND_ERROR "${path} is ${width}x${height}, not ${size}x${size}")
  endif()
endfunction()

# The validators pass the entry and the metainfo.
expect_file(${entry})
expect_file(${metainfo})
execute_process(COMMAND desktop-file-validate ${entry} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc OR out MATCHES "error")
  message(SEND_ERROR "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${metainfo} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(rc)
  message(SEND_ERROR "appstreamcli validate: ${out}")
endif()

# The icons the entry and the document type name are there, in every size.
file(STRINGS ${entry} icon_line REGEX "^Icon=")
file(STRINGS ${entry} categories REGEX "^Categories=")
if(NOT icon_line STREQUAL "Icon=vekanto")
  message(SEND_ERROR "the desktop entry names the icon '${icon_line}'")
endif()
if(NOT categories MATCHES "2DGraphics")
  message(SEND_ERROR "the desktop entry's categories lack 2DGraphics: ${categories}")
endif()
file(READ ${share}/mime/packages/vekanto-mime.xml mime)
if(NOT mime MATCHES "<icon name=\"application-x-vekanto\"/>")
  message(SEND_ERROR "the document type names no installed icon")
endif()
file(READ ${metainfo} meta)
if(NOT meta MATCHES "<launchable type=\"desktop-id\">kestrum.Vekanto.desktop</launchable>"
   OR NOT meta MATCHES "<icon type=\"stock\">vekanto</icon>")
  message(SEND_ERROR "the metainfo does not name the installed entry and icon")
endif()
expect_file(${share}/icons/hicolor/scalable/apps/vekanto.svg)
expect_file(${share}/icons/hicolor/scalable/mimetypes/application-x-vekanto.svg)
foreach(size 16 22 24 32 48 64 128 256)
  expect_png_size(${share}/icons/hicolor/${size}x${size}/apps/vekanto.png ${size})
  expect_png_size(${share}/icons/hicolor/${size}x${size}/mimetypes/application-x-vekanto.png ${size})
endforeach()
