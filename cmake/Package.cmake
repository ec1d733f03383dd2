# The Debian package of what `cmake --install` installs, written by `cpack` in a build folder.
#
# Its dependencies are the shared libraries the program links, found by
# dpkg-shlibdeps (the run-time libraries, never their development packages).
# The desktop's caches of menu entries, file types and icons are refreshed
# after install by postinst, and after removal by the triggers of the
# packages that own those caches (desktop-file-utils, shared-mime-info,
# hicolor-icon-theme): a postrm would keep the removed package listed by dpkg
# ("rc") until it is purged.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tracevue)
set(CPACK_PACKAGE_VENDOR "Tracevue")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bode and Black diagrams of transfer functions")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tracevue draws the Bode diagram and the Black (Nichols) chart of up to three\n"
       "transfer functions and of their product, and draws them again at every step\n"
       "of a parameter, with their gain and phase margins. For students and teachers\n"
       "of control engineering; the interface is in French and in English.")
set(CPACK_PACKAGE_CONTACT "Tracevue developers <tracevue@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts and the opener of the worksheets are used at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
