# Longer runs of the hardening tests than `make test` gives them.
#   make fuzz [FUZZ_SECONDS=300]   the input fuzzer, then the paste fuzzer, each that
#                                  long; new inputs stay in $(BUILD_DIR)/tests/fuzz/corpus,
#                                  faults in .../crashes (the paste fuzzer's under .../paste)
#   make soak [SOAK_SECONDS=60]    random input in a real window under Xvfb
FUZZ_SECONDS ?= 300
SOAK_SECONDS ?= 60


.PHONY: fuzz soak

fuzz: deps-test build-tests
	sh tests/fuzz/run.sh build $(BUILD_DIR)/tests/fuzz
	sh tests/fuzz/run.sh fuzz $(BUILD_DIR)/tests/fuzz $(FUZZ_SECONDS) input
	sh tests/fuzz/run.sh fuzz $(BUILD_DIR)/tests/fuzz $(FUZZ_SECONDS) paste

soak: deps-test build-tests
	bash tests/soak/soak.sh $(BUILD_DIR)/ravuriradoz $(BUILD_DIR)/tests/e2e/xsend \
		$(BUILD_DIR)/tests/soak/libheap_count.so $(SOAK_SECONDS)

