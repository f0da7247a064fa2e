# The two commands of the README: `make run` and `make test`.
PROGRAM_DIR ?= $(HOME)/Talo
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build build-program install run test bench asan tsan clean

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_WARNINGS_AS_ERRORS=ON

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what the program directory needs: the program, the tool that makes its empty tables and
# the one that draws its icons.
build-program: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target talo talo-provision talo-icons

# Stripped: the family's folder gets the program, not its debugging information.
install: build-program
	cmake --install $(BUILD_DIR) --prefix "$(PROGRAM_DIR)" --strip
	./scripts/install-desktop.sh "$(PROGRAM_DIR)" "$(BUILD_DIR)"

# The checks come first: without a display the whole build would end in the toolkit's abort.
run:
	./scripts/run-checks.sh "$(PROGRAM_DIR)"
	$(MAKE) install
	cd "$(PROGRAM_DIR)" && ./talo

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/talo-bench
	$(BUILD_DIR)/bench/talo-bench-window
	$(BUILD_DIR)/bench/talo-bench-report
	$(BUILD_DIR)/bench/talo-bench-followup
	$(BUILD_DIR)/bench/talo-bench-matching
	$(BUILD_DIR)/bench/talo-bench-families
	$(BUILD_DIR)/bench/talo-bench-proofs

# The window tests and the end-to-end suite built with AddressSanitizer, in build-asan. Every
# report goes to build-asan/asan-logs, so that one from a program an end-to-end scenario ran
# (whose exit status the scenario may not see) fails the run as well. Leak detection is off:
# Qt and the libraries under it keep some allocations until exit.
ASAN_DIR ?= build-asan
asan: setup
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_WARNINGS_AS_ERRORS=ON \
	    -DTALO_SANITIZE=address
	cmake --build $(ASAN_DIR) -j $(JOBS)
	rm -rf $(ASAN_DIR)/asan-logs && mkdir -p $(ASAN_DIR)/asan-logs
	ASAN_OPTIONS=detect_leaks=0:log_path=$(abspath $(ASAN_DIR))/asan-logs/asan \
	    ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -L 'window|e2e'
	@if [ -n "$$(ls $(ASAN_DIR)/asan-logs)" ]; then \
	    cat $(ASAN_DIR)/asan-logs/*; echo "AddressSanitizer reports above"; exit 1; fi

# The tests where threads meet (the store's second read, the backup and restore, the statement's
# reading, the long work of the windows) built with ThreadSanitizer, in build-tsan. Qt itself is
# not instrumented: its own locks are described to the sanitizer by tests/tsan.supp.
TSAN_DIR ?= build-tsan
TSAN_LABELS ?= ^(store|recovery|import|safety|widgets)$$
tsan: setup
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_WARNINGS_AS_ERRORS=ON \
	    -DTALO_SANITIZE=thread
	cmake --build $(TSAN_DIR) -j $(JOBS) --target talo_tests_store talo_tests_recovery \
	    talo_tests_import talo_tests_safety talo_tests_widgets
	TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$(abspath tests/tsan.supp)" \
	    ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(JOBS) -L '$(TSAN_LABELS)'

clean:
	rm -rf $(BUILD_DIR)
