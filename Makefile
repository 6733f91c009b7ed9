# The two commands: `make run` starts the program on the built-in keyboard emulator, `make test` builds and
# runs the whole suite. Both install missing Debian packages on their first run (and again whenever the package
# list changes or configuring finds something missing), not on every build.
.PHONY: all deps build test test-tsan test-asan-fuzz soak run format clean package-deb bench-window bench-app-follow

CMAKE_BUILD_JOBS ?= $(shell nproc)
DEPS_STAMP := build/.deps-installed

all: build

deps:
	@scripts/install-deps
	@mkdir -p build && touch $(DEPS_STAMP)

$(DEPS_STAMP): scripts/install-deps
	@$(MAKE) --no-print-directory deps

build: $(DEPS_STAMP)
	@cmake --preset default >/dev/null || { scripts/install-deps && cmake --preset default >/dev/null; }
	@cmake --build --preset default -j $(CMAKE_BUILD_JOBS)

# The whole suite, then the threaded suites again under ThreadSanitizer and the fuzz corpora under ASan+UBSan.
test: build
	@rm -f build/vm/skipped.txt
	ctest --preset default -j $(CMAKE_BUILD_JOBS) || { cat build/vm/skipped.txt 2>/dev/null; exit 1; }
	@cat build/vm/skipped.txt 2>/dev/null || true
	@$(MAKE) --no-print-directory test-tsan
	@$(MAKE) --no-print-directory test-asan-fuzz

test-tsan: $(DEPS_STAMP)
	@cmake --preset tsan >/dev/null || { scripts/install-deps && cmake --preset tsan >/dev/null; }
	@cmake --build --preset tsan -j $(CMAKE_BUILD_JOBS) --target tsan_suites
	ctest --preset tsan -j $(CMAKE_BUILD_JOBS)

# Only the fuzz targets' corpus replays, built with ASan+UBSan: a read past a buffer that the optimised build
# survives without a sign shows here.
test-asan-fuzz: $(DEPS_STAMP)
	@cmake --preset asan >/dev/null || { scripts/install-deps && cmake --preset asan >/dev/null; }
	@cmake --build --preset asan-fuzz -j $(CMAKE_BUILD_JOBS)
	ctest --preset asan-fuzz -j $(CMAKE_BUILD_JOBS)

# The long fault and hot-plug runs (CTest label "soak"), which `make test` leaves out: hours, not minutes.
soak: build
	ctest --preset soak -j 1

run: build
	@scripts/run-program

# What the window costs next to a bare Qt window: start, memory, preview CPU (bench/window_cost).
bench-window: build
	@bench/window_cost/window_cost.sh

# The keyboard following the application in front: switch latency from the X event, and CPU (bench/app_follow.sh).
bench-app-follow: build
	@bench/app_follow.sh

# build/ombrel_<version>_amd64.deb, checked by lintian.
package-deb: $(DEPS_STAMP)
	@scripts/build-deb

format:
	@find src tests bench fuzz tools -name '*.h' -o -name '*.cpp' 2>/dev/null | xargs clang-format -i

clean:
	rm -rf build build-debug build-release build-asan build-tsan build-fuzz
