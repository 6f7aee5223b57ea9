# make run   install what is missing, build, start the program
# make test  install what is missing, build, run every test (also under ASan + UBSan)
# make package  a Release build packed as a .deb (build-package/), then checked and run unpacked
# make web   the page (build-web/index.html and tortuval-web-<version>.zip), by emscripten
#
# Each target runs one CMake workflow preset (CMakePresets.json): configure, build and, for the
# test suites, test. The job count reaches the build and test steps through the environment.
JOBS ?= $(shell nproc)
export CMAKE_BUILD_PARALLEL_LEVEL := $(JOBS)
export CTEST_PARALLEL_LEVEL := $(JOBS)

.PHONY: all deps build run test test-fast sanitize bench fuzz package web web-bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --workflow --preset build

run: build
	@scripts/run.sh

# The plain suite (with the page in a headless browser), then the same suite under the sanitizers.
test: test-fast sanitize

test-fast: web
	cmake --workflow --preset default

sanitize: deps
	cmake --workflow --preset sanitize

bench: deps
	cmake --workflow --preset bench
	@scripts/bench.sh build-bench

fuzz: deps
	cmake --workflow --preset fuzz
	@scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

package: deps
	cmake --workflow --preset package
	@scripts/check-package.sh build-package

web: deps
	EM_CACHE="$$(scripts/emscripten-cache.sh)"; \
	if [ -n "$$EM_CACHE" ]; then export EM_CACHE; else unset EM_CACHE; fi; \
	cmake --workflow --preset web

# The page in each browser engine against the native command line, side by side.
web-bench: web
	cmake --workflow --preset bench
	@scripts/web-bench.sh

clean:
	rm -rf build build-sanitize build-bench build-fuzz build-package build-web
