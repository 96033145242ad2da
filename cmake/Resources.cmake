# Windows resources: a version resource with the program's icon, and the data texts.

set(TARNWICK_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)

# tarnwick_version_resource(target PRODUCT p DESCRIPTION d VERSION 1.2.3.4)
function(tarnwick_version_resource target)
  cmake_parse_arguments(ARG "" "PRODUCT;DESCRIPTION;VERSION" "" ${ARGN})
  set(TARNWICK_RC_PRODUCT ${ARG_PRODUCT})
  set(TARNWICK_RC_DESCRIPTION ${ARG_DESCRIPTION})
  set(TARNWICK_RC_VERSION ${ARG_VERSION})
  string(REPLACE "." "," TARNWICK_RC_VERSION_COMMAS ${ARG_VERSION})
  set(TARNWICK_RC_ORIGINAL ${target}.exe)
  set(TARNWICK_RC_ICON ${TARNWICK_RESOURCE_DIR}/tarnwick.ico)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${TARNWICK_RESOURCE_DIR}/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${TARNWICK_RC_ICON})
endfunction()

# The translation table and the filter lists, as raw-data resources of `target`.
function(tarnwick_data_resources target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_data.rc)
  configure_file(${TARNWICK_RESOURCE_DIR}/tarnwick_data.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
    ${TARNWICK_RESOURCE_DIR}/translate.txt ${TARNWICK_RESOURCE_DIR}/file_white.txt
    ${TARNWICK_RESOURCE_DIR}/name_white.txt ${TARNWICK_RESOURCE_DIR}/name_black.txt)
endfunction()

# The main program's application manifest (elevation, DPI awareness, common controls 6).
function(tarnwick_manifest_resource target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  configure_file(${TARNWICK_RESOURCE_DIR}/manifest.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${TARNWICK_RESOURCE_DIR}/tarnwick.manifest)
endfunction()
