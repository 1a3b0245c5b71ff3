# Libraries of the web build: libpng and zlib compiled from Debian's source
# packages by tools/web/deps.sh; GLUT, OpenGL and threads come with emscripten.
# The engine is a static library; tools/web.sh links it into each game's page.
set(VINDLE_DEPS_DIR "${PROJECT_SOURCE_DIR}/build-web/deps" CACHE PATH "libpng and zlib built for the web")
foreach(library png16 z)
  if(NOT EXISTS "${VINDLE_DEPS_DIR}/lib/lib${library}.a")
    message(FATAL_ERROR "lib${library}.a is not in ${VINDLE_DEPS_DIR}: run tools/web/deps.sh")
  endif()
endforeach()

# Every thread of a page shares its memory: all code is built for that.
add_compile_options(-pthread)

add_library(vindle_deps INTERFACE)
# The web backend's include folder first: it supplies the freeglut header
# that emscripten's GLUT lacks.
target_include_directories(vindle_deps INTERFACE "${PROJECT_SOURCE_DIR}/src/platform/web/include"
                           "${VINDLE_DEPS_DIR}/include")
target_link_libraries(vindle_deps INTERFACE "${VINDLE_DEPS_DIR}/lib/libpng16.a" "${VINDLE_DEPS_DIR}/lib/libz.a")
