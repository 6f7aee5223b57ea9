# The Debian package that `cpack -G DEB` (or `make package`) builds from the install rules: both
# programs stripped, their data files, and dependencies read from the binaries by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tortuval)
set(CPACK_PACKAGE_VENDOR Tortuval)
set(CPACK_PACKAGE_CONTACT "Tortuval <tortuval@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convertisseur d'algorithmes Pseudal en programmes LOGO")
set(CPACK_PACKAGE_DESCRIPTION
    "Tortuval convertit les algorithmes écrits dans l'éditeur d'algorithmes Pseudal
(fichiers .alg) en programmes d'un dialecte français de LOGO. La fenêtre
tortuval montre les exemples intégrés, les lignes de pseudo-code du document
et le programme LOGO à copier ; la commande pseudal2logo fait la même
conversion en ligne de commande.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own French texts for the standard dialogs and buttons of the window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)
