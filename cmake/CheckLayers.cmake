# cmake -P cmake/CheckLayers.cmake [-DSOURCE_DIR=<checkout>]
#
# Fails when a source file includes a project header from a folder its own
# folder may not depend on. The folders and what each may include:
#
#   platform                                   platform
#   content/tables                             + content/tables
#   content/textparts, content/barcodes        + content/tables
#   content/objects                            + textparts, barcodes
#   content/images                             + content/objects
#   content/ (its own top files)               + every content folder
#   document <- tables <- shell <- app         each on all below it
#
# A file may always include headers of its own folder.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(_content_all content/tables content/textparts content/barcodes content/objects content/images content)
set(allowed_platform platform)
set(allowed_content/tables platform content/tables)
set(allowed_content/textparts platform content/tables content/textparts)
set(allowed_content/barcodes platform content/tables content/barcodes)
set(allowed_content/objects platform content/tables content/textparts content/barcodes content/objects)
set(allowed_content/images ${allowed_content/objects} content/images)
set(allowed_content platform ${_content_all})
set(allowed_document platform ${_content_all} document)
set(allowed_tables ${allowed_document} tables)
set(allowed_shell ${allowed_tables} shell)
set(allowed_app ${allowed_shell} app)

# The folder (layer) a project path belongs to.
function(layer_of path out)
  set(_layer "")
  if(path MATCHES "^content/([^/]+)/")
    set(_layer "content/${CMAKE_MATCH_1}")
  elseif(path MATCHES "^(platform|content|document|tables|shell|app)/")
    set(_layer "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${_layer}" PARENT_SCOPE)
endfunction()

set(_violations 0)
foreach(_top platform content document tables shell app)
  file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}"
       "${SOURCE_DIR}/${_top}/*.h" "${SOURCE_DIR}/${_top}/*.cpp")
  foreach(_file ${_files})
    layer_of("${_file}" _from)
    file(STRINGS "${SOURCE_DIR}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(_line ${_includes})
      if(NOT _line MATCHES "\"([^\"]+)\"")
        continue()
      endif()
      set(_target "${CMAKE_MATCH_1}")
      layer_of("${_target}" _to)
      if(_to STREQUAL "")
        continue() # not a project header (or one beside the file)
      endif()
      if(NOT _to IN_LIST allowed_${_from})
        message(NOTICE "${_file}: includes ${_target} (${_from} may not depend on ${_to})")
        math(EXPR _violations "${_violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_violations GREATER 0)
  message(FATAL_ERROR "${_violations} include(s) against the layer order")
endif()
message(STATUS "Includes follow the layer order")
