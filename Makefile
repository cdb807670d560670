# A front end over CMake for the usual tasks; `make help` lists them.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local
DESTDIR ?=
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60
ifdef CI
CMAKE_FLAGS += -DZEPTOR_WERROR=ON
endif
# No "Entering directory" lines, here or in CMake's makefiles below.
MAKEFLAGS += --no-print-directory
export MAKEFLAGS

configure = cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

# Runs every test of build folder $(1), or says why there are none.
run_tests = @if [ -f $(1)/googletest-missing.txt ]; then \
	  cat $(1)/googletest-missing.txt >&2; exit 1; fi; \
	cd $(1) && ctest --output-on-failure --no-tests=error -j $(JOBS)

.PHONY: all help deps-build deps-check deps-web deps-windows example check test install \
	uninstall bench native-check fuzz sanitize clean windows windows-build cross-s390x \
	cross-aarch64 package package-windows web web-check web-scanner-check \
	web-bench

# Builds zeptor and, where GoogleTest is installed, its tests.
all: deps-build
	$(configure)
	cmake --build $(BUILD) -j $(JOBS)

help:
	@echo "Targets:"
	@echo "  all              build zeptor, and its tests where GoogleTest is"
	@echo "  example          build zeptor only and run it on examples/survey.prt"
	@echo "  check (or test)  build everything and run every test"
	@echo "  install          install zeptor, its man page and documents"
	@echo "  uninstall        remove what install installed"
	@echo "  sanitize         run every test built with ASan and UBSan"
	@echo "  fuzz             run the scanner fuzzer for FUZZ_SECONDS (clang)"
	@echo "  bench            time a run against wc -l and a plain read"
	@echo "  native-check     build for this CPU (-march=native), test the scanner"
	@echo "  windows          build for Windows, run every test under Wine"
	@echo "  cross-s390x      build for s390x, run every test under qemu"
	@echo "  cross-aarch64    build for aarch64, run every test under qemu"
	@echo "  web              the one-file page, build-web/zeptor.html"
	@echo "  web-check        test the page in Chromium, Firefox and WebKit"
	@echo "  web-scanner-check  the scanner's tests in WebAssembly, under node"
	@echo "  web-bench        time the page on large print files"
	@echo "  package          the .deb package, in BUILD"
	@echo "  package-windows  the Windows zip, in build-windows"
	@echo "  deps-build       install the Debian packages zeptor needs"
	@echo "  deps-check       the same, with GoogleTest for the tests"
	@echo "  deps-web         the same, with emscripten and the browsers"
	@echo "  deps-windows     the same, with MinGW-w64, Wine and groff"
	@echo "  clean            remove every build folder and the bench file"
	@echo "Variables:"
	@echo "  BUILD=$(BUILD)  JOBS=$(JOBS)  PREFIX=$(PREFIX)  DESTDIR=$(DESTDIR)"
	@echo "  CMAKE_FLAGS=$(CMAKE_FLAGS)  FUZZ_SECONDS=$(FUZZ_SECONDS)"

# Missing Debian packages are installed, or named, before anything else.
deps-build:
	@scripts/deps build

deps-check:
	@scripts/deps check

deps-web:
	@scripts/deps web

deps-windows:
	@scripts/deps windows

# Builds only zeptor and runs it on the bundled example print file.
example: deps-build
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target zeptor
	$(BUILD)/zeptor examples/survey.prt $(BUILD)/survey.rpt GPS1040

# Builds everything and runs every test.
check: deps-check
	$(configure)
	cmake --build $(BUILD) -j $(JOBS)
	$(call run_tests,$(BUILD))

test: check

# Builds only what is installed (zeptor and the documents made from the
# sources), so it works on a fresh clone and after `make example`.
install: deps-build
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target installed_files
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# Removes the files the last install wrote, as CMake listed them (without
# DESTDIR, so give the same DESTDIR), and zeptor's own folders.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || \
	  { echo "nothing installed from $(BUILD)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs rm -f
	sed -n 's|^\(.*/zeptor\)/[^/]*$$|$(DESTDIR)\1|p' \
	  $(BUILD)/install_manifest.txt | sort -u | xargs -r rmdir
	rm -f $(BUILD)/install_manifest.txt

# Times a whole run against wc -l and a plain read on a generated file, and
# zeptor-pairs against zeptor.
bench: all
	bench/run.sh $(BUILD)

# Builds zeptor and the scanner's tests for this machine's CPU
# (-march=native: the AVX-512BW tag search where the CPU has it) into
# build-native/, and runs those tests; `make bench BUILD=build-native`
# then times that build.
native-check: deps-check
	cmake -S . -B build-native -DCMAKE_CXX_FLAGS=-march=native \
	  $(CMAKE_FLAGS) >/dev/null
	cmake --build build-native -j $(JOBS) --target zeptor zeptor-pairs \
	  scanner_test make_print_file
	build-native/report/scanner_test --gtest_brief=1

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize build-native build-windows \
	  build-s390x build-aarch64 build-web build-web-test web/node_modules
	rm -f $${TMPDIR:-/tmp}/zeptor-bench-*.prt $${TMPDIR:-/tmp}/zeptor-bench.rpt

# Builds the scanner fuzzer with clang and runs it for FUZZ_SECONDS; prints
# its summary, or the end of its log when it finds something.
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DZEPTOR_FUZZ=ON \
	  $(CMAKE_FLAGS) -DBUILD_TESTING=OFF -DZEPTOR_BENCH=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target scanner_fuzzer
	mkdir -p fuzz/corpus-work
	build-fuzz/fuzz/scanner_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  -max_len=4096 -print_final_stats=1 fuzz/corpus-work fuzz/corpus \
	  > build-fuzz/fuzz.log 2>&1 || { tail -40 build-fuzz/fuzz.log; exit 1; }
	@grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss)' \
	  build-fuzz/fuzz.log

