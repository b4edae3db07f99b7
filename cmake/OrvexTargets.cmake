# The standard headers most sources include, precompiled for each library in every build: nine
# tenths of what a source of the engine or the game parses are these, so a unit and the check
# that each source compiles alone (scripts/check_compiles_alone.py) parse them once. Only
# standard headers: a source still includes the headers of this tree that it uses.
set(ORVEX_STANDARD_HEADERS <algorithm> <cmath> <cstddef> <cstdint> <cstdio> <cstdlib> <cstring> <functional>
    <limits> <map> <memory> <string> <string_view> <unordered_map> <utility> <vector>)
function(orvex_standard_pch target)
  target_precompile_headers(${target} PRIVATE ${ORVEX_STANDARD_HEADERS})
  target_compile_options(${target} PRIVATE "$<$<CXX_COMPILER_ID:Clang>:SHELL:-Xclang -fno-pch-timestamp>")
endfunction()

# orvex_library(NAME name [DEPS targets...] [PRIVATE_DEPS targets...] [SOURCES files...]
#               [HEADERS files...])
# One library per folder: every .cpp below the current folder is a source, except in subfolders
# that are targets of their own (they have a CMakeLists.txt). A folder that holds two libraries
# names each one's SOURCES and HEADERS. A folder without sources yet is an interface library.
# Every library is registered for the layering check below.
function(orvex_library)
  cmake_parse_arguments(ARG "" "NAME" "DEPS;PRIVATE_DEPS;SOURCES;HEADERS" ${ARGN})
  set(_dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${_dir}/ OUTPUT_VARIABLE _srcs)
    list(TRANSFORM ARG_HEADERS PREPEND ${_dir}/ OUTPUT_VARIABLE _hdrs)
  else()
    file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${_dir}/*.cpp ${_dir}/*.c)
    file(GLOB_RECURSE _hdrs CONFIGURE_DEPENDS ${_dir}/*.h)
    file(GLOB_RECURSE _subtargets ${_dir}/*/CMakeLists.txt)
    foreach(_sub ${_subtargets})
      get_filename_component(_subdir ${_sub} DIRECTORY)
      list(FILTER _srcs EXCLUDE REGEX "^${_subdir}/")
      list(FILTER _hdrs EXCLUDE REGEX "^${_subdir}/")
    endforeach()
  endif()
  if(_srcs)
    add_library(${ARG_NAME} STATIC ${_srcs})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    orvex_standard_pch(${ARG_NAME})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
  endif()
  set_property(GLOBAL APPEND PROPERTY ORVEX_LIBRARIES ${ARG_NAME})
  set_property(GLOBAL PROPERTY ORVEX_FILES_${ARG_NAME} ${_srcs} ${_hdrs})
endfunction()

# Every target ARG links, directly or not (libraries and imported targets by name).
function(orvex_link_closure target out)
  set(_seen "")
  set(_todo ${target})
  while(_todo)
    list(POP_FRONT _todo _t)
    if(NOT TARGET ${_t} OR _t IN_LIST _seen)
      continue()
    endif()
    list(APPEND _seen ${_t})
    get_target_property(_type ${_t} TYPE)
    set(_deps "")
    if(NOT _type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(_direct ${_t} LINK_LIBRARIES)
      if(_direct)
        list(APPEND _deps ${_direct})
      endif()
    endif()
    get_target_property(_iface ${_t} INTERFACE_LINK_LIBRARIES)
    if(_iface)
      list(APPEND _deps ${_iface})
    endif()
    list(APPEND _todo ${_deps})
  endwhile()
  list(REMOVE_ITEM _seen ${target})
  set(${out} ${_seen} PARENT_SCOPE)
endfunction()

# orvex_layering_check(DISPLAY_FREE targets...)
# Writes which files each library owns and which libraries it may include from (itself and
# what it links), for the "layering" test; and fails the configuration when one of the
# DISPLAY_FREE targets links SDL, OpenGL or EGL, directly or not.
function(orvex_layering_check)
  cmake_parse_arguments(ARG "" "" "DISPLAY_FREE" ${ARGN})
  get_property(_libs GLOBAL PROPERTY ORVEX_LIBRARIES)
  set(_manifest "")
  foreach(_lib ${_libs})
    orvex_link_closure(${_lib} _closure)
    list(FILTER _closure INCLUDE REGEX "^(port_|orvex_|sol_|signals)")
    get_property(_files GLOBAL PROPERTY ORVEX_FILES_${_lib})
    string(APPEND _manifest "L ${_lib} ${_closure}\n")
    foreach(_f ${_files})
      file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_f})
      string(APPEND _manifest "F ${_lib} ${_rel}\n")
    endforeach()
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/layering.txt "${_manifest}")
  foreach(_t ${ARG_DISPLAY_FREE})
    if(TARGET ${_t})
      orvex_link_closure(${_t} _closure)
      foreach(_dep ${_closure})
        if(_dep MATCHES "SDL|OpenGL|EGL")
          message(FATAL_ERROR "${_t} must not link ${_dep} (it needs no display): check its dependencies")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()

