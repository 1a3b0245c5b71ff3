# Libraries of the Linux build, all from Debian's -dev packages (tools/setup.sh).
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_package(GLUT REQUIRED)
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(Iconv REQUIRED)
find_package(Threads REQUIRED)
find_package(SDL2 REQUIRED)
find_package(SDL2_mixer REQUIRED)
find_package(X11 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

add_library(vindle_deps INTERFACE)
target_link_libraries(vindle_deps INTERFACE
  GLUT::GLUT OpenGL::GLU OpenGL::OpenGL OpenGL::GLX PNG::PNG Freetype::Freetype
  Fontconfig::Fontconfig Iconv::Iconv Threads::Threads SDL2::SDL2 SDL2_mixer::SDL2_mixer PkgConfig::MPG123 PkgConfig::SNDFILE X11::X11 X11::Xext X11::Xft)
