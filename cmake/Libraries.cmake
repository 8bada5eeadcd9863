# The libraries, one per folder of src/xpkit/ (each folder's CMakeLists.txt names its
# sources and what it stands on). Headers are included as "xpkit/FOLDER/NAME.h" from
# src/ while building and from PREFIX/include once installed; a folder's detail/ headers
# are its own and are not installed.
set(XPKIT_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

find_package(PkgConfig REQUIRED)
pkg_check_modules(XPKIT_TEXT REQUIRED IMPORTED_TARGET freetype2 harfbuzz fribidi fontconfig)
pkg_check_modules(XPKIT_PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(XPKIT_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(XPKIT_X11 REQUIRED IMPORTED_TARGET x11 xrandr)
pkg_check_modules(XPKIT_WAYLAND REQUIRED IMPORTED_TARGET wayland-client)

# xpkit_library(NAME EXPORT_NAME SOURCES...): a static library of the kit or the codecs,
# installed with its folder's public headers.
function(xpkit_library name export)
  add_library(${name} STATIC ${ARGN})
  xpkit_target(${name})
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${XPKIT_SOURCE_ROOT}> $<INSTALL_INTERFACE:include>)
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${export} POSITION_INDEPENDENT_CODE ON)
  set_property(GLOBAL APPEND PROPERTY XPKIT_LIBRARIES ${name})
endfunction()

# The public headers, relative to src/: every header under src/xpkit/ but those in a
# detail/ folder and the program's own window (shell/). Installed, and compiled on
# their own and beside the system headers in the tests.
file(GLOB_RECURSE XPKIT_PUBLIC_HEADERS RELATIVE ${XPKIT_SOURCE_ROOT} CONFIGURE_DEPENDS ${XPKIT_SOURCE_ROOT}/xpkit/*.h)
list(FILTER XPKIT_PUBLIC_HEADERS EXCLUDE REGEX "/detail/|^xpkit/shell/")
list(SORT XPKIT_PUBLIC_HEADERS)

add_subdirectory(src/xpkit)
