# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-sanitize
EXAMPLE    ?= examples/spring-grade7
FUZZ_SECONDS ?= 60
INSTALL_DIR ?= build-install
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# Extra cmake options, e.g. CMAKE_OPTIONS=-DIRTEQ_REQUIRE_CASES=ON (CI sets it).
CMAKE_OPTIONS ?=
CONFIGURE   = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_OPTIONS)

.PHONY: all build run test validate test-sanitize bench bench-build fuzz fuzz-build example-library example-subproject prerequisites clean

all: build

prerequisites:
	@command -v cmake >/dev/null 2>&1 || { echo "cmake is missing. On Debian: apt-get install cmake g++"; exit 1; }
	@command -v g++ >/dev/null 2>&1 || { echo "g++ is missing. On Debian: apt-get install g++"; exit 1; }

# The program alone: needs only cmake, g++ and libcrypto.
build: | prerequisites
	$(CONFIGURE) -DIRTEQ_TESTS=OFF -DIRTEQ_BENCHMARKS=OFF
	cmake --build $(BUILD) -j $(JOBS) --target irteq

run: build
	cd $(EXAMPLE) && printf 'control.txt\n' | ../../$(BUILD)/irteq
	@echo
	@echo "The report is $(EXAMPLE)/report.txt"

# The tests and the program they run; the benchmarks are make bench's.
test: | prerequisites
	$(CONFIGURE) -DIRTEQ_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS) --target irteq irteq_tests
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# irteq against published linking constants and standard errors (validation/),
# through the console program and the library; fails on any value that
# does not agree. Needs only cmake and g++. See docs/validation.md.
validate: build
	cmake --build $(BUILD) -j $(JOBS) --target irteq_validate
	$(BUILD)/irteq_validate $(BUILD)/irteq validation/kb04 validation/est2pl validation/lsat7

# One build under AddressSanitizer and UndefinedBehaviorSanitizer for the tests
# and the fuzz targets: clang where it is installed (libFuzzer needs it), else
# g++ and the tests alone. -O1 -g1, as the sanitizers' own documentation
# suggests: reports keep their file and line, at half the build time of -O2 -g.
SANITIZE_CXX := $(if $(shell command -v clang++ 2>/dev/null),clang++,g++)
CONFIGURE_SANITIZE = cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_COMPILER=$(SANITIZE_CXX) -DIRTEQ_SANITIZE=ON \
  -DIRTEQ_FUZZ=$(if $(filter clang++,$(SANITIZE_CXX)),ON,OFF) -DIRTEQ_TESTS=ON -DIRTEQ_BENCHMARKS=OFF $(CMAKE_OPTIONS)

test-sanitize: | prerequisites
	$(CONFIGURE_SANITIZE)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: bench-build
	$(BUILD)/irteq_bench

bench-build: | prerequisites
	$(CONFIGURE) -DIRTEQ_BENCHMARKS=ON
	cmake --build $(BUILD) -j $(JOBS) --target irteq_bench

# The library installed into a prefix, and examples/library built against it
# with find_package(irteq), as an outside project would. Its run() writes
# the very CSV files batch mode writes, with standard errors, for the
# bundled example and for the linked one; their run.csv differ in time,
# front end and options, but name the same input files. The release build is
# make test's, so that it is compiled once.
example-library: | prerequisites
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target irteq irteq_library
	cmake --install $(BUILD) --prefix $(abspath $(INSTALL_DIR))/prefix
	cmake -S examples/library -B $(INSTALL_DIR)/example -DCMAKE_PREFIX_PATH=$(abspath $(INSTALL_DIR))/prefix
	cmake --build $(INSTALL_DIR)/example
	$(INSTALL_DIR)/example/equate_control_file $(EXAMPLE)/control.txt > $(INSTALL_DIR)/example/equivalents.txt
	for control in $(EXAMPLE)/control.txt examples/linked-grade7/control.txt; do \
	  rm -rf $(INSTALL_DIR)/example/library-csv $(INSTALL_DIR)/example/batch-csv && \
	  $(INSTALL_DIR)/example/equate_control_file $$control $(INSTALL_DIR)/example/library-csv 50 > /dev/null && \
	  $(INSTALL_DIR)/prefix/bin/irteq $$control --se --draws 50 --csv $(INSTALL_DIR)/example/batch-csv && \
	  diff -r -x run.csv $(INSTALL_DIR)/example/library-csv $(INSTALL_DIR)/example/batch-csv && \
	  grep '^input,' $(INSTALL_DIR)/example/library-csv/run.csv > $(INSTALL_DIR)/example/library-inputs && \
	  grep '^input,' $(INSTALL_DIR)/example/batch-csv/run.csv | diff $(INSTALL_DIR)/example/library-inputs - || exit 1; \
	done
	@echo "examples/library built against the installed library: $(INSTALL_DIR)/example/equivalents.txt;"
	@echo "its CSV files equal batch mode's for $(EXAMPLE) and examples/linked-grade7"

# irteq taken into another project, by add_subdirectory and by FetchContent, as
# if GoogleTest and Google Benchmark were not installed: configured only, which
# is where it would take or change the parent's flags or add its tests. (The
# library it would compile is the one make test and example-library build.)
example-subproject: | prerequisites
	for how in OFF ON; do \
	  cmake -S examples/subproject -B $(INSTALL_DIR)/subproject-$$how -DCMAKE_BUILD_TYPE=Release -DIRTEQ_FETCH=$$how \
	    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON > /dev/null || exit 1; \
	done
	@echo "examples/subproject takes irteq in with add_subdirectory and with FetchContent"

# libFuzzer targets (clang), in the sanitizers' build, each run for
# FUZZ_SECONDS from its stored corpus, JOBS at a time.
fuzz-build: | prerequisites
	@command -v clang++ >/dev/null 2>&1 || { echo "clang is missing. On Debian: apt-get install clang libclang-rt-dev"; exit 1; }
	$(CONFIGURE_SANITIZE)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

fuzz: fuzz-build
	FUZZ_JOBS=$(JOBS) fuzz/run_fuzzers $(ASAN_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(INSTALL_DIR)

# The R package's targets (r-install, r-check, r-bench).
-include r/r.mk

# The Python package's targets (py-install, py-test).
-include python/py.mk
