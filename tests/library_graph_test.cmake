# Feeds the library-graph checks made-up graphs and sources, and fails when a
# fault goes unreported or a sound case is reported.
# Run: cmake -DSOURCE_DIR=<repo> -DWORK_DIR=<scratch> -P tests/library_graph_test.cmake
cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/library_graph.cmake)

set(failures "")

# expect(<name> <problems> <regex or "">): "" means no problem may be reported.
function(expect name problems pattern)
  if("${pattern}" STREQUAL "")
    if(NOT "${problems}" STREQUAL "")
      list(APPEND failures "${name}: reported ${problems}")
    endif()
  elseif(NOT "${problems}" MATCHES "${pattern}")
    list(APPEND failures "${name}: expected /${pattern}/, got '${problems}'")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

set(layers 0:base 1:picture 2:engine 2:engine_gl 3:scene)

velmora_graph_problems(found NODES base picture engine engine_gl scene
  EDGES picture>base engine>picture engine_gl>engine scene>engine_gl scene>base LAYERS ${layers})
expect("layered graph" "${found}" "")

velmora_graph_problems(found NODES base picture engine engine_gl
  EDGES engine>engine_gl engine_gl>engine engine>base LAYERS ${layers})
expect("cycle inside a layer" "${found}" "cycle runs through or below: engine, engine_gl")

velmora_graph_problems(found NODES base picture engine
  EDGES picture>engine engine>base LAYERS ${layers})
expect("link to a higher layer" "${found}" "picture \\(layer 1\\) links engine \\(layer 2\\)")

velmora_graph_problems(found NODES base stray EDGES stray>base LAYERS ${layers})
expect("library without a layer" "${found}" "stray has no layer")

# Sources: the folders and lines a portable tree may and may not have.
set(tree ${WORK_DIR}/library_graph_tree)
file(REMOVE_RECURSE ${tree})
file(WRITE ${tree}/base/status.h "#include <winerror.h>\n#include \"base/thread.h\"\n")
file(WRITE ${tree}/base/win32/thread_win32.cpp "#include <windows.h>\n#include \"base/win32/x.h\"\n")
file(WRITE ${tree}/build/generated.h "#include <windows.h>\n")
velmora_header_problems(found ${tree})
expect("portable tree" "${found}" "")

file(WRITE ${tree}/scene/loader.cpp "  #  include <Windows.h>\n")
file(WRITE ${tree}/web/checker.h "#include \"frame/win32/saver_window.h\"\n")
file(WRITE ${tree}/diag/report.cpp "#include <dbghelp.h>\n")
velmora_header_problems(found ${tree})
expect("windows.h in portable code" "${found}" "scene/loader.cpp is portable")
expect("win32 header in portable code" "${found}" "web/checker.h is portable")
expect("system header in portable code" "${found}" "diag/report.cpp is portable")
file(REMOVE_RECURSE ${tree})

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "library graph checks:\n  ${text}")
endif()
