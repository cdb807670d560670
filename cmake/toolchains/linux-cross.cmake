# Linux on the CPU named by ZEPTOR_CROSS_ARCH (Debian's name, as in
# s390x-linux-gnu-g++), with Debian's cross compiler, statically linked;
# programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${ZEPTOR_CROSS_ARCH})
set(CMAKE_C_COMPILER ${ZEPTOR_CROSS_ARCH}-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER ${ZEPTOR_CROSS_ARCH}-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEPTOR_CROSS_ARCH}-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/cross-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${ZEPTOR_CROSS_ARCH})
