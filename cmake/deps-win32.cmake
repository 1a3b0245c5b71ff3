# Libraries of the Windows build: freeglut, libpng and zlib compiled from
# Debian's source packages by tools/windows/deps.sh, linked statically, with
# the C and C++ runtimes, so that Vindle.dll imports only system DLLs.
set(VINDLE_DEPS_DIR "${PROJECT_SOURCE_DIR}/build-windows/deps-${CMAKE_SYSTEM_PROCESSOR}"
    CACHE PATH "Static freeglut, libpng and zlib for this target")
set(libraries freeglut_static png16 z)
if(VINDLE_TESTS)
  list(APPEND libraries gtest)
  # Found here, not below the compilers' root where the search looks.
  set(GTest_DIR "${VINDLE_DEPS_DIR}/lib/cmake/GTest" CACHE PATH "GoogleTest built for this target")
endif()
foreach(library ${libraries})
  if(NOT EXISTS "${VINDLE_DEPS_DIR}/lib/lib${library}.a")
    message(FATAL_ERROR "lib${library}.a is not in ${VINDLE_DEPS_DIR}: run tools/windows/deps.sh ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
endforeach()

# Every text the engine or a game hands to Windows is code page 936.
add_compile_options(-finput-charset=UTF-8 -fexec-charset=GBK)

add_library(vindle_deps INTERFACE)
target_include_directories(vindle_deps INTERFACE "${VINDLE_DEPS_DIR}/include")
target_compile_definitions(vindle_deps INTERFACE FREEGLUT_STATIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(vindle_deps INTERFACE
  "${VINDLE_DEPS_DIR}/lib/libfreeglut_static.a" "${VINDLE_DEPS_DIR}/lib/libpng16.a"
  "${VINDLE_DEPS_DIR}/lib/libz.a"
  opengl32 glu32 gdi32 winmm user32 kernel32)
