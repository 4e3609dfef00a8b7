# Shared build settings and helpers for every Zorvak target.

# Options for our own code: high warnings as errors, debug info, static runtime
# (a missing MinGW runtime DLL shows under Wine only as exit code 53).
add_library(zv_common INTERFACE)
target_compile_options(zv_common INTERFACE
  -Wall -Wextra -Werror -g
  $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
target_compile_definitions(zv_common INTERFACE
  WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_options(zv_common INTERFACE -static -static-libgcc -static-libstdc++)
target_include_directories(zv_common INTERFACE ${PROJECT_SOURCE_DIR}/include)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(ZV_I686 ON)
else()
  set(ZV_I686 OFF)
endif()

# zv_add_dll(<target> OUTPUT_NAME <file name> [SUFFIX .dec] [OUTPUT_DIR <dir>]
#            EXPORTS <list files...> SOURCES <files...> [ARCHIVES <static libraries...>])
# A DLL whose export table is exactly the names of its export lists, plain
# (undecorated) on both architectures. The .def file is generated from the
# lists and the compiled objects, so a listed name that is not implemented
# fails the build. ARCHIVES are linked whole: every object of them is part of
# the DLL (and may define an export), referenced or not.
function(zv_add_dll target)
  cmake_parse_arguments(A "" "OUTPUT_NAME;SUFFIX;OUTPUT_DIR" "EXPORTS;SOURCES;ARCHIVES" ${ARGN})
  if(NOT A_SUFFIX)
    set(A_SUFFIX .dll)
  endif()
  if(NOT A_OUTPUT_DIR)
    set(A_OUTPUT_DIR ${ZV_ROOT}/bin)
  endif()
  set(dllname ${A_OUTPUT_NAME}${A_SUFFIX})
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)

  add_library(${target}_objects OBJECT ${A_SOURCES})
  target_link_libraries(${target}_objects PUBLIC zv_common)
  set(archives "")
  foreach(lib ${A_ARCHIVES})
    list(APPEND archives $<TARGET_FILE:${lib}>)
  endforeach()

  add_custom_command(OUTPUT ${def}
    COMMAND ${PROJECT_SOURCE_DIR}/tools/make-def.sh ${def} ${dllname} ${ZV_NM}
            -- ${A_EXPORTS} -- $<TARGET_OBJECTS:${target}_objects> ${archives}
    DEPENDS ${A_EXPORTS} ${PROJECT_SOURCE_DIR}/tools/make-def.sh
            $<TARGET_OBJECTS:${target}_objects> ${A_ARCHIVES}
    COMMAND_EXPAND_LISTS
    COMMENT "Export table of ${dllname}")
  add_custom_target(${target}_def DEPENDS ${def})

  add_library(${target} SHARED $<TARGET_OBJECTS:${target}_objects> ${def})
  add_dependencies(${target} ${target}_def)
  target_link_libraries(${target} PUBLIC zv_common)
  if(A_ARCHIVES)
    target_link_libraries(${target} PRIVATE ${A_ARCHIVES})
    target_link_options(${target} PRIVATE LINKER:--whole-archive ${archives} LINKER:--no-whole-archive)
  endif()
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME ${A_OUTPUT_NAME} SUFFIX ${A_SUFFIX}
    RUNTIME_OUTPUT_DIRECTORY ${A_OUTPUT_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${A_OUTPUT_DIR}
    IMPORT_PREFIX lib IMPORT_SUFFIX .dll.a)
  if(ZV_I686)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    # ld's own import library loses the @N decoration; make one that keeps it.
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${ZV_DLLTOOL} -k -d ${def} -D ${dllname} -l $<TARGET_LINKER_FILE:${target}>)
  endif()
endfunction()

# zv_add_test(<target> SOURCES <files...> [LIBS <libs...>] [TIMEOUT s])
# One GoogleTest executable run under Wine as one CTest test. Each test gets
# its own folder for files it writes and the sound the device plays.
function(zv_add_test target)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  add_executable(${target} ${A_SOURCES})
  target_link_libraries(${target} PRIVATE zv_common zv_testkit GTest::gtest ${A_LIBS})
  if(ZV_I686)
    return()  # compiled and linked only; 32-bit programs cannot run here
  endif()
  set(run ${CMAKE_BINARY_DIR}/testrun/${target})
  file(MAKE_DIRECTORY ${run}/alsa)
  file(WRITE ${run}/alsa/asoundrc
    "pcm.!default { type file; slave.pcm \"null\"; file \"${run}/capture.raw\"; format \"raw\" }\n")
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    TIMEOUT ${A_TIMEOUT}
    FIXTURES_REQUIRED wine
    SKIP_RETURN_CODE 77
    ENVIRONMENT "WINEPREFIX=${ZV_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;XDG_CONFIG_HOME=${run};ZV_TEST_DIR=${run}")
endfunction()
