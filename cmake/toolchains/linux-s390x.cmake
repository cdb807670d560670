# Linux on s390x, the big-endian CPU the tests run on.
set(ZEPTOR_CROSS_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
