# The Debian packages: cmake --workflow --preset deb leaves
#   veltrano_1.0_amd64.deb          the program, veltrano-cli, its plotting plugin
#   python3-veltrano_1.0_amd64.deb  import veltrano
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Torvessa)
set(CPACK_PACKAGE_CONTACT "Torvessa <veltrano@torvessa.example>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL main)
if(VELTRANO_PYTHON_BUILT)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.torvessa.example/)
# Libraries from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_MAIN_PACKAGE_NAME veltrano)
set(CPACK_COMPONENT_MAIN_DESCRIPTION
    "Lyapunov spectrum of the Lorenz system\n"
    "Veltrano computes the three Lyapunov exponents of the Lorenz system by\n"
    "fourth-order Runge-Kutta integration of the flow and three tangent\n"
    "vectors, with Gram-Schmidt reorthonormalisation every 20 steps.\n"
    "The desktop program shows one run. veltrano-cli serves scripts and\n"
    "research: one run, the history of the estimates, parameter sweeps on\n"
    "every core and SIMD lane, split over cluster nodes and joined again,\n"
    "pictures, and error bars by batch means.")
string(REPLACE ";" "" CPACK_COMPONENT_MAIN_DESCRIPTION "${CPACK_COMPONENT_MAIN_DESCRIPTION}")
# The faces with the Greek letters are not linked, so they are named here;
# so are GCC's JIT library, opened when typed equations are first compiled,
# and the driver, assembler and linker that it runs.
if(VELTRANO_JIT)
  set(veltrano_jit_depends ", libgccjit0 (>= 12), gcc-12, binutils")
endif()
set(CPACK_DEBIAN_MAIN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-liberation${veltrano_jit_depends}")
set(CPACK_DEBIAN_MAIN_PACKAGE_SECTION science)

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-veltrano)
set(CPACK_COMPONENT_PYTHON_DESCRIPTION
    "Lyapunov spectrum of the Lorenz system for Python\n"
    "import veltrano computes the Lyapunov exponents of the Lorenz system:\n"
    "one run, the history of its estimates, and sweeps over the outer\n"
    "product of values of sigma, R and b on every core and SIMD lane, with\n"
    "NumPy arrays in and out and results bit for bit those of veltrano-cli.")
string(REPLACE ";" "" CPACK_COMPONENT_PYTHON_DESCRIPTION "${CPACK_COMPONENT_PYTHON_DESCRIPTION}")
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3 (>= 3.11~), python3 (<< 3.12), python3-numpy${veltrano_jit_depends}")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
include(CPack)
