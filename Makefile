# make run   - install what is missing, build, start Tarnel on the bundled VN3 sample
# make test  - install what is missing, build, run every test, then every test again under
#              ASan + UBSan (make test-asan alone; ASAN_CMAKE_FLAGS adds cmake flags there)
# make orvik - build and start Orvik
# make bench - build and run the benchmarks
# make package       - build the Debian package build/tarnel_<version>_<arch>.deb
# make package-check - install it in a clean Debian 12 root and start both programs (root)
# make screenshots   - remake the windows' screenshots in docs/ under Xvfb
# make fuzz          - build the fuzz targets with clang's libFuzzer and run each for
#                      FUZZ_SECONDS (FUZZ_TARGETS picks some of them)
# make windows       - cross-build for 64-bit Windows: build-win/tarnel-<version>-win64.zip
#                      (builds Qt for Windows once into ~/.cache/tarnel: long)
# make windows-check - the Windows build's tests, byte comparisons and windows under Wine
# make windows-core-check - the same without Qt: the core tests and the command-line
#                      companions cross-built into build-win-core and checked under Wine

JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
ASAN_CMAKE_FLAGS ?=
# ccache, where it is installed, keeps every build after the first short, CI's
# included: paths inside the checkout count relative to it, so all clones of
# the project share one cache.
CCACHE := $(shell command -v ccache 2>/dev/null)
ifneq ($(CCACHE),)
LAUNCHER := -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
endif
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
FUZZ_CMAKE_FLAGS ?=
BUILD_WIN ?= build-win
WIN_CORE_BUILD ?= build-win-core

.PHONY: deps configure build run orvik test test-asan bench fuzz samples package package-check screenshots windows \
        windows-check windows-core-check clean

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

samples: build
	$(BUILD)/tools/samplegen samples

# run and orvik build only the program they start (with its help and MOB files).
run: configure
	cmake --build $(BUILD) -j$(JOBS) --target tarnel
	$(BUILD)/tarnel/tarnel samples/vn3_crossing.dat

orvik: configure
	cmake --build $(BUILD) -j$(JOBS) --target orvik
	$(BUILD)/orvik/orvik

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)
	$(MAKE) test-asan

# The whole suite, windows and command-line tools included, built again with
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNEL_CORE_ONLY=OFF -DTARNEL_SANITIZE=ON \
	  $(LAUNCHER) $(ASAN_CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tarnel_bench

package: build
	@tools/install-deps.sh package
	cmake --build $(BUILD) --target package

package-check: package
	@tools/install-deps.sh package-check
	tools/package-check.sh $(BUILD)

screenshots: build
	@tools/install-deps.sh screenshots
	tools/screenshots.sh $(BUILD)

fuzz:
	@tools/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ $(FUZZ_CMAKE_FLAGS) \
	  -DTARNEL_FUZZ=ON -DTARNEL_CORE_ONLY=ON -DTARNEL_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_targets
	tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

windows:
	BUILD_WIN=$(BUILD_WIN) JOBS=$(JOBS) tools/windows/build.sh

# Compares with the Linux build's programs, so it builds those too.
windows-check: windows build
	BUILD_WIN=$(BUILD_WIN) tools/windows/check.sh $(BUILD)

windows-core-check: build
	@tools/install-deps.sh windows
	cmake -S . -B $(WIN_CORE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNEL_CORE_ONLY=ON \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/tools/windows/mingw-w64.cmake \
	  -DTARNEL_LUA_PREFIX=$$(tools/windows/build-lua.sh | tail -n 1)
	cmake --build $(WIN_CORE_BUILD) -j$(JOBS)
	BUILD_WIN=$(WIN_CORE_BUILD) tools/windows/check.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BUILD_WIN) $(WIN_CORE_BUILD)
