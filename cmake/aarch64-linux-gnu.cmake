# Cross-compiling for 64-bit ARM Linux (Raspberry Pi, ARM laptops, Linux
# phones) with Debian's cross compiler and the arm64 libraries installed
# beside the machine's own (multiarch: `dpkg --add-architecture arm64`).
# Programs built here run on this machine through qemu-user: the build's
# own picture tool, and the tests.
#
#   cmake -S . -B build-arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The arm64 libraries live in /usr/lib/aarch64-linux-gnu, their headers in
# /usr/include with the machine's own; only arm64 libraries are linked.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# qemu runs an arm64 program with the multiarch loader (/lib/ld-linux-aarch64.so.1)
# and the multiarch libraries, the C library among them. The cross compiler's
# own copies in /usr/aarch64-linux-gnu are a different build of the C library:
# its loader beside the multiarch libc.so.6 disagree on the layout of the
# data they share, and the first thread a program starts (pango starts one for
# fontconfig) loops forever in pthread_create.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64;-L;/)

# The package is for arm64 machines.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
