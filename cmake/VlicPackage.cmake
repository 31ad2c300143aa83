# The Linux package (scripts/package-linux.sh): install rules and CPack's DEB
# generator, included by the top CMakeLists on Linux.
#
# Layout, for an installation prefix of /usr:
#   lib/vlicenr/             the program and the files it reads beside itself
#                            (it makes its own folder current at start)
#   bin/vlicenr              a link to the program: the command on the PATH
#   share/applications, share/metainfo, share/icons/hicolor/<size>/apps
#                            the desktop entry, the AppStream entry and the
#                            icons, all named by the reverse-DNS id
#   share/doc/vlicenr/copyright
#   /etc/vlicenr/Veltrane.vlicvers
#                            the versions file an administrator may edit, a
#                            conffile (dpkg keeps its local changes); the
#                            build reads it there when configured with
#                            -DVLIC_ADMIN_DIR=/etc/vlicenr, as the package is
#
# The desktop and icon caches are brought up to date by the triggers of
# desktop-file-utils and hicolor-icon-theme, so the package needs no
# maintainer script; dpkg removes the conffile and /etc/vlicenr on purge.
include(GNUInstallDirs)
set(VLIC_APP_ID fr.veltrane.VLicEnr)
set(VLIC_INSTALL_PROGRAM_DIR lib/vlicenr)
# The files the program reads beside itself, made into build/bin by the
# targets of vlic_runtime_files. Installed by name, whatever their form.
set(VLIC_PROGRAM_FILES Veltrane.vlicprod FenGen.uir)

install(TARGETS VLicEnr RUNTIME DESTINATION ${VLIC_INSTALL_PROGRAM_DIR})
foreach(f ${VLIC_PROGRAM_FILES})
  install(FILES ${VLIC_BIN_DIR}/${f} DESTINATION ${VLIC_INSTALL_PROGRAM_DIR})
endforeach()
# The command: a relative link, so that the program's folder is the one it
# was installed in (the program finds it through /proc/self/exe).
file(RELATIVE_PATH vlic_link_target ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${VLIC_INSTALL_PROGRAM_DIR}/VLicEnr)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
file(CREATE_LINK ${vlic_link_target} ${CMAKE_BINARY_DIR}/package/vlicenr SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/package/vlicenr DESTINATION ${CMAKE_INSTALL_BINDIR})

# The versions file goes where the build reads it.
if(VLIC_ADMIN_DIR)
  set(vlic_versions_dir ${VLIC_ADMIN_DIR})
else()
  set(vlic_versions_dir ${CMAKE_INSTALL_PREFIX}/${VLIC_INSTALL_PROGRAM_DIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/downloads/Veltrane.vlicvers DESTINATION ${vlic_versions_dir})

install(FILES ${CMAKE_SOURCE_DIR}/app/linux/${VLIC_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release's date: that of the last change of VERSION, else today (or
# SOURCE_DATE_EPOCH's day).
execute_process(COMMAND git log -1 --format=%cs -- VERSION
                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE VLIC_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT VLIC_RELEASE_DATE MATCHES "^[0-9]+-[0-9]+-[0-9]+$")
  string(TIMESTAMP VLIC_RELEASE_DATE "%Y-%m-%d" UTC)
endif()
configure_file(${CMAKE_SOURCE_DIR}/app/linux/${VLIC_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/package/${VLIC_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/${VLIC_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/app/linux/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vlicenr)

# The hicolor icons: the frames of the Windows program's icon, each a PNG
# named by its size (no time chunks, so that a rebuild gives the same bytes).
set(vlic_icon_sizes 16 24 32 48 64 256)
set(vlic_icon_dir ${CMAKE_BINARY_DIR}/package/icons)
set(vlic_icons "")
foreach(s ${vlic_icon_sizes})
  list(APPEND vlic_icons ${vlic_icon_dir}/${s}x${s}.png)
endforeach()
find_program(VLIC_CONVERT convert REQUIRED)   # ImageMagick (scripts/install-deps.sh)
add_custom_command(
  OUTPUT ${vlic_icons}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vlic_icon_dir}
  COMMAND ${VLIC_CONVERT} ${CMAKE_SOURCE_DIR}/app/win/VLicEnr.ico -strip -define png:exclude-chunks=date,time
          -set filename:s %wx%h PNG32:${vlic_icon_dir}/%[filename:s].png
  DEPENDS ${CMAKE_SOURCE_DIR}/app/win/VLicEnr.ico
  COMMENT "Making the hicolor icons from app/win/VLicEnr.ico"
  VERBATIM)
add_custom_target(vlic_package_files ALL DEPENDS ${vlic_icons})
foreach(s ${vlic_icon_sizes})
  install(FILES ${vlic_icon_dir}/${s}x${s}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${s}x${s}/apps
          RENAME ${VLIC_APP_ID}.png)
endforeach()

# The package. Its dependencies are what dpkg-shlibdeps finds the program
# linked with (Qt 6, GLib, the C++ run-time); GIO, loaded at run time, is in
# GLib's package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vlicenr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Veltrane)
set(CPACK_PACKAGE_CONTACT "Veltrane <support@veltrane.fr>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.veltrane.fr/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "téléchargements des logiciels et ressources des produits Veltrane")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "VLicEnr est l'utilitaire que Veltrane fournit aux établissements qui
possèdent ses systèmes pédagogiques. On y choisit un produit ; une page de
boutons télécharge, par le navigateur par défaut, ses logiciels, leurs
manuels, ses dossiers et les pilotes dont il a besoin.
.
Les versions des logiciels sont lues dans ${vlic_versions_dir}/Veltrane.vlicvers,
que l'administrateur peut modifier.")
if(VLIC_ADMIN_DIR MATCHES "^/etc/")
  file(WRITE ${CMAKE_BINARY_DIR}/package/conffiles "${VLIC_ADMIN_DIR}/Veltrane.vlicvers\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/package/conffiles)
endif()
include(CPack)
