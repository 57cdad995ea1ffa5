# Cross-compiling for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu;
# the programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
# Header-only libraries are the same for every architecture.
set(Boost_DIR /usr/lib/x86_64-linux-gnu/cmake/Boost-1.74.0 CACHE PATH "")
# GoogleTest is built from Debian's sources for the target.
set(VELTRANO_GTEST_SOURCE /usr/src/googletest CACHE PATH "")
# Notes about how GCC 10 changed passing std::pair on this ABI: nothing of
# ours crosses a library boundary that way.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
# OpenSSL for the target from Debian's multiarch packages (dpkg
# --add-architecture arm64; apt-get install libssl-dev:arm64), which the
# cross compiler finds by itself in /usr/include and /usr/lib/aarch64-linux-gnu.
if(EXISTS /usr/lib/aarch64-linux-gnu/libcrypto.so)
  set(OPENSSL_CRYPTO_LIBRARY /usr/lib/aarch64-linux-gnu/libcrypto.so CACHE FILEPATH "")
  set(OPENSSL_INCLUDE_DIR /usr/include CACHE PATH "")
endif()
