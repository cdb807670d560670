# Thin wrapper over CMake for the usual tasks; see README.md.
BUILD ?= build
JOBS ?= 2
ifdef CI
CMAKE_FLAGS += -DZEPTOR_WERROR=ON
endif

.PHONY: all check example bench clean

all:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Configures, builds and runs every test.
check: all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Runs zeptor on the bundled example print file.
example: all
	$(BUILD)/zeptor examples/survey.prt $(BUILD)/survey.rpt GPS1040

# Measures the scan and a whole run against `wc -l`.
bench: all
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
