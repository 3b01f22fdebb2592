# The unit tests once more, over a second copy of the program built with
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer. Any report
# stops the test process with a failure, so `make test` fails on it.

# The program's own sources, whatever the core library lists today.
get_target_property(core_sources ravuriradoz_core SOURCES)
get_target_property(core_source_dir ravuriradoz_core SOURCE_DIR)
set(sanitized_core_sources "")
foreach(source IN LISTS core_sources)
  cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${core_source_dir}")
  list(APPEND sanitized_core_sources "${source}")
endforeach()

file(GLOB sanitized_unit_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/*.cpp)

set(sanitizer_flags -fsanitize=address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=all)

add_executable(unit_tests_sanitized
  ${sanitized_core_sources}
  ${CMAKE_CURRENT_SOURCE_DIR}/standin/standin.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/standin/clipboard_standin.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/standin/harness.cpp
  ${sanitized_unit_sources})
target_include_directories(unit_tests_sanitized PRIVATE
  ${core_source_dir} ${CMAKE_CURRENT_SOURCE_DIR}/standin)
target_include_directories(unit_tests_sanitized SYSTEM PRIVATE ${ALLEGRO_INCLUDE_DIRS})
# Warnings are reported but not fatal here: the ordinary build already holds
# these sources to -Werror, and the instrumented optimiser raises false alarms.
target_compile_options(unit_tests_sanitized PRIVATE
  ${ALLEGRO_CFLAGS_OTHER} ${sanitizer_flags} -Wall -Wextra -Wpedantic)
target_link_options(unit_tests_sanitized PRIVATE ${sanitizer_flags})
target_link_libraries(unit_tests_sanitized PRIVATE GTest::gtest_main)

# Each option set is one property value: the test discovery flattens lists,
# so the two variables travel in two different properties.
set(asan_options "halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:strict_init_order=1")
set(ubsan_options "halt_on_error=1:print_stacktrace=1")
gtest_discover_tests(unit_tests_sanitized
  TEST_PREFIX "Sanitized."
  DISCOVERY_TIMEOUT 60
  PROPERTIES
    LABELS sanitized
    TIMEOUT 60
    ENVIRONMENT "ASAN_OPTIONS=${asan_options}"
    ENVIRONMENT_MODIFICATION "UBSAN_OPTIONS=set:${ubsan_options}")
