# The whole set-up on a fresh Debian or Ubuntu machine:
#   make play   installs what is missing, builds build/torami and plays the demo game
#   make test   installs what is missing, builds and runs every test, then again under
#               AddressSanitizer and UndefinedBehaviorSanitizer
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CTEST_FLAGS ?= --output-on-failure -j $(JOBS)

.PHONY: all play test deps test-deps build build-asan test-release test-asan clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

build: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target torami

play: build
	./build/torami demo

test: test-deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORAMI_TESTS=ON >/dev/null
	cmake --build build -j $(JOBS)
	cd build && ctest $(CTEST_FLAGS)
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTORAMI_SANITIZE=ON -DTORAMI_TESTS=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 ctest $(CTEST_FLAGS)

clean:
	rm -rf build build-asan
