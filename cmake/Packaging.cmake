# A Debian package of the installed tree: `make package` in the build folder
# (or at the top, through the Makefile). Its dependencies are computed from
# the programs' libraries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME horalyn)
set(CPACK_PACKAGE_VENDOR "Horalyn developers")
set(CPACK_PACKAGE_CONTACT "Horalyn developers <horalyn@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop task scheduler")
# The long description; CPack indents it and marks the empty line.
set(CPACK_PACKAGE_DESCRIPTION
    "Horalyn keeps a schedule of tasks and performs them on time: a task shows
a message, starts a program, does both, or runs a script that starts and
closes programs, waits for windows and sends keystrokes. Tasks run once or
repeat by weekday, by week of the month, monthly, yearly or every so many
minutes, hours, days, weeks, months or years.

Around the scheduler it keeps a to-do list, contacts, a clipboard saver and
categories, and prints reports. horalyn-cli reads and changes the same
schedule from a terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${HRLN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The package target builds everything first; the install that CPack runs
# then needs not check it all again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# Parent folders (/usr, /usr/share, ...) belong to the system, not to us.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
include(CPack)
