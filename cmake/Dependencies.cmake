# rz_deps: the libraries the core links against, found per platform.
#   cabinet  - libmspack natively; cabinet.dll (loaded at run time) on Windows
#   LZMA     - liblzma (cross-built from Debian's source package for Windows)
#   PNG      - libpng natively (kof frames)
#   zlib     - the seek index deflates its pictures (libz-mingw-w64-dev for Windows)
# The web player's (Emscripten) zlib, libmspack and liblzma come from RZ_WEB_PREFIX.
# rz_export_deps: FFmpeg's libraries (libavcodec, libavformat, libavfilter, libswscale,
# libswresample, libavutil), which kof export encodes with; kof-export and the native
# tests. For Windows they and the encoders they link (x264, libvpx, opus) are
# cross-built by scripts/setup.sh, static.
# rz_png_deps: libpng, which kof frames writes with (natively part of rz_deps; for
# Windows cross-built by scripts/setup.sh and linked by kof.exe alone).
# rz_ocr_deps: Tesseract and Leptonica, which kof index reads text with; native kof only
# (kof-export.exe is built without its reading code).
# rz_demo_deps: LAME (libmp3lame-dev), which encodes the demo film's sound; only the
# native demo maker links it.
add_library(rz_deps INTERFACE)

if(EMSCRIPTEN)
  # Built by scripts/setup.sh from Debian's source packages with Emscripten.
  if(NOT RZ_WEB_PREFIX)
    if(DEFINED ENV{XDG_CACHE_HOME})
      set(RZ_WEB_PREFIX "$ENV{XDG_CACHE_HOME}/rorezodu/emscripten")
    else()
      set(RZ_WEB_PREFIX "$ENV{HOME}/.cache/rorezodu/emscripten")
    endif()
  endif()
  foreach(library lzma mspack z)
    if(NOT EXISTS "${RZ_WEB_PREFIX}/lib/lib${library}.a")
      message(FATAL_ERROR "lib${library}.a for Emscripten is missing in ${RZ_WEB_PREFIX}: run scripts/setup.sh")
    endif()
    target_link_libraries(rz_deps INTERFACE "${RZ_WEB_PREFIX}/lib/lib${library}.a")
  endforeach()
  target_include_directories(rz_deps INTERFACE "${RZ_WEB_PREFIX}/include")
elseif(WIN32)
  find_path(RZ_LZMA_INCLUDE lzma.h PATHS ${RZ_MINGW_PREFIX}/include REQUIRED NO_DEFAULT_PATH)
  find_library(RZ_LZMA_LIB NAMES liblzma.a lzma PATHS ${RZ_MINGW_PREFIX}/lib REQUIRED NO_DEFAULT_PATH)
  target_include_directories(rz_deps INTERFACE ${RZ_LZMA_INCLUDE})
  target_link_libraries(rz_deps INTERFACE ${RZ_LZMA_LIB})
  # zlib's static library, as liblzma's: the player needs no DLL beside it (the import
  # library would make it ask for zlib1.dll, which Wine has and Windows does not).
  find_library(RZ_ZLIB_STATIC_LIB NAMES libz.a REQUIRED)
  target_link_libraries(rz_deps INTERFACE ${RZ_ZLIB_STATIC_LIB})
  if(NOT RZ_FUZZ)
    # In the order they need each other; the system's last (bcrypt: libavutil's random
    # seeds).
    add_library(rz_export_deps INTERFACE)
    foreach(library avformat avfilter avcodec swscale swresample avutil x264 vpx opus)
      find_library(RZ_${library}_LIB NAMES lib${library}.a PATHS ${RZ_MINGW_PREFIX}/lib REQUIRED NO_DEFAULT_PATH)
      target_link_libraries(rz_export_deps INTERFACE ${RZ_${library}_LIB})
    endforeach()
    target_include_directories(rz_export_deps INTERFACE ${RZ_MINGW_PREFIX}/include)
    target_link_libraries(rz_export_deps INTERFACE bcrypt)
    add_library(rz_png_deps INTERFACE)
    find_library(RZ_PNG_LIB NAMES libpng16.a PATHS ${RZ_MINGW_PREFIX}/lib REQUIRED NO_DEFAULT_PATH)
    target_include_directories(rz_png_deps INTERFACE ${RZ_MINGW_PREFIX}/include)
    target_link_libraries(rz_png_deps INTERFACE ${RZ_PNG_LIB} ${RZ_ZLIB_STATIC_LIB})
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(RZ_PKG REQUIRED IMPORTED_TARGET liblzma libmspack libpng zlib)
  target_link_libraries(rz_deps INTERFACE PkgConfig::RZ_PKG)
endif()

if(NOT WIN32 AND NOT EMSCRIPTEN AND NOT RZ_FUZZ)
  find_path(RZ_LAME_INCLUDE lame/lame.h REQUIRED)
  find_library(RZ_LAME_LIB mp3lame REQUIRED)
  add_library(rz_demo_deps INTERFACE)
  pkg_check_modules(RZ_FFMPEG REQUIRED IMPORTED_TARGET libavcodec libavformat libavfilter libswscale libswresample
                    libavutil)
  add_library(rz_export_deps INTERFACE)
  target_link_libraries(rz_export_deps INTERFACE PkgConfig::RZ_FFMPEG)
  add_library(rz_png_deps INTERFACE)
  # Tesseract (libtesseract-dev, with Leptonica), which kof index reads the screen with.
  pkg_check_modules(RZ_TESSERACT REQUIRED IMPORTED_TARGET tesseract lept)
  add_library(rz_ocr_deps INTERFACE)
  target_link_libraries(rz_ocr_deps INTERFACE PkgConfig::RZ_TESSERACT)
  target_include_directories(rz_demo_deps INTERFACE ${RZ_LAME_INCLUDE})
  target_link_libraries(rz_demo_deps INTERFACE ${RZ_LAME_LIB})
endif()
