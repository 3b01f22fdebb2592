# The two commands a person needs: `make run` and `make test`. Both install
# the Debian packages they lack first.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: run test build build-tests deps-build deps-test format tidy clean

run: deps-build build
	cd $(BUILD_DIR) && ./ravuriradoz

test: deps-test build-tests
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The program alone: all that running, installing or packaging it needs, so
# these work with the build packages only.
build:
	cmake -S . -B $(BUILD_DIR) -DRAVURIRADOZ_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The program and every test; needs the test packages.
build-tests:
	cmake -S . -B $(BUILD_DIR) -DRAVURIRADOZ_TESTS=ON -DRAVURIRADOZ_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps-build:
	./scripts/install-deps.sh build

deps-test:
	./scripts/install-deps.sh test

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h' '*.c')

tidy: build
	clang-tidy -p $(BUILD_DIR) --quiet --warnings-as-errors='*' $$(git ls-files 'data/*.cpp' 'convert/*.cpp' 'input/*.cpp' 'draw/*.cpp' 'app/*.cpp')

clean:
	rm -rf $(BUILD_DIR)

# Further targets (installing and packaging, fuzzing and soaking, benchmarks)
# live in mk/; included last, so `run` stays the default goal.
include $(wildcard mk/*.mk)
