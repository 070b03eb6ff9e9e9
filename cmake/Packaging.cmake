# `make package`: the installation as two Debian packages, built by CPack from the install
# components. `ventrolux` (component programs) holds the programs, their menu entries, icons,
# metadata and manual pages, built for one architecture; `ventrolux-data` (component data)
# holds the reference database, the help and the report layouts, the same on every
# architecture. The programs depend on the data of their own version.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ventrolux)
set(CPACK_PACKAGE_VENDOR "Ventrolux")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VENTROLUX_MAINTAINER})
set(CPACK_COMPONENTS_ALL programs data)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Packages install under /usr; the programs find their data in /usr/share/ventrolux.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships programs without their debugging sections.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VENTROLUX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VENTROLUX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SOURCE ventrolux)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The description of each package: its summary, then the long text as one string of short
# lines (a list would join its parts with semicolons).
string(CONCAT _about_ventrolux
       "Ventrolux is a bilingual (English and French) desktop program with which\n"
       "the owner or adviser of a small business compares the firm's financial\n"
       "statements with its industry's benchmarks. It shows an industry's ratio\n"
       "and balance-sheet figures for three reference years, keeps the firm's\n"
       "statement values in a local database, computes fifteen ratios and places\n"
       "each against the industry's quartiles and median, compares the\n"
       "balance-sheet structure, and prints the reports.\n")
string(CONCAT CPACK_DEBIAN_PROGRAMS_DESCRIPTION
       "compare a small firm's financial statements with its industry\n"
       "${_about_ventrolux}"
       "A command-line tool runs the same comparisons for scripts and client lists.\n"
       ".\n"
       "This package holds the programs; ventrolux-data holds the reference data.")
string(CONCAT CPACK_DEBIAN_DATA_DESCRIPTION
       "reference data, help and report layouts of Ventrolux\n"
       "${_about_ventrolux}"
       ".\n"
       "This package holds the industry reference database, the help pages in\n"
       "English and French and the report layouts that the programs of the\n"
       "package ventrolux read. The industry figures in it are synthetic sample\n"
       "data, not published statistics.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME ventrolux)
# The libraries the programs link come from dpkg-shlibdeps. What they only load while
# running cannot be seen there and is named here: their data, the SQLite driver of Qt SQL,
# the Qt translations of the French dialog buttons, and the report font.
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS
    "ventrolux-data (= ${PROJECT_VERSION}), libqt6sql6-sqlite, qt6-translations-l10n, fonts-dejavu-core")
# Office mode reaches its PostgreSQL server through the client library the programs link
# (libpq5, found by dpkg-shlibdeps): nothing more to recommend.

set(CPACK_DEBIAN_DATA_PACKAGE_NAME ventrolux-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SHLIBDEPS OFF)

include(CPack)
