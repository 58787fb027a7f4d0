# The OS-free core and its tests, built with the host compiler under ASan and UBSan.
set(PEMBORO_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(pemboro_core STATIC ${PEMBORO_CORE_SOURCES})
target_include_directories(pemboro_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(pemboro_core PUBLIC -Wall -Wextra -Wpedantic -Werror ${PEMBORO_SANITIZE})
target_link_options(pemboro_core PUBLIC ${PEMBORO_SANITIZE})

include(${CMAKE_SOURCE_DIR}/cmake/image_corpus.cmake)

file(GLOB_RECURSE PEMBORO_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(pemboro_native_tests ${PEMBORO_NATIVE_TESTS})
target_include_directories(pemboro_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(pemboro_native_tests PRIVATE pemboro_core GTest::gtest_main)
target_compile_definitions(pemboro_native_tests PRIVATE PEMBORO_IMAGE_CORPUS_DIR="${PEMBORO_IMAGE_CORPUS_DIR}")
add_dependencies(pemboro_native_tests pemboro_image_corpus)
gtest_discover_tests(pemboro_native_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST)

# The code that runs on more than one thread (the picture cache's workers, the ledger, the banded filter),
# once more under ThreadSanitizer, which cannot share a build with AddressSanitizer.
set(PEMBORO_TSAN -fsanitize=thread -fno-omit-frame-pointer)
# The picture room's OS-free sources, and the tests of its cache and workers.
file(GLOB PEMBORO_PICTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/pictures/*.cpp)
list(FILTER PEMBORO_PICTURE_SOURCES EXCLUDE REGEX "_win\\.cpp$|image_header\\.cpp$")
file(GLOB PEMBORO_THREADED_PICTURE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/pictures/picture_*_test.cpp
     ${CMAKE_SOURCE_DIR}/tests/native/pictures/thumbnails_test.cpp ${CMAKE_SOURCE_DIR}/tests/native/pictures/look_ahead_test.cpp)
list(FILTER PEMBORO_THREADED_PICTURE_TESTS EXCLUDE REGEX "picture_plan_test\\.cpp$")
add_executable(pemboro_thread_tests
  ${PEMBORO_THREADED_PICTURE_TESTS}
  ${CMAKE_SOURCE_DIR}/tests/native/pictures/pixel_ledger_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/native/pictures/box_filter_test.cpp
  ${PEMBORO_PICTURE_SOURCES})
target_include_directories(pemboro_thread_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/native)
target_compile_options(pemboro_thread_tests PRIVATE -Wall -Wextra -Wpedantic -Werror ${PEMBORO_TSAN})
target_link_options(pemboro_thread_tests PRIVATE ${PEMBORO_TSAN})
target_link_libraries(pemboro_thread_tests PRIVATE GTest::gtest_main)
# The cache at full screen sizes scales pictures of up to 8 Mpx, which the sanitizer makes take
# minutes; its threads do nothing there that the other cache tests do not.
gtest_discover_tests(pemboro_thread_tests TEST_PREFIX "native.threads." DISCOVERY_MODE PRE_TEST
                     TEST_FILTER "-PictureCacheAtScreenSizes.*")

# The rooms of src/ include one another downwards only: the windows never include one another.
add_test(NAME native.rooms COMMAND ${PEMBORO_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/include_graph.py --check)
