# `cpack -G DEB` in the build folder: vobreports_VERSION_ARCH.deb with everything `cmake --install` puts in
# /usr. Its dependencies are read from the binaries by dpkg-shlibdeps, plus the fonts reports print with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vobreports)
set(CPACK_PACKAGE_VENDOR "Vob Accounting")
set(CPACK_PACKAGE_CONTACT "Vob Accounting developers <vobreports@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reports of Vob Accounting: the vobreports command and libVOBADOReports2")
set(CPACK_PACKAGE_DESCRIPTION
    "The 38 reports of the Vob Accounting small-business product (ledger, aging, statements, checks, documents,\n\
analyses, lists, labels) rendered from its SQLite or PostgreSQL database as PDF, PNG and SVG pages, text and\n\
JSON dumps, CSV and XLSX data, or shown in a local web viewer. Includes the C library libVOBADOReports2 with\n\
its header, pkg-config file and CMake package, and host examples in C and Python.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The command finds fonts through fontconfig; the reports are laid out for the Liberation metrics. libpq,
# libcups, gdk-pixbuf, libxlsxwriter and cairo are loaded when first used, so the shared-library scan cannot see
# them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libpq5, libcups2, libgdk-pixbuf-2.0-0, libxlsxwriter4, libcairo2")
# A shlibs file and the ldconfig trigger, so that packages built against the library depend on it properly.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
