# Imported targets for the static third-party libraries that tools/third-party.sh
# builds into the cache (one prefix per library, all on CMAKE_PREFIX_PATH).
# Found by header and library name so the build machine's own copies can never
# be picked up (the find root is the MinGW sysroot plus those prefixes).

# zv_third_party(<target> HEADERS <files...> LIBS <names...> [DEFINES ...] [LINK ...])
# Each header's folder goes on the include path (the libraries live in
# separate prefixes); libraries are linked in the order given (dependents first).
function(zv_third_party target)
  cmake_parse_arguments(A "" "" "HEADERS;LIBS;DEFINES;LINK" ${ARGN})
  if(TARGET ${target})
    return()
  endif()
  set(includes "")
  foreach(header ${A_HEADERS})
    string(MAKE_C_IDENTIFIER ${header} id)
    find_path(${target}_${id}_INCLUDE ${header} PATH_SUFFIXES opus taglib REQUIRED)
    list(APPEND includes ${${target}_${id}_INCLUDE})
  endforeach()
  set(paths "")
  foreach(lib ${A_LIBS})
    find_library(${target}_${lib}_LIBRARY NAMES lib${lib}.a REQUIRED)
    list(APPEND paths ${${target}_${lib}_LIBRARY})
  endforeach()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${includes}"
    INTERFACE_LINK_LIBRARIES "${paths};${A_LINK}"
    INTERFACE_COMPILE_DEFINITIONS "${A_DEFINES}")
endfunction()

zv_third_party(zv_tp_mpg123 HEADERS mpg123.h LIBS mpg123 LINK shlwapi)
zv_third_party(zv_tp_flac HEADERS FLAC/stream_decoder.h LIBS FLAC ogg DEFINES FLAC__NO_DLL)
zv_third_party(zv_tp_vorbisfile HEADERS vorbis/vorbisfile.h ogg/ogg.h LIBS vorbisfile vorbis ogg)
zv_third_party(zv_tp_opusfile HEADERS opusfile.h opus.h ogg/ogg.h LIBS opusfile opus ogg)
# For zvid3 (tags). zlib is the MinGW sysroot's; the static link makes -lz
# take libz.a, so no zlib1.dll is needed.
zv_third_party(zv_tp_taglib HEADERS taglib/tag.h tag.h LIBS tag DEFINES TAGLIB_STATIC LINK z)
# For the video input. Static FFmpeg needs bcrypt (libavutil's random seed).
zv_third_party(zv_tp_ffmpeg HEADERS libavformat/avformat.h
  LIBS avformat avcodec swscale swresample avutil LINK bcrypt)
