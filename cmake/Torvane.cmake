# Shared compile settings for every target of the project.
add_library(torvane_options INTERFACE)
target_compile_options(torvane_options INTERFACE -Wall -Wextra)
if(TORVANE_WERROR)
  target_compile_options(torvane_options INTERFACE -Werror)
endif()
if(TORVANE_SANITIZE)
  target_compile_options(torvane_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(torvane_options INTERFACE -fsanitize=address,undefined)
endif()
if(TORVANE_FUZZ)
  # Coverage for libFuzzer and both sanitizers in every library; the targets link the fuzzer's main.
  target_compile_options(torvane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=undefined)
  target_link_options(torvane_options INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
  # Unicode W functions only; no min/max macros from <windows.h>.
  target_compile_definitions(torvane_options INTERFACE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                                                      _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    # A single self-contained .exe: no libgcc, libstdc++ or winpthread DLL beside it.
    target_link_options(torvane_options INTERFACE -static -static-libgcc -static-libstdc++)
  endif()
endif()

# torvane_library(name SOURCES ...) : a static library of the project with the shared settings.
function(torvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC torvane_options ${ARG_DEPENDS})
endfunction()

# torvane_test(name SOURCES ... DEPENDS ... [WINDOW] [OWN_WINDOWS] [CORE_ONLY]) : a GoogleTest
# executable registered with CTest. Its main hands the platform's services to the core first
# (tests/support/TestMain.cpp); CORE_ONLY links GoogleTest's own main instead and no platform, for
# tests that prove the core stands alone. WINDOW marks tests that create windows: under Wine they need an X display.
# Under Wine, tests run inside a Wine desktop (fast window show and hide); OWN_WINDOWS runs one with
# top-level X windows instead, for tests that drive the shell's dialogs, whose timing the shared
# desktop upsets.
function(torvane_test name)
  cmake_parse_arguments(ARG "WINDOW;OWN_WINDOWS;CORE_ONLY" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_CORE_ONLY)
    target_link_libraries(${name} PRIVATE torvane_options ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
  else()
    target_link_libraries(${name} PRIVATE torvane_options ${ARG_DEPENDS} torvane_test_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Test programs cross-built for Windows are optimised lightly: most of their code is GoogleTest's
  # macros, slow to optimise and no faster for it, while the code under test keeps the preset's
  # optimisation in its libraries. The later -O1 wins over the configuration's -O3.
  if(CMAKE_CROSSCOMPILING)
    target_compile_options(${name} PRIVATE -O1)
  endif()
  if(ARG_OWN_WINDOWS AND CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:${name}> --gtest_brief=1)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
