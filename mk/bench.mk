# `make bench`: builds the benchmarks in Release, runs them all under a
# private Xvfb, prints one table and writes it to bench/results.md.
# Takes about five minutes. `make bench BENCH_ONLY=drawing` runs one
# section of the table alone (several: comma-separated) and prints only its
# rows, leaving bench/results.md as it is; the sections are named in
# bench/run_bench.sh (`sections`), which lists them when given another name.
BENCH_BUILD_DIR ?= build-bench
BENCH_ONLY ?=

.PHONY: bench deps-bench

bench: deps-bench
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
		-DRAVURIRADOZ_BENCH=ON -DRAVURIRADOZ_TESTS=OFF
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	BENCH_ONLY='$(BENCH_ONLY)' ./bench/run_bench.sh $(BENCH_BUILD_DIR) bench/results.md

deps-bench:
	./scripts/install-deps.sh bench
