# Fails unless the build a player gets from scripts/run.sh is of the build type the README's
# Performance figures are measured with (its build-rel command), so the figures hold for it.
# Run: cmake -DROOT=<source> -P cmake/CheckPlayerBuild.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${ROOT}/scripts/run.sh run)
file(READ ${ROOT}/README.md readme)
string(REGEX MATCH "-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${run}")
set(player "${CMAKE_MATCH_1}")
string(REGEX MATCH "-B build-rel [^`\n]*-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${readme}")
set(measured "${CMAKE_MATCH_1}")
if(player STREQUAL "" OR measured STREQUAL "")
  message(FATAL_ERROR "scripts/run.sh or the README's build-rel command names no build type")
endif()
if(NOT player STREQUAL measured)
  message(FATAL_ERROR "scripts/run.sh builds ${player}, the README's figures come from ${measured}")
endif()
