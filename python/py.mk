# The Python package in python/ (included by the top-level Makefile; run from the repository root).
#   make py-install   build the package into the virtual environment build-python/venv
#   make py-test      its tests, against the console program of make build
#   make py-bench     median time of equate() from Python on the largest run, beside the C++ library's,
#                     and its standard errors' time as multiples of it
# Debian's python3-numpy, python3-pandas, python3-pybind11 and python3-pytest serve /usr/bin/python3,
# which the environment takes through --system-site-packages; nothing is fetched.
PYTHON      ?= /usr/bin/python3
PY_BUILD    ?= build-python
PY_VENV      = $(PY_BUILD)/venv
PY_CASES_DIR ?= $(wildcard $(abspath ../shared/cases))

.PHONY: py-install py-test py-bench

py-install:
	@echo "Python: $(PYTHON) ($$($(PYTHON) --version 2>&1))"
	test -x $(PY_VENV)/bin/python || $(PYTHON) -m venv --system-site-packages $(PY_VENV)
	IRTEQ_CMAKE_BUILD_DIR=$(abspath $(PY_BUILD))/cmake CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) \
	  IRTEQ_CMAKE_OPTIONS="$(CMAKE_OPTIONS)" \
	  $(PY_VENV)/bin/python -m pip install --no-build-isolation --no-index --quiet ./python

py-test: build py-install
	cd $(PY_BUILD) && IRTEQ_BINARY=$(abspath $(BUILD))/irteq IRTEQ_CASES_DIR=$(PY_CASES_DIR) \
	  IRTEQ_SOURCE_DIR=$(abspath .) venv/bin/python -m pytest -q $(abspath python/tests)

# The C++ figure comes from r-bench's timer (r/bench/equate_timer.cpp) against the library on the same files;
# both run on one CPU, in turn.
PY_PIN = $(if $(shell command -v taskset),taskset -c 0)
py-bench: build py-install
	$(CXX) -std=c++20 -O3 -pthread -Iinclude r/bench/equate_timer.cpp \
	  -Wl,--start-group $(wildcard $(BUILD)/libirteq*.a) -Wl,--end-group -lcrypto -o $(PY_BUILD)/equate_timer
	$(PY_PIN) $(PY_VENV)/bin/python python/bench/bench_equate.py $(PY_BUILD)/bench $(PY_BUILD)/equate_timer
