# Build helpers shared by every folder of the source tree.

if(WIN32)
  set(QV_PLATFORM win32)
else()
  set(QV_PLATFORM posix)
endif()

# Windows tests run the x86_64 build under wine64; the i686 product cannot run
# on these machines, so its build only carries static checks.
set(QV_CAN_RUN_TESTS ON)
if(WIN32 AND CMAKE_CROSSCOMPILING)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QV_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh;--prefix;${QV_WINEPREFIX}")
  else()
    set(QV_CAN_RUN_TESTS OFF)
  endif()
endif()

add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-Wall;-Wextra;-Wpedantic;-Werror;-Wshadow;-Wnon-virtual-dtor>"
  "$<$<COMPILE_LANGUAGE:C>:-Wall>")

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                          _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One file, importing only system DLLs; unused code is left out.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
endif()

if(QV_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QV_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Fuzz builds instrument every library for coverage; only the harnesses
# link libFuzzer's driver.
if(QV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# qv_platform_sources(<var> <dir> <base>...): for each base name adds
# base.cpp and base_<platform>.cpp when they exist.
function(qv_platform_sources var dir)
  set(out ${${var}})
  foreach(base IN LISTS ARGN)
    foreach(f "${dir}/${base}.cpp" "${dir}/${base}_${QV_PLATFORM}.cpp")
      if(EXISTS "${f}")
        list(APPEND out "${f}")
      endif()
    endforeach()
  endforeach()
  set(${var} ${out} PARENT_SCOPE)
endfunction()

# qv_add_gtest(<name> SOURCES ... LIBS ... [LABELS ...] [WINDOWS_ONLY] [HOST_ONLY])
# One CTest entry per test case on the host; one per executable under Wine,
# where starting a process costs far more.
function(qv_add_gtest name)
  cmake_parse_arguments(T "WINDOWS_ONLY;HOST_ONLY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(T_HOST_ONLY AND WIN32)
    return()
  endif()
  if(QV_FUZZ)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qv::gtest)
  if(NOT QV_CAN_RUN_TESTS)
    return()
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "wine;${T_LABELS}")
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} PROPERTIES LABELS "${T_LABELS}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# qv_add_fuzzer(<name> SOURCES ... LIBS ... CORPUS <dir>)
# The harness runs for QV_FUZZ_SECONDS over a copy of its seed corpus; files in
# CORPUS (seeds and kept crashers) are replayed first, so a past crasher fails
# the test at once.
function(qv_add_fuzzer name)
  if(NOT QV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work "${CMAKE_BINARY_DIR}/fuzz/${name}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}>
                   ${F_CORPUS} ${work} ${QV_FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

# qv_add_benchmark(<name> SOURCES ... LIBS ...): Google Benchmark programs;
# built everywhere benchmarks are on, never run by the test command.
function(qv_add_benchmark name)
  if(NOT QV_BENCHMARKS OR WIN32 OR QV_FUZZ OR QV_SANITIZE)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# qv_add_folder_library(<lib> <dir> LIBS ...): the folder's library from every
# foo.cpp and foo_<this platform>.cpp; its unit test program <lib>_test from
# every foo_test.cpp (foo_test_<platform>.cpp too); one fuzzer per
# foo_fuzz.cpp (corpus tests/fuzz/foo); one benchmark per foo_bench.cpp.
function(qv_add_folder_library lib dir)
  cmake_parse_arguments(L "" "" "LIBS;TEST_LIBS" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
  set(sources)
  set(tests)
  set(fuzzers)
  set(benches)
  if(QV_PLATFORM STREQUAL win32)
    set(other posix)
  else()
    set(other win32)
  endif()
  foreach(f IN LISTS all)
    get_filename_component(n "${f}" NAME_WE)
    if(n MATCHES "_${other}$")
      continue()
    elseif(n MATCHES "_test$" OR n MATCHES "_test_${QV_PLATFORM}$")
      list(APPEND tests "${f}")
    elseif(n MATCHES "_fuzz$")
      list(APPEND fuzzers "${f}")
    elseif(n MATCHES "_bench$")
      list(APPEND benches "${f}")
    else()
      list(APPEND sources "${f}")
    endif()
  endforeach()
  if(sources)
    add_library(${lib} STATIC ${sources})
  else()
    add_library(${lib} INTERFACE)
  endif()
  get_target_property(type ${lib} TYPE)
  if(type STREQUAL INTERFACE_LIBRARY)
    target_include_directories(${lib} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${lib} INTERFACE ${L_LIBS})
  else()
    target_include_directories(${lib} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${lib} PUBLIC ${L_LIBS})
  endif()
  if(tests)
    qv_add_gtest(${lib}_test SOURCES ${tests} LIBS ${lib} ${L_TEST_LIBS})
  endif()
  foreach(f IN LISTS fuzzers)
    get_filename_component(n "${f}" NAME_WE)
    qv_add_fuzzer(${n} SOURCES ${f} LIBS ${lib} CORPUS ${CMAKE_SOURCE_DIR}/tests/fuzz/${n})
  endforeach()
  foreach(f IN LISTS benches)
    get_filename_component(n "${f}" NAME_WE)
    qv_add_benchmark(${n} SOURCES ${f} LIBS ${lib})
  endforeach()
endfunction()
