# cmake -P cmake/CheckTestIncludes.cmake [-DSOURCE_DIR=<checkout>]
#
# Each test folder (tests/<suite>) includes the program's headers, its own
# helpers and the shared ones of tests/support ("support/<name>.h"), never a
# helper of another test folder, neither by climbing out with "../" nor by
# its path below tests/. Benchmarks include only tests/support.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(_violations 0)
file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/bench/*.h" "${SOURCE_DIR}/bench/*.cpp")
foreach(_file ${_files})
  if(_file MATCHES "^tests/([^/]+)/")
    set(_suite "${CMAKE_MATCH_1}")
  else()
    set(_suite "")
  endif()
  file(STRINGS "${SOURCE_DIR}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(_line ${_includes})
    if(NOT _line MATCHES "\"([^\"]+)\"")
      continue()
    endif()
    set(_target "${CMAKE_MATCH_1}")
    if(_target MATCHES "^\\.\\./")
      message(NOTICE "${_file}: ${_line}")
      math(EXPR _violations "${_violations} + 1")
    elseif(_target MATCHES "^tests/([^/]+)/")
      # Spelled from the checkout's root, which every library exports.
      set(_to "${CMAKE_MATCH_1}")
      if(NOT _to STREQUAL "support" AND NOT _to STREQUAL _suite)
        message(NOTICE "${_file}: ${_line} (a helper of tests/${_to})")
        math(EXPR _violations "${_violations} + 1")
      endif()
    elseif(_target MATCHES "^([^/]+)/" AND EXISTS "${SOURCE_DIR}/tests/${_target}"
           AND NOT EXISTS "${SOURCE_DIR}/${_target}")
      # A helper below tests/: of the file's own folder or of tests/support.
      set(_to "${CMAKE_MATCH_1}")
      if(NOT _to STREQUAL "support" AND NOT _to STREQUAL _suite)
        message(NOTICE "${_file}: ${_line} (a helper of tests/${_to})")
        math(EXPR _violations "${_violations} + 1")
      endif()
    endif()
  endforeach()
endforeach()

if(_violations GREATER 0)
  message(FATAL_ERROR "${_violations} include(s) reach into another test folder")
endif()
message(STATUS "Test includes stay in their folders or use tests/support")
