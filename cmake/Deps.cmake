# Third-party libraries as interface targets qv::<name>.
#
# Host: Debian's packages. Windows: static libraries that scripts/deps.sh
# builds from Debian source packages into ${QV_DEPS_DIR}/<triplet>.
# The LZMA SDK's 7z reader is compiled here from the C sources of Debian's
# 7zip source package, for every build.

if(DEFINED ENV{QV_DEPS_DIR})
  set(qv_default_deps "$ENV{QV_DEPS_DIR}")
else()
  set(qv_default_deps "${CMAKE_SOURCE_DIR}/build/deps")
endif()
set(QV_DEPS_DIR "${qv_default_deps}" CACHE PATH "Prepared dependencies")

# LZMA SDK: 7z archive reader (LZMA, LZMA2, BCJ filters), from 7zip's C folder.
file(GLOB QV_7ZIP_C_DIR LIST_DIRECTORIES true "${QV_DEPS_DIR}/src/7zip-*/C")
if(NOT QV_7ZIP_C_DIR)
  message(FATAL_ERROR "7zip sources missing under ${QV_DEPS_DIR}/src: run scripts/deps.sh first")
endif()
list(GET QV_7ZIP_C_DIR 0 QV_7ZIP_C_DIR)
add_library(qv_lzma STATIC
  ${QV_7ZIP_C_DIR}/7zArcIn.c ${QV_7ZIP_C_DIR}/7zBuf.c ${QV_7ZIP_C_DIR}/7zCrc.c
  ${QV_7ZIP_C_DIR}/7zCrcOpt.c ${QV_7ZIP_C_DIR}/7zDec.c ${QV_7ZIP_C_DIR}/7zStream.c
  ${QV_7ZIP_C_DIR}/7zAlloc.c ${QV_7ZIP_C_DIR}/Bcj2.c ${QV_7ZIP_C_DIR}/Bra.c
  ${QV_7ZIP_C_DIR}/Bra86.c ${QV_7ZIP_C_DIR}/BraIA64.c ${QV_7ZIP_C_DIR}/CpuArch.c
  ${QV_7ZIP_C_DIR}/Delta.c ${QV_7ZIP_C_DIR}/Lzma2Dec.c ${QV_7ZIP_C_DIR}/LzmaDec.c)
target_include_directories(qv_lzma SYSTEM PUBLIC ${QV_7ZIP_C_DIR})
target_compile_options(qv_lzma PRIVATE -w)
# The SDK reads little-endian numbers with deliberate unaligned loads on x86.
if(QV_SANITIZE STREQUAL "address")
  target_compile_options(qv_lzma PRIVATE -fno-sanitize=alignment)
endif()
add_library(qv::lzma ALIAS qv_lzma)

add_library(qv_stb INTERFACE)
add_library(qv::stb ALIAS qv_stb)
add_library(qv_curl INTERFACE)
add_library(qv::curl ALIAS qv_curl)
add_library(qv_jsoncpp INTERFACE)
add_library(qv::jsoncpp ALIAS qv_jsoncpp)
add_library(qv_gtest INTERFACE)
add_library(qv::gtest ALIAS qv_gtest)

if(WIN32)
  set(QV_WIN_DEPS "${QV_DEPS_DIR}/${QV_TRIPLET}")
  if(NOT EXISTS "${QV_WIN_DEPS}/lib/libcurl.a")
    message(FATAL_ERROR "Windows libraries missing in ${QV_WIN_DEPS}: run scripts/deps.sh ${QV_TRIPLET}")
  endif()
  target_include_directories(qv_stb SYSTEM INTERFACE "${QV_WIN_DEPS}/include/stb")
  target_include_directories(qv_curl SYSTEM INTERFACE "${QV_WIN_DEPS}/include")
  target_compile_definitions(qv_curl INTERFACE CURL_STATICLIB)
  target_link_libraries(qv_curl INTERFACE "${QV_WIN_DEPS}/lib/libcurl.a" z
                        ws2_32 crypt32 secur32 bcrypt advapi32)
  target_include_directories(qv_jsoncpp SYSTEM INTERFACE "${QV_WIN_DEPS}/include")
  target_link_libraries(qv_jsoncpp INTERFACE "${QV_WIN_DEPS}/lib/libjsoncpp.a")
  target_include_directories(qv_gtest SYSTEM INTERFACE "${QV_WIN_DEPS}/include")
  target_link_libraries(qv_gtest INTERFACE "${QV_WIN_DEPS}/lib/libgmock.a"
                        "${QV_WIN_DEPS}/lib/libgtest_main.a" "${QV_WIN_DEPS}/lib/libgtest.a")
else()
  find_path(QV_STB_INCLUDE stb_image.h PATH_SUFFIXES stb REQUIRED)
  target_include_directories(qv_stb SYSTEM INTERFACE "${QV_STB_INCLUDE}")
  find_package(CURL REQUIRED)
  target_link_libraries(qv_curl INTERFACE CURL::libcurl)
  find_package(jsoncpp REQUIRED)
  target_link_libraries(qv_jsoncpp INTERFACE JsonCpp::JsonCpp)
  find_package(GTest REQUIRED)
  target_link_libraries(qv_gtest INTERFACE GTest::gmock GTest::gtest_main GTest::gtest)
  if(QV_BENCHMARKS AND NOT QV_FUZZ AND NOT QV_SANITIZE)
    find_package(benchmark REQUIRED)
  endif()
  find_package(Threads REQUIRED)
endif()
