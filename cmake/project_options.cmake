# Compiler settings shared by every target of the project.

# Paths inside the binaries are made relative, so nothing of the build machine
# (or its folder names) ends up in what we ship.
add_compile_options(
  "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/="
  "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")

# The fuzz build instruments every library, not just the fuzz targets.
if(VELMORA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

function(velmora_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VELMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

if(WIN32)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # Static C and C++ runtimes: nothing from mingw has to sit beside the program.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# Shipped programs: GUI subsystem, stripped.
function(velmora_gui_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -mwindows -s)
endfunction()

# The packed resources of the render engine, compiled into a program's
# module resources. windres reads the files the .rc names from the resources
# folder; the program is rebuilt when one of them changes.
set(VELMORA_PACKED_RESOURCES_RC ${PROJECT_SOURCE_DIR}/resources/packed_resources.rc)
if(WIN32)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR}/resources")
endif()

# The programs' application manifests; also linked into the test programs
# that run the programs' dialogs, so they run with the same common controls.
set(VELMORA_SAVER_MANIFEST_RC ${PROJECT_SOURCE_DIR}/resources/saver_manifest.rc)
set(VELMORA_SETUP_MANIFEST_RC ${PROJECT_SOURCE_DIR}/resources/setup_manifest.rc)

function(velmora_add_packed_resources target)
  file(GLOB packed_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/packed/*)
  target_sources(${target} PRIVATE ${VELMORA_PACKED_RESOURCES_RC})
  set_source_files_properties(${VELMORA_PACKED_RESOURCES_RC} TARGET_DIRECTORY ${target}
                              PROPERTIES OBJECT_DEPENDS "${packed_files}")
endfunction()
