# libharu for the Windows build: Debian's source package, fetched through apt
# once into the source tree's cache, cross-built with MinGW as a static
# library (zlib from libz-mingw-w64-dev, no PNG).
include(ExternalProject)

set(LIBHARU_CACHE_DIR ${CMAKE_SOURCE_DIR}/.cache/libharu CACHE PATH "where the libharu source tarball is kept")
execute_process(
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/fetch-libharu-source.sh ${LIBHARU_CACHE_DIR}
  OUTPUT_VARIABLE LIBHARU_TARBALL OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE fetch_result)
if(NOT fetch_result EQUAL 0 OR NOT EXISTS "${LIBHARU_TARBALL}")
  message(FATAL_ERROR "pagebinder: no libharu source (fetch-libharu-source.sh failed)")
endif()

set(mingw_root /usr/i686-w64-mingw32)
set(libharu_prefix ${CMAKE_BINARY_DIR}/libharu-mingw)
set(libharu_library ${libharu_prefix}/install/lib/libhpdfs.a)
ExternalProject_Add(libharu_mingw
  URL ${LIBHARU_TARBALL}
  DOWNLOAD_EXTRACT_TIMESTAMP TRUE
  PREFIX ${libharu_prefix}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${libharu_prefix}/install
    -DLIBHPDF_SHARED=OFF -DLIBHPDF_STATIC=ON -DLIBHPDF_EXAMPLES=OFF
    -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON
    -DZLIB_INCLUDE_DIR=${mingw_root}/include
    -DZLIB_LIBRARY=${mingw_root}/lib/libz.a
    -Wno-dev
  BUILD_BYPRODUCTS ${libharu_library}
  LOG_CONFIGURE TRUE LOG_BUILD TRUE LOG_INSTALL TRUE LOG_OUTPUT_ON_FAILURE TRUE)

file(MAKE_DIRECTORY ${libharu_prefix}/install/include)
add_library(libharu STATIC IMPORTED GLOBAL)
set_target_properties(libharu PROPERTIES
  IMPORTED_LOCATION ${libharu_library}
  INTERFACE_INCLUDE_DIRECTORIES ${libharu_prefix}/install/include
  INTERFACE_LINK_LIBRARIES ${mingw_root}/lib/libz.a)
add_dependencies(libharu libharu_mingw)