# Builds everything with AddressSanitizer and UBSan and runs every test.
sanitize: deps-check
	cmake -S . -B build-sanitize -DZEPTOR_SANITIZE=ON -DZEPTOR_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	cmake --build build-sanitize -j $(JOBS)
	$(call run_tests,build-sanitize)

# Wine runs every Windows program through one server. A server that exits
# when idle for a moment (3 s by default) can leave a program that starts
# just then without one ("wine client error:0: recvmsg: Connection reset by
# peer"), a test that fails at once with no output; on a loaded machine
# that happened in 2 of 3 runs. So each step that runs Windows programs
# starts one server that stays until the step ends, waiting first for any
# other to exit, and starts Wine's own services (wineboot) with nothing
# for standard streams: started by a test instead, they hold its output
# pipe open, and the test runner waits for them.
wine = WINEDEBUG=-all
with_wine_server = $(wine) wineserver -w; $(wine) wineserver -p && \
	$(wine) wineboot </dev/null >/dev/null 2>&1 && \
	{ $(1); status=$$?; $(wine) wineserver -k; $(wine) wineserver -w; \
	  exit $$status; }

# Builds for Windows with MinGW-w64 and runs every test under Wine; the
# end-to-end tests run zeptor.exe from a driver built for this machine.
windows: all windows-build
	$(call with_wine_server,cd build-windows && $(wine) ctest \
	  --output-on-failure --no-tests=error -j $(JOBS))

# The build runs the test programs to list their tests. Wine's first start
# makes its prefix, which takes many seconds.
windows-build: deps-windows
	$(wine) wineboot --init 2>/dev/null
	cmake -S . -B build-windows $(CMAKE_FLAGS) -DZEPTOR_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/windows-x86_64.cmake \
	  -DZEPTOR_HOST_E2E_DRIVER=$(abspath $(BUILD))/report/zeptor_test \
	  -DZEPTOR_HOST_PAIRS_E2E_DRIVER=$(abspath $(BUILD))/pairs/zeptor_pairs_test \
	  >/dev/null
	$(call with_wine_server,cmake --build build-windows -j $(JOBS))

# Builds for Linux on s390x (big-endian) or aarch64 and runs every test
# under qemu-user.
cross-s390x cross-aarch64: cross-%:
	@scripts/deps cross-$*
	cmake -S . -B build-$* $(CMAKE_FLAGS) -DZEPTOR_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-$*.cmake >/dev/null
	cmake --build build-$* -j $(JOBS)
	$(call run_tests,build-$*)

# The page, build-web/zeptor.html: zeptor compiled with Debian's emscripten,
# whose tools need Debian's node modules.
emscripten = NODE_PATH=/usr/share/nodejs
web: deps-web
	$(emscripten) emcmake cmake -S . -B build-web $(CMAKE_FLAGS) \
	  -DBUILD_TESTING=OFF -DZEPTOR_BENCH=OFF >/dev/null
	$(emscripten) cmake --build build-web -j $(JOBS)

# Tests the page: its own logic under node, then the page in Chromium,
# Firefox and WebKit, from file://, against the command line on the same
# files. MiniBrowser, WebKit's, has no headless mode: all run on a virtual
# display.
browser_display = xvfb-run -a -s "-screen 0 1400x4200x24"
web-check: web web-scanner-check
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target zeptor
	cd web && npm ci --no-audit --no-fund --loglevel=error
	cd web && ZEPTOR_NATIVE=$(abspath $(BUILD))/zeptor $(browser_display) npm test

# The scanner's tests compiled to WebAssembly, the page's SIMD tag search
# among them, run under node.
web-scanner-check: deps-web
	$(emscripten) emcmake cmake -S . -B build-web-test $(CMAKE_FLAGS) \
	  -DZEPTOR_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=$(shell command -v node) \
	  >/dev/null
	$(emscripten) cmake --build build-web-test -j $(JOBS) --target scanner_test
	node build-web-test/report/scanner_test.js

# Times the page on a 200 MB and a 1 GiB print file in Chromium, Firefox
# and WebKit, paired with the browser only reading them (web/bench.js).
web-bench: web all
	cd web && npm ci --no-audit --no-fund --loglevel=error
	for megabytes in 200 1024; do \
	  file=$${TMPDIR:-/tmp}/zeptor-bench-$$megabytes.prt; \
	  [ -f $$file ] || $(BUILD)/bench/make_print_file $$file $$megabytes; \
	done
	$(browser_display) node web/bench.js $${TMPDIR:-/tmp}/zeptor-bench-200.prt \
	  $${TMPDIR:-/tmp}/zeptor-bench-1024.prt

# The release packages, each with the page: a .deb in BUILD, a zip in
# build-windows.
package: all web
	cd $(BUILD) && cpack -G DEB

package-windows: windows-build web
	cd build-windows && cpack -G ZIP
