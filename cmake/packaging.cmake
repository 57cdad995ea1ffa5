# The Debian package: cmake --workflow --preset deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Torvessa)
set(CPACK_PACKAGE_CONTACT "Torvessa <veltrano@torvessa.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lyapunov spectrum of the Lorenz system")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Veltrano computes the three Lyapunov exponents of the Lorenz system by fourth-order\n"
    "Runge-Kutta integration of the flow and three tangent vectors, with Gram-Schmidt\n"
    "reorthonormalisation every 20 steps. The desktop program shows one run; veltrano-cli\n"
    "serves scripts: one run, the history of the estimates, and parameter sweeps.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.torvessa.example/)
# Libraries from the binaries themselves; the faces with the Greek letters
# are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
