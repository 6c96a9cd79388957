# `cpack` (or `cmake --build build --target package`) in the build folder
# makes the Debian package tenglan_<version>_<arch>.deb of everything
# `cmake --install` puts under /usr. dpkg-shlibdeps computes the library
# dependencies; the report's fonts are named here, as is qtbase's Chinese
# translation of the platform dialogs, which the program uses when present.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tenglan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${TENGLAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TENGLAN_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TENGLAN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese Four Pillars (Bazi) astrology charts")
# The long description, lines of at most 80 columns; the empty line becomes
# Debian's paragraph break.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A desktop program for Chinese Four Pillars astrology (八字排盘): enter a"
  "birth, Gregorian or lunar, with an optional birthplace for true solar time,"
  "and read a full Simplified-Chinese report of the four pillars, the natal"
  "chart, its interactions and shensha stars, the luck pillars and 91 annual"
  "pillars. Reports are kept in an archive in the user's data folder, saved as"
  "text or printed; a perpetual calendar shows the months of ${TENGLAN_FIRST_YEAR} to ${TENGLAN_LAST_YEAR}."
  ""
  "The command-line companion tenglan-cli prints charts, calendar months and"
  "the archive, and turns CSV lists of births into JSON.")
set(CPACK_STRIP_FILES ON)
# Folders of the package as Debian has them, whatever the umask of the
# build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
