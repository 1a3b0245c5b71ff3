# What `cmake --install` puts under the prefix, and the .deb CPack makes of it:
# the library, its header, vindle.pc, the CMake package (Vindle::vindle), the
# new-game starter and the pictures, sprite and sound a new game begins with.
include(GNUInstallDirs)
# Installing copies what is built; tools/package.sh builds just that first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CMakePackageConfigHelpers)

target_include_directories(vindle INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS vindle EXPORT VindleTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES include/vindle.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(VINDLE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vindle)
install(EXPORT VindleTargets NAMESPACE Vindle:: DESTINATION ${VINDLE_CMAKE_DIR})
configure_package_config_file(cmake/VindleConfig.cmake.in ${PROJECT_BINARY_DIR}/VindleConfig.cmake
  INSTALL_DESTINATION ${VINDLE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VindleConfigVersion.cmake COMPATIBILITY AnyNewerVersion)
install(FILES ${PROJECT_BINARY_DIR}/VindleConfig.cmake ${PROJECT_BINARY_DIR}/VindleConfigVersion.cmake
  DESTINATION ${VINDLE_CMAKE_DIR})

# vindle.pc names the prefix the files really land in, which `cmake --install
# --prefix` may change after configuring: the prefix is filled in at install time.
set(VINDLE_PC_PREFIX "@VINDLE_PC_PREFIX@")
configure_file(cmake/vindle.pc.in ${PROJECT_BINARY_DIR}/vindle.pc.in @ONLY)
# Installs into several prefixes may run at once: one file per prefix.
install(CODE "
  set(VINDLE_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  string(MD5 prefix_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(pc_file \"${PROJECT_BINARY_DIR}/pc/\${prefix_key}/vindle.pc\")
  configure_file(\"${PROJECT_BINARY_DIR}/vindle.pc.in\" \"\${pc_file}\" @ONLY)
  file(INSTALL \"\${pc_file}\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
")

# The manual and the page of mistakes, which the banner points to.
install(FILES docs/api.md docs/mistakes.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The starter: vindle-new-game and what it copies into a new game's folder.
install(PROGRAMS tools/new-game.sh DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME vindle-new-game)
set(VINDLE_STARTER_DIR ${CMAKE_INSTALL_DATADIR}/vindle/starter)
install(FILES tools/starter/main.c tools/starter/Makefile DESTINATION ${VINDLE_STARTER_DIR})
install(FILES ${VINDLE_STARTER_IMAGE} DESTINATION ${VINDLE_STARTER_DIR}/Images)
install(DIRECTORY ${VINDLE_STARTER_SPRITE} DESTINATION ${VINDLE_STARTER_DIR}/Sprites)
install(FILES ${VINDLE_STARTER_SOUND} DESTINATION ${VINDLE_STARTER_DIR}/Sounds)

# The .deb: its library dependencies are read from the binaries by
# dpkg-shlibdeps. The CJK font is loaded through fontconfig at run time, so no
# binary names it and it is the one dependency given here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vindle)
set(CPACK_PACKAGE_VENDOR Vindle)
set(CPACK_PACKAGE_CONTACT "Vindle developers <vindle@vindle.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small 2D game engine for learning C by writing games")
set(CPACK_PACKAGE_DESCRIPTION "Vindle draws texts, PNG pictures and animated sprites in a window, reads the
keyboard and mouse, plays WAV and MP3 sounds and shows message boxes, all through
64 plain C functions. Includes the header, pkg-config and CMake files, and
vindle-new-game, which makes the folder of a first game.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wqy-zenhei)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gcc, make, pkg-config")
include(CPack)
