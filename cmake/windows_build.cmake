# The Windows program, its generated resources and demo deck, its tools and its Wine tests.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
# Warnings are errors: a warning left standing hides the next one.
set(PEMBORO_WARNINGS -Wall -Wextra -Wno-missing-field-initializers -Werror)
set(PEMBORO_WIN_LIBS gdiplus windowscodecs ole32 oleaut32 uuid comdlg32 winspool shell32 advapi32 winmm
    gdi32 user32 kernel32)
# Static runtime: the program runs on a bare Windows machine.
add_link_options(-static -static-libgcc -static-libstdc++)

# --- Generated bitmaps for the resource script -------------------------------------
set(PEMBORO_RES_GEN_DIR ${CMAKE_BINARY_DIR}/res)
set(PEMBORO_BITMAPS)
foreach(id RANGE 300 315)
  list(APPEND PEMBORO_BITMAPS ${PEMBORO_RES_GEN_DIR}/bmp${id}.bmp)
endforeach()
add_custom_command(
  OUTPUT ${PEMBORO_BITMAPS}
  COMMAND ${PEMBORO_PYTHON} ${CMAKE_SOURCE_DIR}/tools/deckgen/bitmaps.py --out ${PEMBORO_RES_GEN_DIR}
          --notice ${CMAKE_SOURCE_DIR}/src/res/copyright.h
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/deckgen/bitmaps.py ${CMAKE_SOURCE_DIR}/src/res/copyright.h
  COMMENT "Drawing the logo, notice and marker bitmaps"
  VERBATIM)
add_custom_target(pemboro_bitmaps DEPENDS ${PEMBORO_BITMAPS})

set(PEMBORO_RC ${CMAKE_SOURCE_DIR}/src/res/pemboro.rc)
set_source_files_properties(${PEMBORO_RC} PROPERTIES
  OBJECT_DEPENDS "${PEMBORO_BITMAPS};${CMAKE_SOURCE_DIR}/src/res/pemboro.manifest;${CMAKE_SOURCE_DIR}/src/res/resource.h")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PEMBORO_RES_GEN_DIR} -I${CMAKE_SOURCE_DIR}/src/res -c65001")
# Resources as an object library, so that the tests load the same bitmaps and menus.
add_library(pemboro_res OBJECT ${PEMBORO_RC})
add_dependencies(pemboro_res pemboro_bitmaps)

# --- The demo deck: slides, photos and demo files beside the program ---------------
set(PEMBORO_DECK_STAMP ${PEMBORO_DIST_DIR}/.deck-stamp)
add_custom_command(
  OUTPUT ${PEMBORO_DECK_STAMP}
  COMMAND ${PEMBORO_PYTHON} ${CMAKE_SOURCE_DIR}/tools/deckgen/deckgen.py
          --table ${CMAKE_SOURCE_DIR}/src/deck/deck_table.cpp --out ${PEMBORO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${PEMBORO_DECK_STAMP}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/deckgen/deckgen.py ${CMAKE_SOURCE_DIR}/src/deck/deck_table.cpp
  COMMENT "Generating the demo deck into ${PEMBORO_DIST_DIR}"
  VERBATIM)
add_custom_target(pemboro_deck ALL DEPENDS ${PEMBORO_DECK_STAMP})

# --- The program -----------------------------------------------------------------------
add_library(pemboro_core STATIC ${PEMBORO_CORE_SOURCES})
target_include_directories(pemboro_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(pemboro_core PRIVATE ${PEMBORO_WARNINGS})

file(GLOB PEMBORO_WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/framework/*.cpp
  ${CMAKE_SOURCE_DIR}/src/*/*_win.cpp)
# The entry point and the application object: each test program has its own.
list(FILTER PEMBORO_WIN_SOURCES EXCLUDE REGEX "/src/app/main_win\\.cpp$")
add_library(pemboro_win STATIC ${PEMBORO_WIN_SOURCES})
target_link_libraries(pemboro_win PUBLIC pemboro_core ${PEMBORO_WIN_LIBS})
target_compile_options(pemboro_win PRIVATE ${PEMBORO_WARNINGS})

add_executable(Pemboro WIN32 src/app/main_win.cpp $<TARGET_OBJECTS:pemboro_res>)
target_link_libraries(Pemboro PRIVATE pemboro_win)
target_link_options(Pemboro PRIVATE -municode)
target_compile_options(Pemboro PRIVATE ${PEMBORO_WARNINGS})
set_target_properties(Pemboro PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PEMBORO_DIST_DIR})
add_dependencies(Pemboro pemboro_deck)

# --- Tools -------------------------------------------------------------------------------
add_subdirectory(tools/vexa)
add_subdirectory(tools/desktop_keeper)
add_subdirectory(tools/launcher)
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/recorder/CMakeLists.txt)
  add_subdirectory(tools/recorder)
