# The OS-free core and its tests, built with the host compiler under ASan and UBSan.
set(PEMBORO_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(pemboro_core STATIC ${PEMBORO_CORE_SOURCES})
target_include_directories(pemboro_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(pemboro_core PUBLIC -Wall -Wextra -Wpedantic -Werror=return-type ${PEMBORO_SANITIZE})
target_link_options(pemboro_core PUBLIC ${PEMBORO_SANITIZE})

include(${CMAKE_SOURCE_DIR}/cmake/image_corpus.cmake)

file(GLOB_RECURSE PEMBORO_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(pemboro_native_tests ${PEMBORO_NATIVE_TESTS})
target_include_directories(pemboro_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(pemboro_native_tests PRIVATE pemboro_core GTest::gtest_main)
target_compile_definitions(pemboro_native_tests PRIVATE PEMBORO_IMAGE_CORPUS_DIR="${PEMBORO_IMAGE_CORPUS_DIR}")
add_dependencies(pemboro_native_tests pemboro_image_corpus)
gtest_discover_tests(pemboro_native_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST)
