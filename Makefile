# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
# The whole program is built a second time with clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer and libFuzzer, and every test runs there too.
SAN   ?= build-san
# The engine and the workflow alone, configured where no Qt can be found: proof that they
# need none.
NOQT  ?= build-noqt
# The calculator as a web page, built by emscripten.
WEB   ?= build-web
# A finding stops the test program that meets it, a leak at its exit included; UBSan shows
# the stack. The build needs them as well: it runs the test programs to list their tests.
SAN_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
               UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# A minimal system sets no locale; every Debian has C.UTF-8, and both Chromium (a download's
# Cyrillic name) and CPack (the package's Cyrillic file names) need a UTF-8 one.
ifneq ($(shell locale charmap 2>/dev/null),UTF-8)
export LC_ALL := C.UTF-8
endif
# Warnings are errors in `make test`, for every build it makes; elsewhere a build keeps the
# setting it was configured with (off at first), so that a newer compiler's new warning
# never stops `make run`.
WERROR :=
test: WERROR := -DIZOL_WERROR=ON

.PHONY: deps build run test noqt san test-san test-app bench fuzz package clean web test-web

deps:
	@./scripts/install-deps.sh

# The configuration a distribution builds (GCC, -O3), so that `make test` proves it.
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(WERROR) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./scripts/run.sh $(BUILD)

noqt: deps
	@cmake -S . -B $(NOQT) -DIZOL_GUI=OFF -DIZOL_TESTS=OFF -DIZOL_BENCH=OFF \
	    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON $(WERROR) >/dev/null
	@cmake --build $(NOQT) -j $(JOBS) --target workflow reporttemplate

san: deps
	@cmake -S . -B $(SAN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DIZOL_GUI=ON -DIZOL_BENCH=OFF -DIZOL_SANITIZE=ON -DIZOL_FUZZ=ON $(WERROR) >/dev/null
	@$(SAN_OPTIONS) cmake --build $(SAN) -j $(JOBS)

test-san: san
	@$(SAN_OPTIONS) ctest --test-dir $(SAN) --output-on-failure -j $(JOBS)

test-app: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test: noqt test-san test-app test-web package

# The page folder build-web/izolcalc-web and its zip. Emscripten finds acorn among
# Debian's node modules, whichever node runs it.
web: deps
	@NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH)) emcmake cmake -S web -B $(WEB) \
	    -DCMAKE_BUILD_TYPE=Release $(WERROR) >/dev/null
	@NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH)) cmake --build $(WEB) -j $(JOBS)

# The page in headless Chromium, against the answers of the native workflow.
test-web: web build
	@./scripts/test-web.sh $(BUILD) $(WEB)

# Figures for closing notes; not part of `make test`.
bench: build web
	@./scripts/bench.sh $(BUILD) $(WEB)

# A longer fuzz run by hand, each target in turn with a corpus of its own that later runs
# start from: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := engine fields calculate import report schedule
fuzz: san
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p fuzz-corpus/$$t && \
	    $(SAN_OPTIONS) $(SAN)/bin/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        -artifact_prefix=fuzz-corpus/$$t- fuzz-corpus/$$t || exit 1; \
	done

# The Debian package, checked by lintian, appstreamcli and desktop-file-validate.
package: build
	@rm -f $(BUILD)/izolcalc_*.deb
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@./scripts/check-package.sh $(BUILD)/izolcalc_*.deb

clean:
	rm -rf $(BUILD) $(SAN) $(NOQT) $(WEB)
