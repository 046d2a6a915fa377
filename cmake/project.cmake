# Helpers shared by the module directories.

option(SANITIZE "native build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "where the deliverables are collected")
set(RUNTIME_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${RUNTIME_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${RUNTIME_DIR})

if(CMAKE_CROSSCOMPILING AND WIN32)
  # Plain Win32: no MFC, no Unicode default, nothing the host would have to ship.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # GetProcAddress results are cast to the entry's type; {sizeof x} starts Win32 records.
  add_compile_options(-Wall -Wextra -Wno-cast-function-type -Wno-missing-field-initializers)
  set(STATIC_RUNTIME_FLAGS -static -static-libgcc -static-libstdc++)
else()
  add_compile_options(-Wall -Wextra)
  if(SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# Test scripts use Debian's own interpreter: the Python modules they read PDFs,
# fonts and pictures with (pikepdf, fontTools, Pillow) come as Debian packages.
find_program(DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT DEBIAN_PYTHON)
  set(DEBIAN_PYTHON python3)
endif()

set(VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

# Windows binary that ships: static runtimes, a version resource, exports from
# its .def file, and a check of its export and import tables.
#   add_deliverable(name DLL|EXE DESCRIPTION text [DEF file] SOURCES ... [LIBS ...])
function(add_deliverable name kind)
  cmake_parse_arguments(D "" "DESCRIPTION;DEF" "SOURCES;LIBS" ${ARGN})
  if(kind STREQUAL "DLL")
    add_library(${name} SHARED ${D_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
    set(VERSION_FILETYPE "VFT_DLL")
    set(VERSION_EXT ".dll")
  else()
    add_executable(${name} ${D_SOURCES})
    set(VERSION_FILETYPE "VFT_APP")
    set(VERSION_EXT ".exe")
  endif()
  set(VERSION_NAME ${name})
  set(VERSION_DESCRIPTION "${D_DESCRIPTION}")
  configure_file(${VERSION_RC_TEMPLATE} ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc @ONLY)
  target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc)
  if(D_DEF)
    target_sources(${name} PRIVATE ${D_DEF})
    # No lib prefix, no "@N" suffixes: the add-on binds the plain names of the .def.
    target_link_options(${name} PRIVATE -Wl,--kill-at)
  endif()
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME_FLAGS})
  target_link_libraries(${name} PRIVATE ${D_LIBS})
  install(TARGETS ${name} RUNTIME DESTINATION bin LIBRARY DESTINATION bin)
  if(BUILD_TESTING)
    add_test(NAME binary_tables.${name}
             COMMAND ${DEBIAN_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/check_binary.py
                     $<TARGET_FILE:${name}> ${D_DEF})
  endif()
endfunction()

# Windows program or DLL used only by tests; it never goes to dist/.
function(add_test_binary name kind)
  cmake_parse_arguments(T "" "DEF" "SOURCES;LIBS" ${ARGN})
  if(kind STREQUAL "DLL")
    add_library(${name} SHARED ${T_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  else()
    add_executable(${name} ${T_SOURCES})
  endif()
  if(T_DEF)
    target_sources(${name} PRIVATE ${T_DEF})
    target_link_options(${name} PRIVATE -Wl,--kill-at)
  endif()
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME_FLAGS})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
endfunction()

# GoogleTest program run under Wine: one ctest entry per program, since each
# Wine start costs far more than a test case.
#   add_wine_test(name SOURCES ... [LIBS ...] [DEPENDS targets...])
function(add_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE wine_test_main ${T_LIBS})
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME_FLAGS})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS wine)
endfunction()

# GoogleTest program for the platform-free logic, built for Linux.
function(add_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${T_LIBS})
  gtest_discover_tests(${name} TEST_PREFIX "${name}." PROPERTIES LABELS native)
endfunction()

# libFuzzer target for input the library does not control, native clang build
# only; ctest runs it for a short fixed number of runs (FUZZ_RUNS), a benchmark
# or a developer longer:  build/native/bin/<name> -runs=1000000
set(FUZZ_RUNS 20000 CACHE STRING "runs of each fuzz target in the test run")
function(add_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(WINDOWS_BUILD OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  add_test(NAME fuzz.${name} COMMAND ${name} -runs=${FUZZ_RUNS} -seed=1
                                -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/)
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz)
endfunction()
