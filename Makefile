# Thin wrapper around CMake; see README.md.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# The makes that cmake --build starts say nothing about changing folders.
MAKEFLAGS += --no-print-directory

.PHONY: deps build run test bench sanitize deb event clean

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# The power-cut trials report their figures (crash_trials, crash_losses) here,
# and the sync trials theirs (sync_trials, sync_losses, sync_duplicates).
test: build
	@rm -f $(BUILD)/stromausfall.txt $(BUILD)/sync.txt
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS); \
	  status=$$?; cat stromausfall.txt sync.txt 2>/dev/null; exit $$status

# Two registers and a PostgreSQL of their own under build/event/; see README.
event: build
	@bash scripts/event.sh $(BUILD)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/zanti_bench

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build folder of its own; any finding fails its test. Not part of make test.
$(SANITIZE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANTI_SANITIZE=ON

sanitize: deps $(SANITIZE_BUILD)/CMakeCache.txt
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The Debian package zanti_VERSION_ARCH.deb in the build folder.
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
