# The three programs and the program-only libraries they share.

add_library(xpkit_apps_common STATIC apps/common/Args.cpp apps/common/Options.cpp)
xpkit_target(xpkit_apps_common)
# The tools' own headers are included from apps/: "common/Args.h", "gallery/Gallery.h".
target_include_directories(xpkit_apps_common PUBLIC ${PROJECT_SOURCE_DIR}/apps)
target_link_libraries(xpkit_apps_common PUBLIC xpkit_codepage xpkit_files)
set_property(SOURCE apps/common/Options.cpp APPEND PROPERTY COMPILE_DEFINITIONS XPKIT_VERSION="${PROJECT_VERSION}")

add_library(xpkit_gallery_lib STATIC apps/gallery/Gallery.cpp apps/gallery/WindowFrame.cpp)
xpkit_target(xpkit_gallery_lib)
target_include_directories(xpkit_gallery_lib PUBLIC ${PROJECT_SOURCE_DIR}/apps)
target_link_libraries(xpkit_gallery_lib PUBLIC xpkit_msgbox xpkit_header xpkit_button xpkit_gradient xpkit_headless)

add_executable(xpkit-gallery apps/gallery/main.cpp)
xpkit_target(xpkit-gallery)
target_link_libraries(xpkit-gallery PRIVATE xpkit_gallery_lib xpkit_apps_common)

add_executable(xpkit apps/xpkit/main.cpp)
xpkit_target(xpkit)
target_link_libraries(xpkit PRIVATE xpkit_shell xpkit_msgbox xpkit_sdl2 xpkit_atk xpkit_headless xpkit_apps_common)

# The codec tool's own input and output: reading ahead and writing behind on threads of
# their own, and the progress line.
add_library(xpkit_codec_io STATIC apps/codec/BlockQueue.cpp apps/codec/ProgressBar.cpp apps/codec/ReadAhead.cpp
                                  apps/codec/WriteBehind.cpp)
xpkit_target(xpkit_codec_io)
target_link_libraries(xpkit_codec_io PUBLIC xpkit_apps_common)

add_executable(xpkit-codec apps/codec/main.cpp)
xpkit_target(xpkit-codec)
target_link_libraries(xpkit-codec PRIVATE xpkit_codecs xpkit_codec_io)

# The application icon as a PNG, for the desktop entry.
add_executable(xpkit_write_icon apps/icon/main.cpp)
xpkit_target(xpkit_write_icon)
target_link_libraries(xpkit_write_icon PRIVATE xpkit_shell)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/share/xpkit.png
                   COMMAND xpkit_write_icon ${PROJECT_BINARY_DIR}/share/xpkit.png DEPENDS xpkit_write_icon)

# Manual pages, made by help2man from each program's --help and its include file,
# packaging/man/TOOL.h2m: the name, synopsis, description, options, exit status,
# environment and related pages.
find_program(HELP2MAN help2man)
set(XPKIT_MAN_PAGES)
if(HELP2MAN)
  foreach(tool xpkit xpkit-gallery xpkit-codec)
    set(page ${PROJECT_BINARY_DIR}/share/man/${tool}.1)
    set(include ${PROJECT_SOURCE_DIR}/packaging/man/${tool}.h2m)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/share/man
                       COMMAND ${HELP2MAN} --no-info --no-discard-stderr --include=${include}
                               --version-string=${PROJECT_VERSION} --output=${page} $<TARGET_FILE:${tool}>
                       DEPENDS ${tool} ${include} VERBATIM)
    list(APPEND XPKIT_MAN_PAGES ${page})
  endforeach()
endif()
add_custom_target(xpkit_share ALL DEPENDS ${PROJECT_BINARY_DIR}/share/xpkit.png ${XPKIT_MAN_PAGES})
