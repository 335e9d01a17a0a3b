# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
# The engine and the workflow are built a second time with clang, the sanitizers and
# libFuzzer, and without Qt, which also proves that they need none.
SAN   ?= build-san

.PHONY: deps build run test test-san test-app bench fuzz package clean

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./scripts/run.sh $(BUILD)

test-san: deps
	@cmake -S . -B $(SAN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DIZOL_GUI=OFF -DIZOL_BENCH=OFF -DIZOL_SANITIZE=ON -DIZOL_FUZZ=ON >/dev/null
	@cmake --build $(SAN) -j $(JOBS)
	@ctest --test-dir $(SAN) --output-on-failure -j $(JOBS)

test-app: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test: test-san test-app

# Figures for closing notes; not part of `make test`.
bench: build
	@./scripts/bench.sh $(BUILD)

# A longer fuzz run by hand, each target in turn with a corpus of its own that later runs
# start from: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := engine fields calculate
fuzz: test-san
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p fuzz-corpus/$$t && \
	    $(SAN)/bin/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        -artifact_prefix=fuzz-corpus/$$t- fuzz-corpus/$$t || exit 1; \
	done

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SAN)
