# libFuzzer targets on the OS-free core, built with clang under ASan and UBSan.
# Configured apart, into build/fuzz:  CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -DPEMBORO_FUZZ=ON
# Each tests/fuzz/<name>_fuzz.cpp is one target; its saved corpus tests/fuzz/corpus/<name>/ is
# replayed once as a test, and scripts/fuzz.sh grows it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz build needs clang: CC=clang-14 CXX=clang++-14")
endif()

set(PEMBORO_FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The core is instrumented for coverage but gets no main; the targets link libFuzzer's.
add_library(pemboro_fuzz_core STATIC ${PEMBORO_CORE_SOURCES})
target_include_directories(pemboro_fuzz_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/fuzz)
target_compile_options(pemboro_fuzz_core PUBLIC -Wall -Wextra -Werror=return-type ${PEMBORO_FUZZ_SANITIZE}
                       -fsanitize=fuzzer-no-link)
target_link_options(pemboro_fuzz_core PUBLIC ${PEMBORO_FUZZ_SANITIZE})

set(PEMBORO_FUZZ_CORPORA ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus)
file(GLOB PEMBORO_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src ${PEMBORO_FUZZ_SOURCES})
  get_filename_component(exe ${src} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${exe})
  if(NOT IS_DIRECTORY ${PEMBORO_FUZZ_CORPORA}/${name})
    message(FATAL_ERROR "tests/fuzz/corpus/${name}/ is missing: give the new target a seed input or two")
  endif()
  add_executable(${exe} ${src})
  target_link_libraries(${exe} PRIVATE pemboro_fuzz_core)
  target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
  # -runs=0: run every saved input once and stop. A failure leaves its input in artifacts/.
  add_test(NAME fuzz.${name}.corpus
           COMMAND ${exe} -runs=0 -artifact_prefix=${CMAKE_BINARY_DIR}/artifacts/${name}- ${PEMBORO_FUZZ_CORPORA}/${name}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(fuzz.${name}.corpus PROPERTIES TIMEOUT 120)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/artifacts)
