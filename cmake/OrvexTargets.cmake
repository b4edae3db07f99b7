# orvex_library(NAME name [DEPS targets...] [PRIVATE_DEPS targets...])
# One library per folder: every .cpp below the current folder is a source. A folder without
# sources yet is an interface library (headers only).
function(orvex_library)
  cmake_parse_arguments(ARG "" "NAME" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(_srcs)
    add_library(${ARG_NAME} STATIC ${_srcs})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
  endif()
endfunction()

# orvex_test(NAME name DIR folder LIBS targets... [GL])
# One GoogleTest program per test folder. Each test runs in its own process with a temporary
# HOME and headless SDL (set up by test_support's main, so the programs also behave when run by
# hand). GL: the program creates GL contexts; Mesa's llvmpipe keeps allocations past unload that
# LeakSanitizer cannot attribute, so leak detection is off for those programs only (address and
# undefined-behaviour checks stay on).
function(orvex_test)
  cmake_parse_arguments(ARG "GL" "NAME;DIR" "LIBS" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${ARG_NAME} ${_srcs})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} test_support)
  if(ARG_GL)
    target_sources(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/gl_sanitizer_options.cpp)
  endif()
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT 300)
endfunction()
