# SPDX-License-Identifier: GPL-3.0-or-later
# The two core layers and the words above them as libraries, included by
# src/CMakeLists.txt and by the fuzz targets' project, so that both compile
# them the same way. The caller defines the interface target
# barovista_warnings with its compile options.
# The layers, each a library that sees only its own headers and those of the
# layers below it: pressure <- history <- messages <- ui <- app. Headers are
# included by their layer's name ("history/record.h"); each layer's name is
# published in an include root of its own in the build tree, so an include
# that runs up the layers does not compile.
set(BAROVISTA_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
function(barovista_layer_includes target layer)
  set(root ${CMAKE_CURRENT_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${layer})
    file(CREATE_LINK ${BAROVISTA_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# Qt's compile-time guards for the program's own code: no implicit
# conversion between QString and 8-bit strings (every text names its
# encoding), no connect without a context object, nothing Qt deprecated up
# to 6.4.
function(barovista_qt_guards target)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT QT_DISABLE_DEPRECATED_UP_TO=0x060400)
endfunction()

# Core: numbers, formulas and the history file. QtCore only, no widgets.
add_library(barovista_pressure STATIC
  ${BAROVISTA_SOURCE_DIR}/pressure/numbers.cpp
  ${BAROVISTA_SOURCE_DIR}/pressure/formulas.cpp
  ${BAROVISTA_SOURCE_DIR}/pressure/evaluation.cpp
  ${BAROVISTA_SOURCE_DIR}/pressure/calibration.cpp
  ${BAROVISTA_SOURCE_DIR}/pressure/inputfilter.cpp
)
barovista_layer_includes(barovista_pressure pressure)
barovista_qt_guards(barovista_pressure)
target_link_libraries(barovista_pressure PUBLIC Qt6::Core barovista_warnings)

add_library(barovista_history STATIC
  ${BAROVISTA_SOURCE_DIR}/history/taggedvalue.cpp
  ${BAROVISTA_SOURCE_DIR}/history/record.cpp
  ${BAROVISTA_SOURCE_DIR}/history/recordfile.cpp
  ${BAROVISTA_SOURCE_DIR}/history/recording.cpp
  ${BAROVISTA_SOURCE_DIR}/history/statistics.cpp
  ${BAROVISTA_SOURCE_DIR}/history/datafolder.cpp
  ${BAROVISTA_SOURCE_DIR}/history/historystore.cpp
  ${BAROVISTA_SOURCE_DIR}/history/session.cpp
  ${BAROVISTA_SOURCE_DIR}/history/log.cpp
)
barovista_layer_includes(barovista_history history)
barovista_qt_guards(barovista_history)
target_link_libraries(barovista_history PUBLIC barovista_pressure)

# The words for the history's problems and the refusals, shared by the
# window and the command line. QtCore only.
add_library(barovista_messages STATIC
  ${BAROVISTA_SOURCE_DIR}/messages/messages.cpp
)
barovista_layer_includes(barovista_messages messages)
barovista_qt_guards(barovista_messages)
target_link_libraries(barovista_messages PUBLIC barovista_history)

