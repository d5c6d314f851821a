# libwebp's decoder and demuxer: Debian's libwebp-dev natively, the static
# mingw build of scripts/build-windows-deps.sh for Windows. The fuzz build
# compiles Debian's source (kept by that script) with its instrumentation, so
# the fuzzer sees inside the decoder; without that source it links the
# system's library.
if(VELMORA_FUZZ)
  file(GLOB webp_sources LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/build/deps/src/libwebp-*")
  list(FILTER webp_sources EXCLUDE REGEX "\\.(gz|xz|asc|dsc)$")
  set(VELMORA_WEBP_SOURCE_DIR "${webp_sources}" CACHE PATH "Debian's libwebp source tree")
endif()
if(VELMORA_FUZZ AND EXISTS "${VELMORA_WEBP_SOURCE_DIR}/CMakeLists.txt")
  foreach(option ANIM_UTILS CWEBP DWEBP GIF2WEBP IMG2WEBP VWEBP WEBPINFO WEBPMUX EXTRAS)
    set(WEBP_BUILD_${option} OFF CACHE BOOL "" FORCE)
  endforeach()
  add_subdirectory("${VELMORA_WEBP_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/libwebp" EXCLUDE_FROM_ALL)
  add_library(WebP::webp INTERFACE IMPORTED)
  set_target_properties(WebP::webp PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${VELMORA_WEBP_SOURCE_DIR}/src"
    INTERFACE_LINK_LIBRARIES "webpdemux;webp")
  return()
endif()

if(WIN32 AND NOT EXISTS "${VELMORA_DEPS_PREFIX}/lib/libwebp.a")
  message(FATAL_ERROR "No libwebp in ${VELMORA_DEPS_PREFIX}: run scripts/setup.sh")
endif()
find_path(WEBP_INCLUDE_DIR webp/decode.h REQUIRED)
if(WIN32)
  find_library(WEBP_LIBRARY NAMES libwebp.a REQUIRED)
  find_library(WEBPDEMUX_LIBRARY NAMES libwebpdemux.a REQUIRED)
else()
  find_library(WEBP_LIBRARY NAMES webp REQUIRED)
  find_library(WEBPDEMUX_LIBRARY NAMES webpdemux REQUIRED)
endif()
add_library(WebP::webp INTERFACE IMPORTED)
set_target_properties(WebP::webp PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${WEBP_INCLUDE_DIR}"
  INTERFACE_LINK_LIBRARIES "${WEBPDEMUX_LIBRARY};${WEBP_LIBRARY}")
