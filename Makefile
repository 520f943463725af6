# Two entry points: `make run` builds and starts the program, `make test` builds
# and runs every test. Both first install any missing Debian package.
# `make install` installs the release build under PREFIX (DESTDIR honoured);
# `make package` builds the Debian package build/release/celltrove_*.deb.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test deps build build-test install package clean fuzz fuzz-campaign

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELLTROVE_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/bin/celltrove

install: build
	cmake --install build/release --prefix $(PREFIX)

package: build
	cd build/release && cpack -G DEB

build-test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCELLTROVE_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

# Fuzzing with libFuzzer (clang): `make fuzz` builds build/fuzz/tests/fuzz/fuzz_*.
fuzz:
	./scripts/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELLTROVE_FUZZ=ON -DCELLTROVE_TESTS=ON
	cmake --build build/fuzz -j $(JOBS) --target fuzz_ole2 fuzz_biff8 fuzz_formula fuzz_numfmt fuzz_rtf fuzz_doc fuzz_xliff fuzz_language fuzz_import

# A fuzz campaign of MINUTES CPU-minutes per target (scripts/fuzz-campaign.sh).
MINUTES ?= 20
fuzz-campaign: fuzz
	./scripts/fuzz-campaign.sh $(MINUTES)

clean:
	rm -rf build
