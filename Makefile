# Thin wrapper over CMake for the usual tasks; see README.md.
BUILD ?= build
JOBS ?= 2
ifdef CI
CMAKE_FLAGS += -DZEPTOR_WERROR=ON
endif

.PHONY: all check example bench fuzz sanitize clean

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
	rm -rf $(BUILD) build-fuzz build-sanitize

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
