# Thin wrapper over CMake for the usual tasks; see README.md.
BUILD ?= build
JOBS ?= 2
ifdef CI
CMAKE_FLAGS += -DZEPTOR_WERROR=ON
endif

.PHONY: all check example bench fuzz sanitize clean windows cross-s390x \
	cross-aarch64 package package-windows windows-build

all:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Configures, builds and runs every test.
check: all
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

# Runs zeptor on the bundled example print file.
example: all
	$(BUILD)/zeptor examples/survey.prt $(BUILD)/survey.rpt GPS1040

# Measures the scan and a whole run against `wc -l`.
bench: all
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize build-windows build-s390x \
	  build-aarch64

# Builds the scanner fuzzer with clang and runs it for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DZEPTOR_FUZZ=ON $(CMAKE_FLAGS) \
	  -DBUILD_TESTING=OFF -DZEPTOR_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target scanner_fuzzer
	mkdir -p fuzz/corpus-work
	build-fuzz/fuzz/scanner_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  -max_len=4096 fuzz/corpus-work fuzz/corpus

# Builds everything with AddressSanitizer and UBSan and runs every test.
sanitize:
	cmake -S . -B build-sanitize -DZEPTOR_SANITIZE=ON -DZEPTOR_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ctest --output-on-failure --no-tests=error -j $(JOBS)

# Builds for Windows with MinGW-w64 and runs every test under Wine; the
# end-to-end tests run zeptor.exe from a driver built for this machine.
windows: all windows-build
	@# One Wine server for all the tests, gone after 30 idle seconds.
	WINEDEBUG=-all wineserver -p30 2>/dev/null || true
	cd build-windows && WINEDEBUG=-all ctest --output-on-failure \
	  --no-tests=error -j $(JOBS)

windows-build:
	cmake -S . -B build-windows $(CMAKE_FLAGS) -DZEPTOR_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/windows-x86_64.cmake \
	  -DZEPTOR_HOST_E2E_DRIVER=$(abspath $(BUILD))/report/zeptor_test
	cmake --build build-windows -j $(JOBS)

# The release packages: a .deb in $(BUILD), a .zip in build-windows.
package: all
	cd $(BUILD) && cpack -G DEB

package-windows: windows-build
	cd build-windows && cpack -G ZIP

# Builds for Linux on s390x (big-endian) or aarch64 and runs every test
# under qemu-user.
cross-s390x cross-aarch64: cross-%:
	cmake -S . -B build-$* $(CMAKE_FLAGS) -DZEPTOR_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-$*.cmake
	cmake --build build-$* -j $(JOBS)
	cd build-$* && ctest --output-on-failure --no-tests=error -j $(JOBS)
