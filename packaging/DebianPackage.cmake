# `cpack -G DEB` in the build folder makes mirrorknit_<version>_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME mirrorknit)
set(CPACK_PACKAGE_VENDOR "The Mirrorknit developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MIRRORKNIT_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Packages are unpacked as root: directories must not keep the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MIRRORKNIT_MAINTAINER}")
# The libraries the programs link, found by dpkg-shlibdeps: Qt, the C++ runtime, libc.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mirror a half 3-D model across X=0 and dock the halves")
# The summary above is the synopsis; this the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mirrorknit reads one half of a symmetrical 3-D model, saved as a model file
(.mdl) or a segment file (.seg), mirrors every spline and control point
across the plane X=0, snaps the points within a tolerance of the plane onto
it, docks the two halves there and writes the whole model in the same format.
.
This package holds the desktop program, which shows the model as read and the
docked model side by side with markers and a report of what docking did, and
mirrorknit-cli, which docks, checks and draws models from the command line.")

include(CPack)
