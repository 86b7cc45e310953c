# The Debian package, built by CPack's DEB generator behind `make package`:
# zelkova_<version>_<architecture>.deb in the build folder. Its version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkova)
set(CPACK_PACKAGE_VENDOR "the Zelkova developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for batch Fortran programs (Japanese)")
set(CPACK_PACKAGE_DESCRIPTION
    "Zelkova is a desktop workbench for engineers who run batch Fortran programs.
It is a code page 932 (Shift-JIS) text editor that runs Fortran executables
through run files binding each program's fixed file names to the user's own
files, prints Fortran output listings by their carriage control, and draws
result plots written in a CAD program's external-transformation text format.
Its user interface is Japanese.
.
The package also holds zelkova-batch, which runs the same engines without
windows, Quillon, the CAD program's exchange-file filter, and a demo under
/usr/share/zelkova/examples.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY zelkova)
set(CPACK_STRIP_FILES ON)
set(CPACK_ZELKOVA_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripComments.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELKOVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the editor's Japanese font and Qt's translations of its
# standard dialogs are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# A Fortran compiler, for users who build their own programs as the demo's is built.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS gfortran)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
