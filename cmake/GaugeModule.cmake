# How a gauge module is built: a 32-bit DLL named NAME.gau in DIST_DIR,
# exporting only Linkage and ImportTable through a generated .def file,
# linked statically so that it needs nothing but system DLLs, and
# reproducible byte for byte (the automatic image base would hash the
# output path, so the default base is kept: relocations move it anyway).

set(GAUGE_COMPILE_OPTIONS
    -Os -ffunction-sections -fdata-sections
    -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -Wall -Wextra -Wno-missing-field-initializers)

set(GAUGE_LINK_OPTIONS
    -static -s
    -Wl,--gc-sections
    -Wl,--no-insert-timestamp
    -Wl,--disable-auto-image-base
    -Wl,--dynamicbase
    -Wl,--enable-reloc-section)

# gauge_module(NAME SOURCES src... RESOURCE file.rc BITMAPS bmp... INCLUDES dir...)
function(gauge_module name)
  cmake_parse_arguments(PARSE_ARGV 1 G "" "RESOURCE" "SOURCES;BITMAPS;INCLUDES")

  set(MODULE_NAME ${name})
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  configure_file(${PROJECT_SOURCE_DIR}/runtime/module.def.in ${def} @ONLY)

  # Each module gets its own copy of the resource script's object, since
  # the same script is compiled with a different build.h per module.
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  file(WRITE ${rc}.in "#include \"${G_RESOURCE}\"\n")
  configure_file(${rc}.in ${rc} COPYONLY)
  # windres does not tell CMake which bitmaps a script includes.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${G_BITMAPS};${G_RESOURCE}")

  add_library(${name}_code OBJECT ${G_SOURCES})
  target_include_directories(${name}_code PRIVATE ${G_INCLUDES})
  target_link_libraries(${name}_code PRIVATE gauge_runtime_headers)
  target_compile_options(${name}_code PRIVATE ${GAUGE_COMPILE_OPTIONS})

  add_library(${name} MODULE ${rc} ${def} $<TARGET_OBJECTS:${name}_code> $<TARGET_OBJECTS:gauge_runtime>)
  target_include_directories(${name} PRIVATE ${G_INCLUDES})
  target_link_libraries(${name} PRIVATE gauge_runtime_headers)
  target_link_options(${name} PRIVATE ${GAUGE_LINK_OPTIONS})
  set_target_properties(${name} PROPERTIES
      PREFIX "" SUFFIX ".gau" OUTPUT_NAME ${name}
      LIBRARY_OUTPUT_DIRECTORY ${DIST_DIR})

  # Loading a module must build nothing: fail the build if a static
  # constructor, destructor or exit handler crept into the module's code.
  add_custom_command(TARGET ${name} PRE_LINK
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-static-init
              ${CMAKE_NM} ${CMAKE_OBJDUMP} $<TARGET_OBJECTS:${name}_code> $<TARGET_OBJECTS:gauge_runtime>
      COMMAND_EXPAND_LISTS
      VERBATIM)
endfunction()
