# zv_utf8_manifest(TARGET): embeds the manifest that declares the UTF-8
# active code page (player programs only; test programs run without it).
set(ZV_UTF8_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/utf8.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/utf8_manifest.rc.in ${CMAKE_BINARY_DIR}/resources/utf8_manifest.rc @ONLY)
function(zv_utf8_manifest target)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/resources/utf8_manifest.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/resources/utf8_manifest.rc APPEND PROPERTY OBJECT_DEPENDS ${ZV_UTF8_MANIFEST})
endfunction()
