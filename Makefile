# make run   install what is missing, build, start the program
# make test  install what is missing, build, run every test (also under ASan + UBSan)
JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-fast sanitize bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

run: build
	@scripts/run.sh

# The plain suite, then the same suite under the sanitizers.
test: test-fast sanitize

test-fast: build
	ctest --preset default -j $(JOBS)

sanitize: deps
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	@scripts/bench.sh build-bench

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	@scripts/fuzz.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-sanitize build-bench build-fuzz
