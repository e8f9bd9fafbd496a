# cmake -DROOT=<dir> -DFOLDERS="content;document" -P CheckNoGuiIncludes.cmake
#
# Fails when a source below ROOT/<folder> includes a header of the Qt GUI
# application (QGuiApplication, QClipboard, QPalette, QMimeData): the model
# reaches the user, the clipboard and the system colours only through
# CUiServices (platform/uiservices.h), so it runs headless.
if(NOT ROOT OR NOT FOLDERS)
  message(FATAL_ERROR "ROOT and FOLDERS must be given")
endif()

set(_pattern "#[ \t]*include[ \t]*[<\"](QtGui/)?(QGuiApplication|QClipboard|QPalette|QMimeData)[>\"]")
set(_found "")
foreach(_folder IN LISTS FOLDERS)
  file(GLOB_RECURSE _files "${ROOT}/${_folder}/*.h" "${ROOT}/${_folder}/*.cpp")
  foreach(_file IN LISTS _files)
    file(STRINGS "${_file}" _lines REGEX "${_pattern}")
    foreach(_line IN LISTS _lines)
      file(RELATIVE_PATH _rel "${ROOT}" "${_file}")
      string(STRIP "${_line}" _line)
      list(APPEND _found "${_rel}: ${_line}")
    endforeach()
  endforeach()
endforeach()

if(_found)
  list(JOIN _found "\n  " _report)
  message(FATAL_ERROR "Qt GUI headers included by model code (use Ui() instead):\n  ${_report}")
endif()
message(STATUS "No Qt GUI application headers below: ${FOLDERS}")
