# Verdell: `make run` starts the program, `make check` builds and runs every test.
# Both install what is missing first (scripts/install-deps).
# `make install` installs the program (PREFIX, DESTDIR), `make package` builds its Debian package
# and `make check-package` checks that package.

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PREFIX     ?= /usr/local
DESTDIR    ?=

.PHONY: all deps build run check check-asan fuzz bench clean install package check-package

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERDELL_WERROR=ON $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/verdell

check: build
	@scripts/pg-test-notice
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 120

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# build/verdell_VERSION_ARCH.deb
package: build
	cd $(BUILD) && cpack -G DEB

check-package: package
	scripts/check-package $(BUILD)

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVERDELL_WERROR=ON -DVERDELL_SANITIZE=ON $(CMAKE_FLAGS)

check-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	@scripts/pg-test-notice
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 120

# Runs the fuzz target of the office document reader for 60 seconds, then the photos' EXIF
# thumbnail reader's for 15 (clang's libFuzzer).
fuzz: deps
	fuzz/run 60

$(BENCH_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVERDELL_TESTS=OFF $(CMAKE_FLAGS)

bench: deps $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bench/run $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) build-fuzz
