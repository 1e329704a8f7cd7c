# Thin wrapper around CMake; see README.md.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build run test bench event clean

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
	$(BUILD)/zanti_bench_veranstaltung

clean:
	rm -rf $(BUILD)
