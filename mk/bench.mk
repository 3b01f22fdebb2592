# `make bench`: builds the benchmarks in Release, runs them all under a
# private Xvfb, prints one table and writes it to bench/results.md.
# Takes about seven minutes; the knobs of bench/run_bench.sh (BENCH_RUNS,
# BENCH_KEYS, BENCH_PASTES, BENCH_PASSES, BENCH_IDLE) pass through the
# environment.
BENCH_BUILD_DIR ?= build-bench

.PHONY: bench deps-bench

bench: deps-bench
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
		-DRAVURIRADOZ_BENCH=ON -DRAVURIRADOZ_TESTS=OFF
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	./bench/run_bench.sh $(BENCH_BUILD_DIR) bench/results.md

deps-bench:
	./scripts/install-deps.sh bench
