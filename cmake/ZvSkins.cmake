# The skins under <root>/skins and the program's pictures (icons, image lists
# and their resource script) are drawn by tools/skingen from vector shapes.
# They are made again whenever a file of the generator changes.
set(ZV_PYTHON3 /usr/bin/python3 CACHE INTERNAL "Debian's interpreter, which has Pillow")
file(GLOB ZV_SKINGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/skingen/*.py)
set(ZV_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
set(ZV_RESOURCE_RC ${ZV_RESOURCE_DIR}/zorvak.rc)
set(ZV_SKINS_STAMP ${CMAKE_BINARY_DIR}/skingen.stamp)

set(zv_skingen_args --skins ${ZV_ROOT}/skins --resources ${ZV_RESOURCE_DIR} --stamp ${ZV_SKINS_STAMP})
if(NOT ZV_I686)
  # Pictures for people to look at; one architecture is enough.
  list(APPEND zv_skingen_args --previews ${CMAKE_BINARY_DIR}/skin-previews)
endif()

add_custom_command(OUTPUT ${ZV_SKINS_STAMP} ${ZV_RESOURCE_RC}
  COMMAND ${ZV_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/skingen/skingen.py ${zv_skingen_args} > ${CMAKE_BINARY_DIR}/skingen.log
  DEPENDS ${ZV_SKINGEN_SOURCES}
  COMMENT "Drawing the skins and the program's pictures")
add_custom_target(zv_skins ALL DEPENDS ${ZV_SKINS_STAMP} ${ZV_RESOURCE_RC})
