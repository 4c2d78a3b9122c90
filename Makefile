# Kelu Editor Vetra: build, test, run and benchmark.
#
#   make test    install what is missing, build, run every test
#   make run     install what is missing, build, start the editor
#                (FILES="a.txt b.txt" opens files; ARGS="detect FILE" runs kelu-text)
#   make bench   build and run the benchmarks

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 30
GENERATOR  := -G Ninja

.PHONY: all deps configure build test test-main test-asan test-fuzz run bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	$(MAKE) test-main test-asan test-fuzz

test-main:
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	  -DKELU_CORE_ONLY=ON -DKELU_SANITIZE=ON -DKELU_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

$(FUZZ_BUILD)/build.ninja:
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELU_CORE_ONLY=ON -DKELU_FUZZ=ON \
	  -DKELU_TESTS=OFF -DKELU_BENCH=OFF -DKELU_FUZZ_SECONDS=$(FUZZ_SECONDS)

test-fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	ctest --test-dir $(FUZZ_BUILD) --output-on-failure

run: build
	@if [ -n "$(ARGS)" ]; then \
	  $(BUILD)/tools/kelu-text/kelu-text $(ARGS); \
	elif [ -x $(BUILD)/src/app/kelu-editor-vetra ]; then \
	  $(BUILD)/src/app/kelu-editor-vetra $(FILES); \
	elif [ -x $(BUILD)/tools/kelu-view/kelu-view ]; then \
	  $(BUILD)/tools/kelu-view/kelu-view $(FILES); \
	else \
	  echo 'The editor window is not built yet; try: make run ARGS="detect FILE"'; \
	fi

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -x "$$b" ] || continue; echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
