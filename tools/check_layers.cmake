# Checks that every include of the product's sources points to its own folder's layer or a
# lower one (docs/architecture.md, "Layers and libraries"). Run as `cmake -P` with SOURCE_DIR.
# The layers, lowest first; a folder belongs to the longest entry its path starts with.
set(layers
  platform toolkit model svg document canvas export plugins
  platform/ui toolkit/ui panels canvas/ui app)

function(layer_of path out)
  set(best -1)
  set(best_length 0)
  list(LENGTH layers count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    list(GET layers ${i} layer)
    string(LENGTH "${layer}" length)
    if((path STREQUAL layer OR path MATCHES "^${layer}/") AND length GREATER best_length)
      set(best ${i})
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} ${best} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/platform/*" "${SOURCE_DIR}/toolkit/*" "${SOURCE_DIR}/model/*"
     "${SOURCE_DIR}/svg/*" "${SOURCE_DIR}/document/*" "${SOURCE_DIR}/canvas/*"
     "${SOURCE_DIR}/export/*" "${SOURCE_DIR}/plugins/*" "${SOURCE_DIR}/panels/*" "${SOURCE_DIR}/app/*")
list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
set(failures "")
foreach(source IN LISTS sources)
  get_filename_component(folder "${source}" DIRECTORY)
  layer_of("${folder}" own)
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^#include \"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    get_filename_component(header_folder "${header}" DIRECTORY)
    layer_of("${header_folder}" included)
    if(included GREATER own)
      string(APPEND failures "  ${source} includes ${header}\n")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Includes that point up the layers:\n${failures}")
endif()
message(STATUS "Every include points down the layers (${SOURCE_DIR})")
