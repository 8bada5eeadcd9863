# The libraries: the code page tables, the codecs, and the kit (drawing platform, control
# host, controls, layouts and the two backends). Headers are included as
# "xpkit/FOLDER/NAME.h": from the source tree while building (through a link named
# xpkit in the build's include folder) and from PREFIX/include/xpkit once installed.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/include)
file(CREATE_LINK ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/include/xpkit SYMBOLIC)
set(XPKIT_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
# The folders of the public headers: installed, and compiled beside system headers in a test.
set(XPKIT_HEADER_DIRS platform platform/text host backends/headless backends/sdl2 gradient controls/header
                      controls/button controls/msgbox layout codecs)

find_package(PkgConfig REQUIRED)
pkg_check_modules(XPKIT_TEXT REQUIRED IMPORTED_TARGET freetype2 harfbuzz fribidi fontconfig)
pkg_check_modules(XPKIT_PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(XPKIT_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(XPKIT_X11 REQUIRED IMPORTED_TARGET x11)

# xpkit_library(NAME EXPORT_NAME SOURCES...): a static library of the project.
function(xpkit_library name export)
  add_library(${name} STATIC ${ARGN})
  xpkit_target(${name})
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${XPKIT_INCLUDE_DIR}> $<INSTALL_INTERFACE:include>)
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${export} POSITION_INDEPENDENT_CODE ON)
  set_property(GLOBAL APPEND PROPERTY XPKIT_LIBRARIES ${name})
endfunction()

# The ANSI code pages and UTF conversion: all the codecs need of the platform; and file
# names made safe for messages, which every error naming a file uses.
xpkit_library(xpkit_codepage codepage src/xpkit/codepage/CodePage.cpp src/xpkit/codepage/PrintableName.cpp src/xpkit/codepage/Utf.cpp)

# Files in and out as the shell treats them: every writer of the codecs, the programs
# and the platform goes through OutputFile.
xpkit_library(xpkit_files files
  src/xpkit/files/InputFile.cpp
  src/xpkit/files/detail/InterruptCleanup.cpp
  src/xpkit/files/OutputFile.cpp
  src/xpkit/files/PathNames.cpp)
target_link_libraries(xpkit_files PUBLIC xpkit_codepage)

# The codecs stand on the code page tables and the file module alone.
xpkit_library(xpkit_codecs codecs_lib
  src/xpkit/codecs/b64.cpp
  src/xpkit/codecs/detail/Base64Avx2.cpp
  src/xpkit/codecs/detail/Base64Avx512.cpp
  src/xpkit/codecs/Base64Bytes.cpp
  src/xpkit/codecs/detail/Base64Pieces.cpp
  src/xpkit/codecs/CodecKernel.cpp
  src/xpkit/codecs/RC4_Calc.cpp
  src/xpkit/codecs/detail/TextBytes.cpp
  src/xpkit/codecs/detail/TextBytesAvx2.cpp
  src/xpkit/codecs/detail/TextBytesAvx512.cpp)
target_link_libraries(xpkit_codecs PUBLIC xpkit_codepage xpkit_files)
# Result texts are filled through std::basic_string::resize_and_overwrite, which is C++23.
add_library(xpkit_largetext OBJECT src/xpkit/codecs/detail/LargeText.cpp)
target_compile_options(xpkit_largetext PRIVATE -Wall -Wextra -Wpedantic)
target_include_directories(xpkit_largetext PRIVATE ${XPKIT_INCLUDE_DIR})
set_target_properties(xpkit_largetext PROPERTIES CXX_STANDARD 23 CXX_EXTENSIONS OFF POSITION_INDEPENDENT_CODE ON)
target_sources(xpkit_codecs PRIVATE $<TARGET_OBJECTS:xpkit_largetext>)

xpkit_library(xpkit_platform platform
  src/xpkit/platform/Gdi.cpp
  src/xpkit/platform/GdiObjects.cpp
  src/xpkit/platform/GdiText.cpp
  src/xpkit/platform/detail/PixelRules.cpp
  src/xpkit/platform/PngFile.cpp
  src/xpkit/platform/Region.cpp
  src/xpkit/platform/SessionTag.cpp
  src/xpkit/platform/User.cpp
  src/xpkit/platform/text/FontLibrary.cpp
  src/xpkit/platform/text/ResolvedFont.cpp
  src/xpkit/platform/text/ShapedText.cpp
  src/xpkit/platform/text/TextLayout.cpp)
target_link_libraries(xpkit_platform PUBLIC xpkit_codepage xpkit_files PkgConfig::XPKIT_TEXT PkgConfig::XPKIT_PNG)
# Where the kit finds Tahoma and MS Sans Serif unless XPKIT_FONT_DIR names another folder:
# Debian's fonts-wine puts them there. Installing refreshes fontconfig's cache of it.
set(XPKIT_UI_FONT_DIR /usr/share/wine/fonts CACHE PATH "Folder of the UI faces Tahoma and MS Sans Serif")
set_property(SOURCE src/xpkit/platform/text/FontLibrary.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             XPKIT_UI_FONT_DIR="${XPKIT_UI_FONT_DIR}")

xpkit_library(xpkit_host host
  src/xpkit/host/Compositor.cpp
  src/xpkit/host/Container.cpp
  src/xpkit/host/ControlSurface.cpp
  src/xpkit/host/Form.cpp
  src/xpkit/host/Host.cpp
  src/xpkit/host/PropertyBag.cpp
  src/xpkit/host/PropertyTable.cpp
  src/xpkit/host/Timer.cpp
  src/xpkit/host/UserControl.cpp)
target_link_libraries(xpkit_host PUBLIC xpkit_platform)

xpkit_library(xpkit_controls controls
  src/xpkit/gradient/clsGradient.cpp
  src/xpkit/controls/header/XPHeader.cpp
  src/xpkit/controls/button/XPButton.cpp
  src/xpkit/controls/button/XPButtonPainting.cpp
  src/xpkit/controls/msgbox/detail/ExclamationIcon.cpp
  src/xpkit/controls/msgbox/MsgBoxBody.cpp
  src/xpkit/controls/msgbox/frmMsgBox.cpp)
target_link_libraries(xpkit_controls PUBLIC xpkit_host)

xpkit_library(xpkit_layout layout
  src/xpkit/layout/ControlRegistry.cpp
  src/xpkit/layout/LayoutAttributes.cpp
  src/xpkit/layout/detail/LayoutBounds.cpp
  src/xpkit/layout/LayoutFile.cpp
  src/xpkit/layout/LayoutForm.cpp
  src/xpkit/layout/LayoutReader.cpp
  src/xpkit/layout/LayoutWriter.cpp)
target_link_libraries(xpkit_layout PUBLIC xpkit_controls)

xpkit_library(xpkit_headless headless src/xpkit/backends/headless/HeadlessBackend.cpp)
target_link_libraries(xpkit_headless PUBLIC xpkit_host)

# Xlib for what SDL does not offer: window-manager hints, frame extents, error handlers.
xpkit_library(xpkit_sdl2 sdl2
  src/xpkit/backends/sdl2/detail/DesktopScale.cpp
  src/xpkit/backends/sdl2/Sdl2Backend.cpp
  src/xpkit/backends/sdl2/detail/SdlInput.cpp
  src/xpkit/backends/sdl2/detail/SdlWindow.cpp
  src/xpkit/backends/sdl2/detail/X11Window.cpp)
target_link_libraries(xpkit_sdl2 PUBLIC xpkit_host PkgConfig::XPKIT_SDL2 PRIVATE PkgConfig::XPKIT_X11)

# What a program of its own links: xpkit::kit for windows and controls, xpkit::codecs for
# Base64 and RC4.
add_library(xpkit_kit INTERFACE)
target_link_libraries(xpkit_kit INTERFACE xpkit_layout xpkit_controls xpkit_host xpkit_platform xpkit_headless
                                          xpkit_sdl2)
set_target_properties(xpkit_kit PROPERTIES EXPORT_NAME kit)
add_library(xpkit_codecs_all INTERFACE)
target_link_libraries(xpkit_codecs_all INTERFACE xpkit_codecs)
set_target_properties(xpkit_codecs_all PROPERTIES EXPORT_NAME codecs)
add_library(xpkit::kit ALIAS xpkit_kit)
add_library(xpkit::codecs ALIAS xpkit_codecs_all)
