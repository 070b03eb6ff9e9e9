# `make package`: the whole installation (programs, reference data, help, layouts, menu
# entry, icons, metadata, manual pages) as one Debian package, built by CPack.

set(VENTROLUX_MAINTAINER "Ventrolux maintainers <maintainers@users.noreply.c-seed-79632302.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventrolux)
set(CPACK_PACKAGE_VENDOR "Ventrolux")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VENTROLUX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare a small firm's financial statements with its industry")
# One string: a list would join its parts with semicolons.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Ventrolux is a bilingual (English and French) desktop program with which\n"
       "the owner or adviser of a small business compares the firm's financial\n"
       "statements with its industry's benchmarks. It shows an industry's ratio\n"
       "and balance-sheet figures for three reference years, keeps the firm's\n"
       "statement values in a local database, computes fifteen ratios and places\n"
       "each against the industry's quartiles and median, compares the\n"
       "balance-sheet structure, and prints the reports. A command-line tool runs\n"
       "the same comparisons for scripts and client lists.\n"
       ".\n"
       "The industry figures in this package are synthetic sample data, not\n"
       "published statistics.")
# Packages install under /usr; the programs find their data in /usr/share/ventrolux.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships programs without their debugging sections.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VENTROLUX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps. What they only load while
# running cannot be seen there and is named here: the SQLite driver of Qt SQL, the Qt
# translations of the French dialog buttons, and the report font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-translations-l10n, fonts-dejavu-core")
# Office mode keeps the firm records on a PostgreSQL server through Qt SQL's driver for
# it; a single adviser on the local file does without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")

include(CPack)
