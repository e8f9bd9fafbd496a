# cmake -P cmake/CheckTestIncludes.cmake [-DSOURCE_DIR=<checkout>]
#
# Test and benchmark sources include shared helpers from tests/support
# ("support/<name>.h") or by their path below tests/, never by climbing out of
# their own folder with "../".
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(_violations 0)
file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/bench/*.h" "${SOURCE_DIR}/bench/*.cpp")
foreach(_file ${_files})
  file(STRINGS "${SOURCE_DIR}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\./")
  foreach(_line ${_includes})
    message(NOTICE "${_file}: ${_line}")
    math(EXPR _violations "${_violations} + 1")
  endforeach()
endforeach()

if(_violations GREATER 0)
  message(FATAL_ERROR "${_violations} include(s) climb out of their test folder")
endif()
message(STATUS "Test includes stay in their folders or use tests/support")