# orvex_test(NAME name DIR folder LIBS targets... [GL] [EXCLUDE_DIRS folders...] [SHARDS n])
# One GoogleTest program per test folder, with a temporary HOME and headless SDL (set up by
# test_support's main, so the programs also behave when run by hand). GL: the program creates GL
# contexts; Mesa's llvmpipe keeps allocations past unload that LeakSanitizer cannot attribute, so
# leak detection is off for those programs only (address and undefined-behaviour checks stay on).
# EXCLUDE_DIRS: subfolders that are test programs of their own.
# PCH: headers (from the source folder) most of the program's files include, compiled once with
# gtest and the standard headers.
# Two kinds of ctest test:
#  - "<name>.whole.<i>": the program run whole, its tests split into SHARDS processes by gtest's
#    own sharding (one when not given), each process running its share one after the other, so
#    that state one test leaves for the next shows; labelled "whole". This is what CI runs. Each
#    writes its results to whole/<name>.<i>.json, from which scripts/check_tests_ran.py proves
#    that every test of the program ran.
#  - each test alone in a process of its own, labelled "each_<name>" (one label: a list of labels
#    given through gtest_discover_tests loses all but its first): for
#    running one test by hand (ctest -R) and for telling a test that fails alone from one that
#    fails only after another.
# SECONDS: about how long the whole program takes in the test build, so ctest starts the longest
# shards first on a fresh build (later runs use the times ctest recorded).
function(orvex_test)
  cmake_parse_arguments(ARG "GL" "NAME;DIR;SHARDS;SECONDS" "LIBS;EXCLUDE_DIRS;PCH" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  foreach(_sub ${ARG_EXCLUDE_DIRS})
    list(FILTER _srcs EXCLUDE REGEX "^${_sub}/")
  endforeach()
  if(NOT _srcs)
    return()
  endif()
  add_executable(${ARG_NAME} ${_srcs})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} test_support)
  target_compile_options(${ARG_NAME} PRIVATE "$<$<CXX_COMPILER_ID:Clang>:SHELL:-Xclang -fno-pch-timestamp>")
  list(TRANSFORM ARG_PCH PREPEND ${PROJECT_SOURCE_DIR}/)
  target_precompile_headers(${ARG_NAME} PRIVATE <gtest/gtest.h> <algorithm> <cmath> <filesystem> <functional>
                            <map> <memory> <set> <string> <vector> ${ARG_PCH})
  if(ARG_GL)
    target_sources(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/gl_sanitizer_options.cpp)
  endif()
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT 300 LABELS each_${ARG_NAME})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 10)
  endif()
  math(EXPR _last "${ARG_SHARDS} - 1")
  math(EXPR _cost "${ARG_SECONDS} / ${ARG_SHARDS} + 1")
  foreach(_i RANGE ${_last})
    set(_test ${ARG_NAME}.whole.${_i})
    add_test(NAME ${_test}
             COMMAND ${ARG_NAME} --gtest_brief=1
                     --gtest_output=json:${CMAKE_CURRENT_BINARY_DIR}/whole/${ARG_NAME}.${_i}.json
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    # SDL would turn ctest's stop signal at a timeout into a quit event no test waits for. With
    # shards side by side on every core, llvmpipe draws best on the test's own thread. Every
    # allocation records its stack for AddressSanitizer's reports: four frames instead of thirty
    # take a sixth off the game tests' time (the failing access's own stack stays whole).
    set_tests_properties(${_test} PROPERTIES
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${_i};SDL_NO_SIGNAL_HANDLERS=1;LP_NUM_THREADS=1;ASAN_OPTIONS=malloc_context_size=4"
      LABELS whole TIMEOUT 2400 COST ${_cost})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ORVEX_TEST_PROGRAMS "${ARG_NAME} ${ARG_SHARDS}")
endfunction()

# orvex_unoptimised_here(): in the test build (build type Check) the code of this folder and below
# is compiled without optimisation and without the fuzzing coverage. For the tests' and the
# benchmarks' own code: the code under test stays optimised and instrumented, and the tests' code,
# over half of what the test build compiles, builds in about half the time.
macro(orvex_unoptimised_here)
  if(CMAKE_BUILD_TYPE STREQUAL "Check")
    get_directory_property(_orvex_options COMPILE_OPTIONS)
    list(TRANSFORM _orvex_options REPLACE "fuzzer-no-link," "")
    list(APPEND _orvex_options -O0)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "${_orvex_options}")
  endif()
endmacro()
