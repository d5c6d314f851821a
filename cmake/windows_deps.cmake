# zlib, libpng and libjpeg-turbo for the Windows build: zlib from Debian's
# mingw package, the other two from the prefix that
# scripts/build-windows-deps.sh builds. All three link statically.
set(VELMORA_DEPS_PREFIX "${CMAKE_SOURCE_DIR}/build/deps/mingw-w64"
    CACHE PATH "Prefix holding the mingw builds of libpng and libjpeg-turbo")
if(NOT EXISTS "${VELMORA_DEPS_PREFIX}/lib/libjpeg.a")
  message(FATAL_ERROR "No Windows libraries in ${VELMORA_DEPS_PREFIX}: run scripts/setup.sh")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${VELMORA_DEPS_PREFIX}")
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
foreach(lib IN ITEMS ${PNG_LIBRARIES} ${JPEG_LIBRARIES} ${ZLIB_LIBRARIES})
  if(lib MATCHES "\\.dll\\.a$")
    message(FATAL_ERROR "Expected a static library, found ${lib}")
  endif()
endforeach()
