# Linux on aarch64.
set(ZEPTOR_CROSS_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
