# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-sanitize
EXAMPLE    ?= examples/spring-grade7
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test test-sanitize bench prerequisites clean

all: build

prerequisites:
	@command -v cmake >/dev/null 2>&1 || { echo "cmake is missing. On Debian: apt-get install cmake g++"; exit 1; }
	@command -v g++ >/dev/null 2>&1 || { echo "g++ is missing. On Debian: apt-get install g++"; exit 1; }

$(BUILD)/Makefile: CMakeLists.txt | prerequisites
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(EXAMPLE) && printf 'control.txt\n' | ../../$(BUILD)/irteq
	@echo
	@echo "The report is $(EXAMPLE)/report.txt"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: | prerequisites
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIRTEQ_SANITIZE=ON -DIRTEQ_BENCHMARKS=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/irteq_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
