# Fails unless the build a player gets is the one CI checks and the one the README's Performance
# figures are measured with: scripts/run.sh and scripts/test.sh both make it through
# scripts/player_build.sh (test.sh then starts its game), and its build type is that of the
# README's build-rel command.
# Run: cmake -DROOT=<source> -P cmake/CheckPlayerBuild.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${ROOT}/scripts/player_build.sh definition)
file(READ ${ROOT}/README.md readme)
file(READ ${ROOT}/scripts/run.sh run)
file(READ ${ROOT}/scripts/test.sh test)
if(NOT run MATCHES "scripts/player_build.sh" OR NOT test MATCHES "scripts/player_build.sh")
  message(FATAL_ERROR "scripts/run.sh and scripts/test.sh must both make the player's build through scripts/player_build.sh")
endif()
if(NOT test MATCHES "scripts/check_player_start.sh")
  message(FATAL_ERROR "scripts/test.sh does not start the player's game (scripts/check_player_start.sh)")
endif()
string(REGEX MATCH "-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${definition}")
set(player "${CMAKE_MATCH_1}")
string(REGEX MATCH "-B build-rel [^`\n]*-DCMAKE_BUILD_TYPE=([A-Za-z]+)" _ "${readme}")
set(measured "${CMAKE_MATCH_1}")
if(player STREQUAL "" OR measured STREQUAL "")
  message(FATAL_ERROR "scripts/player_build.sh or the README's build-rel command names no build type")
endif()
if(NOT player STREQUAL measured)
  message(FATAL_ERROR "scripts/player_build.sh builds ${player}, the README's figures come from ${measured}")
endif()
