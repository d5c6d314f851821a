# libwebp's decoder and demuxer: Debian's libwebp-dev natively, the static
# mingw build of scripts/build-windows-deps.sh for Windows.
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