endif()

# --- Wine tests: one executable per folder of tests/win ----------------------------------
include(${CMAKE_SOURCE_DIR}/cmake/image_corpus.cmake)
file(GLOB PEMBORO_WIN_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(pemboro_test_support STATIC ${PEMBORO_WIN_SUPPORT})
target_include_directories(pemboro_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(pemboro_test_support PUBLIC pemboro_win GTest::gtest psapi)
target_compile_options(pemboro_test_support PRIVATE ${PEMBORO_WARNINGS})
target_compile_definitions(pemboro_test_support PUBLIC
  PEMBORO_IMAGE_CORPUS_DIR="${PEMBORO_IMAGE_CORPUS_DIR}"
  PEMBORO_DIST_DIR="${PEMBORO_DIST_DIR}"
  PEMBORO_BUILD_DIR="${CMAKE_BINARY_DIR}")

file(GLOB PEMBORO_WIN_TEST_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/win/*)
foreach(dir ${PEMBORO_WIN_TEST_DIRS})
  get_filename_component(name ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR name STREQUAL "support" OR name STREQUAL "room")
    continue()
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  if(NOT tests)
    continue()
  endif()
  add_executable(win_${name}_tests ${tests} $<TARGET_OBJECTS:pemboro_res>)
  target_link_libraries(win_${name}_tests PRIVATE pemboro_test_support GTest::gtest_main)
  target_compile_options(win_${name}_tests PRIVATE ${PEMBORO_WARNINGS})
  add_dependencies(win_${name}_tests pemboro_deck pemboro_image_corpus)
  gtest_discover_tests(win_${name}_tests TEST_PREFIX "wine.${name}." DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60 PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 120)
endforeach()

# The speaker's room: tests that need servers with several monitors, which their script starts
# and ends, in a Wine prefix of their own; one entry, since they share those servers.
file(GLOB PEMBORO_ROOM_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/room/*_test.cpp)
add_executable(win_room_tests ${PEMBORO_ROOM_TESTS} $<TARGET_OBJECTS:pemboro_res>)
target_link_libraries(win_room_tests PRIVATE pemboro_test_support GTest::gtest_main)
target_compile_options(win_room_tests PRIVATE ${PEMBORO_WARNINGS})
add_dependencies(win_room_tests pemboro_deck pemboro_image_corpus vexa_sim)
add_test(NAME wine.room COMMAND ${CMAKE_SOURCE_DIR}/tests/win/room/room_servers.sh
         $<TARGET_FILE:win_room_tests> ${CMAKE_BINARY_DIR}/wineprefix-room)
set_tests_properties(wine.room PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 900)

# --- Benchmarks and soak runs (print figures; not tests) ---------------------------------
# A source named after a benchmark and a part (paint_bench_overview_win.cpp) is a part of that
# benchmark, linked into it: its main calls the part's figures.
file(GLOB PEMBORO_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
set(PEMBORO_BENCH_NAMES)
foreach(src ${PEMBORO_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "_win$" "" name ${name})
  list(APPEND PEMBORO_BENCH_NAMES ${name})
endforeach()
foreach(src ${PEMBORO_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "_win$" "" name ${name})
  set(owner "")
  foreach(other ${PEMBORO_BENCH_NAMES})
    if(NOT other STREQUAL name AND name MATCHES "^${other}_")
      set(owner ${other})
    endif()
  endforeach()
  if(owner)
    list(APPEND PEMBORO_BENCH_PARTS_${owner} ${src})
  else()
    list(APPEND PEMBORO_BENCH_MAINS ${name})
    set(PEMBORO_BENCH_SOURCE_${name} ${src})
  endif()
endforeach()
foreach(name ${PEMBORO_BENCH_MAINS})
  add_executable(${name} ${PEMBORO_BENCH_SOURCE_${name}} ${PEMBORO_BENCH_PARTS_${name}} $<TARGET_OBJECTS:pemboro_res>)
  target_link_libraries(${name} PRIVATE pemboro_test_support)
  target_compile_options(${name} PRIVATE ${PEMBORO_WARNINGS})
endforeach()

# The return from a demo is measured over the stand-in simulator.
if(TARGET paint_bench)
  add_dependencies(paint_bench vexa_sim)
endif()
# The launch tests start the stand-in simulator and the shell recorder as real processes.
if(TARGET win_launch_tests)
  add_dependencies(win_launch_tests vexa_sim recorder)
endif()
