# make run   installs what is missing, builds, starts the program
# make package  builds the Debian package
# make test  installs what is missing, builds, runs every test (plain and sanitized) and checks
#            that the Release configuration builds
JOBS  ?= $(shell nproc)
# The compiler cache (see CMakeLists.txt) takes paths relative to this
# checkout, so another clone of the same sources hits it too.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
BUILD ?= build
ASAN  ?= build-asan
RELEASE ?= build-release

.PHONY: all deps build run test test-plain test-asan test-release bench clean package

all: build

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	@./scripts/timed "build (plain)" cmake --build $(BUILD) -j $(JOBS)

# The programs alone: starting the program needs none of the tests.
run: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAMS)
	./$(BUILD)/bin/horalyn

test-plain: build
	@cd $(BUILD) && $(CURDIR)/scripts/timed "tests (plain)" ctest --output-on-failure -j $(JOBS)

$(ASAN)/CMakeCache.txt:
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DHRLN_SANITIZE=ON

test-asan: deps $(ASAN)/CMakeCache.txt
	@./scripts/timed "build (sanitizers)" cmake --build $(ASAN) -j $(JOBS)
	@cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  $(CURDIR)/scripts/timed "tests (sanitizers)" ctest --output-on-failure -j $(JOBS)

# Release (-O3) only has to build the programs: its tests would repeat the
# plain run, and building them too would double CI's time for no finding.
PROGRAMS = horalyn horalyn-cli hrlnmsg hrlnstart hrln_media

$(RELEASE)/CMakeCache.txt:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release

test-release: deps $(RELEASE)/CMakeCache.txt
	@./scripts/timed "build (release programs)" cmake --build $(RELEASE) -j $(JOBS) --target $(PROGRAMS)

test: test-plain test-asan test-release

# A benchmark that cannot run (it reports an error) fails the whole run.
bench: build
	@status=0; for b in $(BUILD)/bench/bench_*; do \
	  [ -x "$$b" ] || continue; \
	  "$$b" > $(BUILD)/bench-last.txt 2>&1; rc=$$?; cat $(BUILD)/bench-last.txt; \
	  if [ $$rc -ne 0 ] || grep -q "ERROR OCCURRED" $(BUILD)/bench-last.txt; then \
	    echo "$$b: a benchmark could not run" >&2; status=1; fi; \
	done; exit $$status

# The Debian package, in the build folder: horalyn_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN) $(RELEASE)
