# The R package in r/ (included by the top-level Makefile; run from the repository root).
#   make r-install   install the package from this checkout (R_LIBRARY=DIR to choose the library)
#   make r-dist      the source package build-r/irteq_VERSION.tar.gz, the library's sources inside:
#                    it installs with R CMD INSTALL on any machine with R, Rcpp and a C++20 compiler
#   make r-check     R CMD build, then R CMD check --no-manual; fails on any ERROR or WARNING
#   make r-bench     median time of equate() from R on the largest run, beside the C++ library's,
#                    and its standard errors' time as multiples of it
R_BUILD     ?= build-r
R_LIBRARY   ?=
# The generated cases the tests compare with the console program (skipped when absent).
R_CASES_DIR ?= $(wildcard $(abspath ../shared/cases))
R_PACKAGE_VERSION := $(shell sed -n 's/^Version: *//p' r/DESCRIPTION)
R_TARBALL    = $(R_BUILD)/irteq_$(R_PACKAGE_VERSION).tar.gz
# Offline: an empty local repository, so nothing asks CRAN for its index.
R_OFFLINE    = R_PROFILE_USER=$(abspath $(R_BUILD))/offline.Rprofile MAKEFLAGS=-j$(JOBS)

.PHONY: r-sync r-build r-dist r-install r-check r-bench

# The package compiles the core's own sources, kept up to date in r/src/core
# (git-ignored) by r/configure: only what changed is copied, so the objects of
# untouched sources stay and are not compiled again by the next target.
r-sync:
	cd r && ./configure

r-build: r-sync
	mkdir -p $(R_BUILD)/lib $(R_BUILD)/repository/src/contrib
	: > $(R_BUILD)/repository/src/contrib/PACKAGES
	echo 'options(repos = c(CRAN = "file://$(abspath $(R_BUILD))/repository"))' > $(R_BUILD)/offline.Rprofile
	rm -f $(R_BUILD)/irteq_*.tar.gz
	cd $(R_BUILD) && $(R_OFFLINE) R CMD build --no-manual --no-build-vignettes $(abspath r)

r-dist: r-build
	@echo "The source package is $(R_TARBALL)"

# Installed from the checkout's r/, where the objects stay between targets.
R_INSTALL_LOG = $(R_BUILD)/00install.out
r-install: r-build
	$(R_OFFLINE) R CMD INSTALL $(if $(R_LIBRARY),--library=$(R_LIBRARY)) r

# The check takes the package installed from r/ (its log, as R CMD check
# --install=check: expects), so its objects are not compiled a second time.
# mirt is only suggested (from_mirt() on a fitted model, and its test); the check runs without it.
r-check: build r-build
	rm -rf $(R_BUILD)/check-lib && mkdir -p $(R_BUILD)/check-lib
	$(R_OFFLINE) R CMD INSTALL --no-html --no-multiarch --library=$(R_BUILD)/check-lib r > $(R_INSTALL_LOG) 2>&1 || \
	  { cat $(R_INSTALL_LOG); exit 1; }
	@if grep -q 'warning:' $(R_INSTALL_LOG); then grep -B2 -A4 'warning:' $(R_INSTALL_LOG); \
	  echo "the R package compiled with warnings"; exit 1; fi
	cd $(R_BUILD) && $(R_OFFLINE) _R_CHECK_FORCE_SUGGESTS_=false IRTEQ_BINARY=$(abspath $(BUILD))/irteq IRTEQ_CASES_DIR=$(R_CASES_DIR) \
	  R CMD check --no-manual --install=check:$(abspath $(R_INSTALL_LOG)) --library=$(abspath $(R_BUILD))/check-lib \
	  $(notdir $(R_TARBALL))
	@if grep -Eq '^Status:.*(ERROR|WARNING)' $(R_BUILD)/irteq.Rcheck/00check.log; then \
	  echo "R CMD check: ERROR or WARNING, see $(R_BUILD)/irteq.Rcheck/00check.log"; exit 1; fi

# The C++ figure comes from a small timer against the library (r/bench/equate_timer.cpp) on the same
# files; both run on one CPU, in turn.
R_PIN = $(if $(shell command -v taskset),taskset -c 0)
r-bench: build r-build
	$(R_OFFLINE) R CMD INSTALL --library=$(R_BUILD)/lib r
	$(CXX) -std=c++20 -O3 -pthread -Iinclude r/bench/equate_timer.cpp \
	  -Wl,--start-group $(wildcard $(BUILD)/libirteq*.a) -Wl,--end-group -lcrypto -o $(R_BUILD)/equate_timer
	$(R_OFFLINE) R_LIBS=$(abspath $(R_BUILD))/lib $(R_PIN) Rscript r/bench/equate.R $(R_BUILD)/bench $(R_BUILD)/equate_timer
